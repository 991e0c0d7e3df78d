#include <windows.h>

#include "engine/spooler/AnsiDirectoryCalls.h"

std::string ToAnsiCodePage(std::wstring_view text) {
  if (text.empty()) return {};
  const int size =
      WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string ansi(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), ansi.data(), size, nullptr, nullptr);
  return ansi;
}

std::optional<std::string> CurrentDirectoryAnsi() {
  const DWORD needed = GetCurrentDirectoryA(0, nullptr);
  if (needed == 0) return std::nullopt;
  std::string directory(needed, '\0');
  const DWORD length = GetCurrentDirectoryA(needed, directory.data());
  if (length == 0 || length >= needed) return std::nullopt;
  directory.resize(length);
  return directory;
}

AnsiPathKind AnsiPathKindOf(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return AnsiPathKind::Missing;
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? AnsiPathKind::Directory : AnsiPathKind::File;
}

uint32_t CreateDirectoryAnsi(const std::string& path) {
  if (CreateDirectoryA(path.c_str(), nullptr)) return ERROR_SUCCESS;
  return GetLastError();
}
