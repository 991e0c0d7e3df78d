// The system's message texts for the error codes this program meets, in English and in
// Simplified Chinese, each ending with the line break FormatMessageW keeps.
//
// Threads: any thread; the table is constant.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

enum class MessageLanguage { English, Chinese };

// Known codes have their own text; other codes of the Win32 range a general one; codes
// beyond it (the system has no message for them) nothing.
std::optional<std::wstring> SystemErrorText(uint32_t code, MessageLanguage language);
