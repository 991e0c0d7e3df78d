// Wide-text helpers shared by every subsystem. All user-visible texts are wide strings;
// conversions to and from UTF-8 happen only at file and platform boundaries.
#pragma once

#include <string>
#include <string_view>

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

// printf-style completion of a language text with one text argument: the first "%s"
// takes the argument, "%%" gives "%", any further "%s" gives nothing. Other "%" runs stay
// as they are, so a translated text can never read a missing argument.
std::wstring FormatText(std::wstring_view format, std::wstring_view argument = {});

// Each character lower-cased on its own (no locale rules beyond the character itself).
std::wstring ToLowerUnits(std::wstring_view text);
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);
bool EqualsNoCaseAscii(std::string_view a, std::string_view b);
