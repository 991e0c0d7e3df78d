#include <windows.h>

#include <string>

#include "base/WideText.h"
#include "shell/console/ConsoleStreams.h"

namespace {

// A console shows UTF-16 as it stands, whatever its code page; a file or pipe gets UTF-8,
// which is what deployment tools that collect the output read.
void Write(DWORD which, std::wstring_view text) {
  HANDLE handle = GetStdHandle(which);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE || text.empty()) return;
  DWORD mode = 0;
  DWORD written = 0;
  if (GetConsoleMode(handle, &mode)) {
    std::wstring lines;
    for (wchar_t c : text) {
      if (c == L'\n') lines += L'\r';
      lines += c;
    }
    WriteConsoleW(handle, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
    return;
  }
  const std::string utf8 = WideToUtf8(text);
  WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

}  // namespace

ConsoleStreams StandardStreams() {
  return {[](std::wstring_view text) { Write(STD_OUTPUT_HANDLE, text); },
          [](std::wstring_view text) { Write(STD_ERROR_HANDLE, text); }};
}
