// Where things live on the simulated machine, as Windows paths. The machine is a 64-bit
// Windows 10 by default; the program on it is a 32-bit process.
#pragma once

#include <string>

#include "simulated/MachineState.h"

namespace machine_layout {

inline std::wstring Environment(const MachineSettings& settings) {
  return settings.x64 ? L"Windows x64" : L"Windows NT x86";
}

// What GetPrinterDriverDirectoryW reports; drivers of version 3 are installed into its
// sub-folder "3".
inline std::wstring DriverDirectory(const MachineSettings& settings) {
  return settings.x64 ? L"C:\\Windows\\System32\\spool\\drivers\\x64"
                      : L"C:\\Windows\\System32\\spool\\drivers\\W32X86";
}

inline std::wstring DriverVersionDirectory(const MachineSettings& settings, uint32_t version) {
  return DriverDirectory(settings) + L"\\" + std::to_wstring(version);
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

}  // namespace machine_layout
