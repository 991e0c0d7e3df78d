#include "devices/RemovalTestSpooler.h"

#include <cstdint>
#include <cwctype>
#include <vector>

#include "engine/spooler/DriverEnvironment.h"
#include "engine/spooler/FileOperations.h"
#include "engine/spooler/SpoolerOperations.h"

namespace {

bool Listed(bool printers, const std::wstring& name) {
  std::vector<SpoolerEntry> entries;
  if (printers) {
    ListPrinters(entries, SystemDriverEnvironment());
  } else {
    ListDrivers(entries, SystemDriverEnvironment());
  }
  for (const auto& entry : entries) {
    if ((printers ? entry.printerName : entry.driverName) == name) return true;
  }
  return false;
}

}  // namespace

bool InstallTestDriver(const std::wstring& driverName) {
  // The system's own environment, which its printers use on Windows, and the calling
  // program's, where Wine's 32-bit spooler looks for a printer's driver instead.
  std::vector<std::wstring> environments = {SystemDriverEnvironment()};
  if (environments[0] != kEnvironmentX86) environments.push_back(L"");
  // Files of their own, so deleting one driver's files leaves the others'.
  std::wstring stem;
  for (wchar_t c : driverName) stem += std::iswalnum(static_cast<wint_t>(c)) ? c : L'_';
  for (const auto& environment : environments) {
    const std::wstring folder = GetDriverDirectory(environment).ValueOr(L"");
    if (folder.empty()) return false;
    PrinterDriverRecord driver;
    driver.driverName = driverName;
    driver.environment = environment;
    driver.driverFile = stem + L"_drv.dll";
    driver.dataFile = stem + L".gpd";
    driver.configurationFile = stem + L"_ui.dll";
    const std::vector<uint8_t> bytes = {'M', 'Z', 0, 0};
    for (const auto* file : {&driver.driverFile, &driver.dataFile, &driver.configurationFile}) {
      if (!WriteWholeFile(folder + *file, bytes)) return false;
    }
    if (!AddPrinterDriverLevel6(driver)) return false;
  }
  return true;
}

bool PrinterListed(const std::wstring& printerName) {
  return Listed(true, printerName);
}

bool DriverListed(const std::wstring& driverName) {
  return Listed(false, driverName);
}
