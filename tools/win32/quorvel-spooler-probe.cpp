// Runs the spooler paths whose answers depend on the program being 32-bit, on one thread,
// and prints what the system said: the WOW64 answers, the driver directories, the layout
// of the spooler records, a driver registered as the installation does it, a printer on
// a local port made the default through ordinal 204 and read back, then both deleted.
//
//   quorvel-spooler-probe.exe [port]   (default COM1:)
#include <windows.h>
#include <winspool.h>

#include <cstddef>
#include <cstdio>
#include <string>

#include "base/WideText.h"
#include "engine/DriverModelRecord.h"
#include "engine/SpoolerMethod.h"
#include "engine/spooler/DriverEnvironment.h"
#include "engine/spooler/ShellCommands.h"
#include "engine/spooler/SpoolerOperations.h"
#include "engine/spooler/SystemOperations.h"
#include "shell/EmbeddedPackage.h"
#include "ui/core/ResourceManager.h"

namespace {

const std::wstring kDriver = L"Quorvel probe driver";
const std::wstring kPrinter = L"Quorvel probe printer";

std::string Text(const std::wstring& text) {
  return WideToUtf8(text);
}

void Report(const char* what, bool ok, DWORD error) {
  std::printf("%-44s %s", what, ok ? "ok" : "FAILED");
  if (!ok) std::printf(" (error %lu)", static_cast<unsigned long>(error));
  std::printf("\n");
}

std::wstring DefaultPrinter() {
  DWORD size = 0;
  GetDefaultPrinterW(nullptr, &size);
  std::wstring name(size, L'\0');
  if (size == 0 || !GetDefaultPrinterW(name.data(), &size)) return L"";
  name.resize(size > 0 ? size - 1 : 0);
  return name;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring port = argc > 1 ? argv[1] : L"COM1:";
  ui::ResourceManager::Instance().SetPackage(OpenEmbeddedPackage());

  std::printf("pointer size                                 %u bits\n", static_cast<unsigned>(sizeof(void*) * 8));
  std::printf("Is64BitWindows (IsWow64Process)              %s\n", Is64BitWindows() ? "true" : "false");
  std::printf("program files (0x26)                         %s\n", Text(ProgramFilesFolder().value_or(L"-")).c_str());
  std::printf("driver directory, no environment             %s\n", Text(GetDriverDirectory().ValueOr(L"-")).c_str());
  std::printf("driver directory, \"Windows NT x86\"           %s\n",
              Text(GetDriverDirectory(kEnvironmentX86).ValueOr(L"-")).c_str());
  std::printf("driver directory, \"Windows x64\"              %s\n",
              Text(GetDriverDirectory(kEnvironmentX64).ValueOr(L"-")).c_str());
  std::printf("DRIVER_INFO_6W size, dwlDriverVersion at     %u, %u\n", static_cast<unsigned>(sizeof(DRIVER_INFO_6W)),
              static_cast<unsigned>(offsetof(DRIVER_INFO_6W, dwlDriverVersion)));
  std::printf("PRINTER_INFO_2W size                         %u\n", static_cast<unsigned>(sizeof(PRINTER_INFO_2W)));

  const std::wstring environment = NativeDriverEnvironment(Is64BitWindows());
  std::printf("environment of the installation              %s\n", Text(environment).c_str());
  DriverModelRecord model = BuildDriverModelRecords()[0];
  model.driverName = kDriver;
  DependentFileList files;
  const auto directory = GetDriverDirectory(environment);
  const auto failures = CopySpoolerFiles(SpoolerFileList(model, Is64BitWindows()), directory.ValueOr(L""), files);
  Report("copy of the four driver files", failures.empty() && directory.Succeeded(),
         !directory         ? directory.Error()
         : failures.empty() ? 0
                            : failures.front().error);
  const SystemOutcome registered = AddPrinterDriverLevel6(DriverRegistration(model, environment, files));
  Report("AddPrinterDriverExW level 6, copy flag 4", registered.Succeeded(), registered.Error());
  std::printf("DriverInstalled, installation's environment  %s\n",
              DriverInstalled(kDriver, environment) ? "true" : "false");
  std::printf("DriverInstalled, no environment              %s\n", DriverInstalled(kDriver) ? "true" : "false");

  DeletePrinterByName(kPrinter);
  PrinterRecord printer;
  printer.printerName = kPrinter;
  printer.portName = port;
  printer.driverName = kDriver;
  SystemOutcome added = AddPrinterLevel2(printer);
  Report(("AddPrinterW level 2 on " + Text(port)).c_str(), added.Succeeded(), added.Error());
  if (added.Error() == 1797 && environment != kEnvironmentX86) {
    // Windows gives a printer the driver of the system's environment. Where the spooler
    // looks among the caller's (x86) drivers instead, the 32-bit files are registered
    // there too, to go on with the rest of the paths.
    DependentFileList x86Files;
    CopySpoolerFiles(SpoolerFileList(model, false), GetDriverDirectory(kEnvironmentX86).ValueOr(L""), x86Files);
    const SystemOutcome x86 = AddPrinterDriverLevel6(DriverRegistration(model, kEnvironmentX86, x86Files));
    Report("AddPrinterDriverExW for \"Windows NT x86\" too", x86.Succeeded(), x86.Error());
    added = AddPrinterLevel2(printer);
    Report(("AddPrinterW level 2 on " + Text(port) + ", again").c_str(), added.Succeeded(), added.Error());
  }
  if (added.Error() == 1801) {
    // A spooler that wants a data type (Windows takes RAW) may have written the printer's
    // key all the same; with the data type the half-made printer opens and can go.
    HKEY key = nullptr;
    const std::wstring path = L"System\\CurrentControlSet\\Control\\Print\\Printers\\" + kPrinter;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
      static const wchar_t kRaw[] = L"RAW";
      RegSetValueExW(key, L"Datatype", 0, REG_SZ, reinterpret_cast<const BYTE*>(kRaw), sizeof kRaw);
      RegCloseKey(key);
      std::printf("half-made printer given the data type RAW\n");
    }
  }
  const std::wstring before = DefaultPrinter();
  const SystemOutcome madeDefault = SetDefaultPrinterByName(kPrinter);
  Report("default-printer setter, ordinal 204", madeDefault.Succeeded(), madeDefault.Error());
  std::printf("default printer read back                    %s\n", Text(DefaultPrinter()).c_str());
  std::printf("printer listed                               %s\n", PrinterNameExists(kPrinter) ? "true" : "false");

  const SystemOutcome deleted = DeletePrinterByName(kPrinter);
  Report("DeletePrinter", deleted.Succeeded(), deleted.Error());
  if (!before.empty() && before != kPrinter) SetDefaultPrinterByName(before);
  const SystemOutcome driverDeleted = DeletePrinterDriverVersion3(kDriver, environment);
  Report("DeletePrinterDriverExW flags 3, version 3", driverDeleted.Succeeded(), driverDeleted.Error());
  if (!driverDeleted) {
    // Wine takes no delete flags; the registration alone goes with flags 0.
    const bool plain = DeletePrinterDriverExW(nullptr, const_cast<wchar_t*>(environment.c_str()),
                                              const_cast<wchar_t*>(kDriver.c_str()), 0, 0) != FALSE;
    Report("DeletePrinterDriverExW flags 0", plain, GetLastError());
  }
  DeletePrinterDriverExW(nullptr, const_cast<wchar_t*>(kEnvironmentX86), const_cast<wchar_t*>(kDriver.c_str()), 0, 0);
  std::printf("driver still installed                       %s\n",
              DriverInstalled(kDriver, environment) ? "true" : "false");
  return registered && added && madeDefault && deleted ? 0 : 1;
}
