#include "ui/core/AttributeParsing.h"

#include <cwctype>

namespace ui {

namespace {

std::wstring_view Trim(std::wstring_view text) {
  while (!text.empty() && (text.front() == L' ' || text.front() == L'\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == L' ' || text.back() == L'\t')) text.remove_suffix(1);
  return text;
}

wchar_t LowerAscii(wchar_t c) {
  return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

std::optional<std::vector<int>> ParseInts(std::wstring_view value, size_t count) {
  std::vector<int> numbers;
  while (true) {
    const size_t comma = value.find(L',');
    auto number = ParseInt(value.substr(0, comma));
    if (!number) return std::nullopt;
    numbers.push_back(*number);
    if (comma == std::wstring_view::npos) break;
    value.remove_prefix(comma + 1);
  }
  if (numbers.size() != count) return std::nullopt;
  return numbers;
}

}  // namespace

bool NameEquals(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

std::optional<int> ParseInt(std::wstring_view value) {
  value = Trim(value);
  if (value.empty()) return std::nullopt;
  bool negative = false;
  if (value.front() == L'-' || value.front() == L'+') {
    negative = value.front() == L'-';
    value.remove_prefix(1);
  }
  if (value.empty() || value.size() > 9) return std::nullopt;
  int result = 0;
  for (wchar_t c : value) {
    if (c < L'0' || c > L'9') return std::nullopt;
    result = result * 10 + (c - L'0');
  }
  // Numbers of layouts are lengths, counts and ids; a larger one is a damaged file, and
  // taking it would overflow the scaling and the sums of the layout.
  if (result > kLargestNumber) return std::nullopt;
  return negative ? -result : result;
}

std::optional<bool> ParseBool(std::wstring_view value) {
  value = Trim(value);
  if (NameEquals(value, L"true") || value == L"1") return true;
  if (NameEquals(value, L"false") || value == L"0") return false;
  return std::nullopt;
}

std::optional<Argb> ParseColor(std::wstring_view value) {
  value = Trim(value);
  if (!value.empty() && value.front() == L'#') value.remove_prefix(1);
  if (value.size() > 2 && value[0] == L'0' && LowerAscii(value[1]) == L'x') value.remove_prefix(2);
  if (value.size() != 6 && value.size() != 8) return std::nullopt;
  Argb color = 0;
  for (wchar_t c : value) {
    const wchar_t l = LowerAscii(c);
    int digit;
    if (l >= L'0' && l <= L'9') {
      digit = l - L'0';
    } else if (l >= L'a' && l <= L'f') {
      digit = l - L'a' + 10;
    } else {
      return std::nullopt;
    }
    color = (color << 4) | static_cast<Argb>(digit);
  }
  if (value.size() == 6) color |= 0xFF000000u;
  return color;
}

std::optional<Size> ParseSize(std::wstring_view value) {
  auto numbers = ParseInts(value, 2);
  if (!numbers) return std::nullopt;
  return Size{(*numbers)[0], (*numbers)[1]};
}

std::optional<Rect> ParseRect(std::wstring_view value) {
  auto numbers = ParseInts(value, 4);
  if (!numbers) return std::nullopt;
  return Rect{(*numbers)[0], (*numbers)[1], (*numbers)[2], (*numbers)[3]};
}

std::optional<AttributeList> ParseAttributeList(std::wstring_view text) {
  AttributeList list;
  size_t i = 0;
  auto skipBlanks = [&] {
    while (i < text.size() && std::iswspace(static_cast<wint_t>(text[i]))) ++i;
  };
  while (true) {
    skipBlanks();
    if (i >= text.size()) break;
    const size_t nameStart = i;
    while (i < text.size() && text[i] != L'=' && !std::iswspace(static_cast<wint_t>(text[i]))) ++i;
    const std::wstring_view name = text.substr(nameStart, i - nameStart);
    skipBlanks();
    if (name.empty() || i >= text.size() || text[i] != L'=') return std::nullopt;
    ++i;
    skipBlanks();
    if (i >= text.size() || (text[i] != L'"' && text[i] != L'\'')) return std::nullopt;
    const wchar_t quote = text[i++];
    const size_t end = text.find(quote, i);
    if (end == std::wstring_view::npos) return std::nullopt;
    list.emplace_back(std::wstring(name), std::wstring(text.substr(i, end - i)));
    i = end + 1;
  }
  return list;
}

}  // namespace ui

#include <cstdio>

namespace ui {

void ReportSkinProblem(std::string_view where, std::string_view what) {
  std::fprintf(stderr, "quorvel-ui: %.*s: %.*s\n", static_cast<int>(where.size()), where.data(),
               static_cast<int>(what.size()), what.data());
}

}  // namespace ui
