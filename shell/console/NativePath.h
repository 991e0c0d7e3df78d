// A path the user typed (an answer file, a log file) as the file system takes it: UTF-16 on
// Windows, UTF-8 bytes on Linux.
//
// Threads: any; no state.
#pragma once

#include <filesystem>
#include <string>

#include "base/WideText.h"

inline std::filesystem::path NativePath(const std::wstring& path) {
#ifdef _WIN32
  return std::filesystem::path(path);
#else
  return std::filesystem::path(WideToUtf8(path));
#endif
}

// A path as the messages show it.
inline std::wstring PathText(const std::filesystem::path& path) {
#ifdef _WIN32
  return path.wstring();
#else
  return Utf8ToWide(path.string());
#endif
}
