#include "base/SystemLibrary.h"

#include <windows.h>

namespace {

// Also in the header of Windows 8; looked up so that the program still starts on a
// Windows 7 without the update that brought it.
using SetDefaultDllDirectoriesCall = BOOL(WINAPI*)(DWORD);

}  // namespace

void RestrictLibrarySearch() {
  // kernel32 is always loaded, and always from the system.
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesCall>(
      reinterpret_cast<void (*)()>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (setDefault != nullptr) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
  SetDllDirectoryW(L"");
}

std::wstring SystemDirectoryFile(const std::wstring& name) {
  wchar_t folder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  std::wstring path(folder, length);
  if (path.back() != L'\\') path += L'\\';
  return path + name;
}

LibraryHandle LoadSystemLibrary(const wchar_t* name) {
  LibraryHandle library(LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
  // Without the search flags (Windows 7 without its update) the call refuses the flag;
  // the full path then names the same file.
  if (!library && GetLastError() == ERROR_INVALID_PARAMETER) {
    const std::wstring path = SystemDirectoryFile(name);
    if (!path.empty()) library = LibraryHandle(LoadLibraryExW(path.c_str(), nullptr, 0));
  }
  return library;
}
