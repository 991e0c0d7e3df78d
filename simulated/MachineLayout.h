// Where things live on the simulated machine, as Windows paths. The machine is a 64-bit
// Windows 10 by default; the program on it is a 32-bit process.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/WideText.h"
#include "simulated/MachineState.h"

namespace machine_layout {

// The machine's own environment: the drivers its printers use.
inline std::wstring Environment(const MachineSettings& settings) {
  return settings.x64 ? L"Windows x64" : L"Windows NT x86";
}

// A spooler call without an environment means the calling program's: the program on
// this machine is 32-bit, on 64-bit Windows too. A name the machine does not know gives
// nothing (ERROR_INVALID_ENVIRONMENT). Names are compared without regard to case.
inline std::optional<std::wstring> ResolveEnvironment(std::wstring_view requested) {
  if (requested.empty()) return std::wstring(L"Windows NT x86");
  for (const wchar_t* known : {L"Windows NT x86", L"Windows x64"}) {
    if (EqualsNoCase(requested, known)) return std::wstring(known);
  }
  return std::nullopt;
}

inline std::wstring DriverDirectoryOf(std::wstring_view environment) {
  return EqualsNoCase(environment, L"Windows x64") ? L"C:\\Windows\\System32\\spool\\drivers\\x64"
                                                   : L"C:\\Windows\\System32\\spool\\drivers\\W32X86";
}

// The driver directory of the machine's own environment; drivers of version 3 are
// installed into its sub-folder "3".
inline std::wstring DriverDirectory(const MachineSettings& settings) {
  return DriverDirectoryOf(Environment(settings));
}

inline std::wstring DriverVersionDirectoryOf(std::wstring_view environment, uint32_t version) {
  return DriverDirectoryOf(environment) + L"\\" + std::to_wstring(version);
}

inline std::wstring DriverVersionDirectory(const MachineSettings& settings, uint32_t version) {
  return DriverVersionDirectoryOf(Environment(settings), version);
}

// The 32-bit program-files folder for a 32-bit process on 64-bit Windows.
inline std::wstring ProgramFiles(const MachineSettings& settings) {
  return settings.x64 ? L"C:\\Program Files (x86)" : L"C:\\Program Files";
}

inline const wchar_t* DriverStore() {
  return L"C:\\Windows\\System32\\DriverStore\\FileRepository";
}

// The INF decoration of the native architecture.
inline const wchar_t* InfDecoration(const MachineSettings& settings) {
  return settings.x64 ? L"NTamd64" : L"NTx86";
}

inline const wchar_t* ArchitectureTag(const MachineSettings& settings) {
  return settings.x64 ? L"amd64" : L"x86";
}

// The driver-store architecture of an environment.
inline const wchar_t* ArchitectureTagOf(std::wstring_view environment) {
  return EqualsNoCase(environment, L"Windows x64") ? L"amd64" : L"x86";
}

}  // namespace machine_layout
