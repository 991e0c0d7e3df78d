// What the spooler says, asked through its own API and not through product code, for the
// tests that drive the product from outside.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <optional>
#include <string>
#include <vector>

namespace exetest {

inline bool RunningUnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

inline bool RunsUnderWow64() {
  BOOL wow64 = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

// The driver environment of the system's own printers.
inline std::wstring SystemEnvironment() {
  SYSTEM_INFO info{};
  GetNativeSystemInfo(&info);
  if (info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64) return L"Windows x64";
  if (info.wProcessorArchitecture == 12) return L"Windows ARM64";  // PROCESSOR_ARCHITECTURE_ARM64
  return L"Windows NT x86";
}

struct PrinterView {
  std::wstring port;
  std::wstring driver;
  std::wstring dataType;
};

inline std::optional<PrinterView> ReadPrinter(const std::wstring& name) {
  HANDLE printer = nullptr;
  if (!OpenPrinterW(const_cast<wchar_t*>(name.c_str()), &printer, nullptr)) return std::nullopt;
  DWORD needed = 0;
  GetPrinterW(printer, 2, nullptr, 0, &needed);
  std::vector<BYTE> buffer(needed);
  std::optional<PrinterView> view;
  if (needed != 0 && GetPrinterW(printer, 2, buffer.data(), needed, &needed)) {
    const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
    const auto text = [](const wchar_t* t) { return std::wstring(t ? t : L""); };
    view = PrinterView{text(info->pPortName), text(info->pDriverName), text(info->pDatatype)};
  }
  ClosePrinter(printer);
  return view;
}

inline bool DriverInSystemEnvironment(const std::wstring& name) {
  std::wstring environment = SystemEnvironment();
  DWORD needed = 0;
  DWORD count = 0;
  EnumPrinterDriversW(nullptr, environment.data(), 1, nullptr, 0, &needed, &count);
  std::vector<BYTE> buffer(needed);
  if (needed == 0 || !EnumPrinterDriversW(nullptr, environment.data(), 1, buffer.data(), needed, &needed, &count)) {
    return false;
  }
  const auto* drivers = reinterpret_cast<const DRIVER_INFO_1W*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) {
    if (drivers[i].pName != nullptr && name == drivers[i].pName) return true;
  }
  return false;
}

inline std::wstring DefaultPrinterName() {
  DWORD size = 0;
  GetDefaultPrinterW(nullptr, &size);
  std::wstring name(size, L'\0');
  if (size == 0 || !GetDefaultPrinterW(name.data(), &size)) return {};
  name.resize(size > 0 ? size - 1 : 0);
  return name;
}

// The jobs in the printer's queue; 0 when it cannot be read.
inline size_t JobCount(const std::wstring& name) {
  HANDLE printer = nullptr;
  if (!OpenPrinterW(const_cast<wchar_t*>(name.c_str()), &printer, nullptr)) return 0;
  DWORD needed = 0;
  DWORD count = 0;
  EnumJobsW(printer, 0, 1000, 1, nullptr, 0, &needed, &count);
  std::vector<BYTE> buffer(needed);
  if (needed == 0 || !EnumJobsW(printer, 0, 1000, 1, buffer.data(), needed, &needed, &count)) count = 0;
  ClosePrinter(printer);
  return count;
}

inline void DeletePrinterNamed(const std::wstring& name) {
  PRINTER_DEFAULTSW access{nullptr, nullptr, PRINTER_ALL_ACCESS};
  HANDLE printer = nullptr;
  if (!OpenPrinterW(const_cast<wchar_t*>(name.c_str()), &printer, &access)) return;
  DeletePrinter(printer);
  ClosePrinter(printer);
}

// With no deletion flags, which Wine's spooler takes: the calling program's and the system's.
inline void DeleteDriverEverywhere(const std::wstring& name) {
  std::wstring environment = SystemEnvironment();
  DeletePrinterDriverExW(nullptr, nullptr, const_cast<wchar_t*>(name.c_str()), 0, 0);
  DeletePrinterDriverExW(nullptr, environment.data(), const_cast<wchar_t*>(name.c_str()), 0, 0);
}

}  // namespace exetest
