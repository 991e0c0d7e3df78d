// The spooler's names of driver environments. A call that passes none gets the
// environment of the calling program: "Windows NT x86" for this 32-bit program, also on
// 64-bit Windows, where the spooler's own drivers are "Windows x64". So the calls that
// mean the system's drivers name the environment.
//
// Threads: any; constants only.
#pragma once

#include <string>

inline constexpr const wchar_t* kEnvironmentX86 = L"Windows NT x86";
inline constexpr const wchar_t* kEnvironmentX64 = L"Windows x64";

// The environment whose drivers a printer of this system uses.
inline std::wstring NativeDriverEnvironment(bool is64BitWindows) {
  return is64BitWindows ? kEnvironmentX64 : kEnvironmentX86;
}
