#include <windows.h>
#include <winspool.h>

#include "base/SystemLibrary.h"
#include "base/UniqueWin32Handle.h"
#include "base/WindowsErrorCodes.h"
#include "engine/spooler/SpoolerOperations.h"
#include "engine/spooler/SystemOperations.h"

namespace {

constexpr DWORD kAllPrinterAccess = 0xF000C;
constexpr DWORD kServerAdministration = 1;
constexpr DWORD kCopyAllFiles = 4;
constexpr DWORD kDeleteUnusedFilesSpecificVersion = 3;
constexpr DWORD kDriverVersion3 = 3;
constexpr DWORD kXcvOutputSize = 260;

// The spooler's structures take non-const texts it does not change.
wchar_t* Text(const std::wstring& text) {
  return const_cast<wchar_t*>(text.c_str());
}
wchar_t* TextOrNull(const std::wstring& text) {
  return text.empty() ? nullptr : Text(text);
}

PrinterHandle OpenPrinterWithAccess(const std::wstring& name, DWORD access) {
  PRINTER_DEFAULTSW defaults{};
  defaults.pDatatype = nullptr;
  defaults.pDevMode = nullptr;
  defaults.DesiredAccess = access;
  PrinterHandle printer;
  if (!OpenPrinterW(Text(name), printer.Receive(), &defaults)) return PrinterHandle();
  return printer;
}

// The error of the call that just failed; a failure that left no error still is one.
SystemOutcome LastFailure() {
  return SystemOutcome::Failure(GetLastError());
}

}  // namespace

SystemOutcome XcvAddPort(const std::wstring& monitorName, std::span<const uint8_t> portData) {
  PrinterHandle monitor = OpenPrinterWithAccess(L",XcvMonitor " + monitorName, kServerAdministration);
  if (!monitor) return LastFailure();
  std::vector<BYTE> output(kXcvOutputSize);
  DWORD needed = 0;
  DWORD status = 0;
  if (!XcvDataW(monitor.Get(), L"AddPort", const_cast<BYTE*>(portData.data()), static_cast<DWORD>(portData.size()),
                output.data(), kXcvOutputSize, &needed, &status)) {
    return LastFailure();
  }
  return SystemOutcome::OfCode(status);
}

bool AddPortThroughMonitor(const std::wstring& monitorName, ui::WindowHandle owner, std::wstring& errorText) {
  if (AddPortW(nullptr, owner, Text(monitorName))) return true;
  errorText = FormatSystemError(GetLastError());
  return false;
}

bool DeletePortByName(const std::wstring& portName, ui::WindowHandle owner, std::wstring& errorText) {
  if (DeletePortW(nullptr, owner, Text(portName))) return true;
  errorText = FormatSystemError(GetLastError());
  return false;
}

SystemOutcome ConfigurePortByName(const std::wstring& portName, ui::WindowHandle owner) {
  if (!ConfigurePortW(nullptr, owner, Text(portName))) return LastFailure();
  return {};
}

SystemOutcome DeletePrinterByName(const std::wstring& printerName) {
  PrinterHandle printer = OpenPrinterWithAccess(printerName, kAllPrinterAccess);
  if (!printer) return LastFailure();
  if (!DeletePrinter(printer.Get())) return LastFailure();
  return {};
}

SystemOutcome AddPrinterDriverLevel6(const PrinterDriverRecord& driver) {
  DRIVER_INFO_6W info{};
  info.cVersion = driver.version;
  info.pName = Text(driver.driverName);
  info.pEnvironment = TextOrNull(driver.environment);
  info.pDriverPath = Text(driver.driverFile);
  info.pDataFile = Text(driver.dataFile);
  info.pConfigFile = Text(driver.configurationFile);
  info.pHelpFile = Text(driver.helpFile);
  info.pDependentFiles = TextOrNull(driver.dependentFiles);
  info.pMonitorName = nullptr;
  info.pDefaultDataType = nullptr;
  info.pszzPreviousNames = nullptr;
  info.ftDriverDate = FILETIME{};
  info.dwlDriverVersion = driver.driverVersion;
  info.pszMfgName = Text(driver.manufacturer);
  info.pszOEMUrl = nullptr;
  info.pszHardwareID = nullptr;
  info.pszProvider = Text(driver.provider);
  if (!AddPrinterDriverExW(nullptr, 6, reinterpret_cast<LPBYTE>(&info), kCopyAllFiles)) {
    return LastFailure();
  }
  return {};
}

SystemOutcome AddPrinterLevel2(const PrinterRecord& printer) {
  PRINTER_INFO_2W info{};
  info.pPrinterName = Text(printer.printerName);
  info.pPortName = Text(printer.portName);
  info.pDriverName = Text(printer.driverName);
  info.pPrintProcessor = Text(printer.printProcessor);
  info.pDatatype = TextOrNull(printer.dataType);
  info.Attributes = printer.attributes;
  PrinterHandle added(AddPrinterW(nullptr, 2, reinterpret_cast<LPBYTE>(&info)));
  if (!added) return LastFailure();
  return {};
}

SystemOutcome SetDefaultPrinterByName(const std::wstring& printerName) {
  const LibraryHandle winspool = LoadSystemLibrary(L"winspool.drv");
  if (!winspool) return LastFailure();
  using Setter = BOOL(WINAPI*)(LPCWSTR);
  // The spooler library exports its default-printer setter as ordinal 204.
  const auto setter =
      reinterpret_cast<Setter>(reinterpret_cast<void (*)()>(GetProcAddress(winspool.Get(), MAKEINTRESOURCEA(204))));
  if (setter == nullptr) return LastFailure();
  if (!setter(printerName.c_str())) return LastFailure();
  return {};
}

SystemOutcome DeletePrinterDriverVersion3(const std::wstring& driverName, const std::wstring& environment) {
  if (!DeletePrinterDriverExW(nullptr, TextOrNull(environment), Text(driverName), kDeleteUnusedFilesSpecificVersion,
                              kDriverVersion3)) {
    return LastFailure();
  }
  return {};
}

PackageDeletionResult DeletePrinterDriverPackageByInf(const std::wstring& infPath, const std::wstring& environment) {
  const LibraryHandle winspool = LoadSystemLibrary(L"winspool.drv");
  if (!winspool) return {PackageDeletion::Unavailable, {}};
  using Deleter = HRESULT(WINAPI*)(LPCWSTR, LPCWSTR, LPCWSTR);
  const auto deleter = reinterpret_cast<Deleter>(
      reinterpret_cast<void (*)()>(GetProcAddress(winspool.Get(), "DeletePrinterDriverPackageW")));
  if (deleter == nullptr) return {PackageDeletion::Unavailable, {}};
  SetLastError(ERROR_SUCCESS);
  const HRESULT result = deleter(nullptr, infPath.c_str(), environment.empty() ? nullptr : environment.c_str());
  if (result == S_OK) return {};
  // The call reports through its result; a failure must not read as "completed successfully".
  DWORD error = GetLastError();
  if (error == ERROR_SUCCESS) {
    error = HRESULT_FACILITY(result) == FACILITY_WIN32 ? HRESULT_CODE(result) : static_cast<DWORD>(result);
  }
  return {PackageDeletion::Failed, SystemOutcome::Failure(error)};
}
