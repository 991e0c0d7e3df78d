#include "shell/console/ConsoleDetection.h"

#include <algorithm>

#include "base/TextTable.h"
#include "base/WideText.h"
#include "engine/DriverModelRecord.h"
#include "engine/spooler/DriverEnvironment.h"
#include "engine/spooler/SpoolerOperations.h"
#include "shell/console/ConsoleListing.h"

namespace {

// The driver names that count: the model's, else both models'.
std::vector<std::wstring> WantedDrivers(const ConsoleOptions& options) {
  std::vector<std::wstring> names;
  for (const auto& record : BuildDriverModelRecords()) {
    const int model = record.modelCode == 0 ? 203 : 300;
    if (!options.model || *options.model == model) names.push_back(record.driverName);
  }
  return names;
}

bool Wanted(const std::vector<std::wstring>& names, const std::wstring& driver) {
  return std::any_of(names.begin(), names.end(), [&](const std::wstring& name) { return EqualsNoCase(name, driver); });
}

std::wstring Joined(const std::vector<std::wstring>& names, const wchar_t* separator) {
  std::wstring text;
  for (const auto& name : names) text += (text.empty() ? L"" : separator) + name;
  return text;
}

// The wanted drivers are missing for the system's printers: say whether they are there
// for the other environment only, which no printer of this system can use.
DetectionAbsent NoDriver(const std::vector<std::wstring>& wanted) {
  const std::wstring system = SystemDriverEnvironment();
  const std::wstring other = system == kEnvironmentX64 ? kEnvironmentX86 : kEnvironmentX64;
  std::vector<SpoolerEntry> drivers;
  ListDrivers(drivers, other);
  const bool elsewhere = std::any_of(drivers.begin(), drivers.end(),
                                     [&](const SpoolerEntry& driver) { return Wanted(wanted, driver.driverName); });
  std::wstring reason = FormatText(GetText(L"cli.detect.nodriver"), Joined(wanted, L" / "));
  if (elsewhere) reason += L" " + FormatText(GetText(L"cli.detect.otherenvironment"), other);
  return {reason};
}

}  // namespace

std::variant<DetectedInstallation, DetectionAbsent, MachineRefusal> DetectInstallation(const ConsoleOptions& options) {
  const std::vector<std::wstring> wanted = WantedDrivers(options);
  DetectedInstallation found;
  std::vector<SpoolerEntry> drivers;
  if (const SystemOutcome listed = ListDrivers(drivers, SystemDriverEnvironment()); !listed) {
    return UnansweredRefusal(L"cli.err.machinelists", listed.Error());
  }
  for (const auto& driver : drivers) {
    if (Wanted(wanted, driver.driverName)) found.drivers.push_back(driver);
  }
  if (found.drivers.empty()) return NoDriver(wanted);
  if (const SystemOutcome listed = ListPrinters(found.allPrinters, SystemDriverEnvironment()); !listed) {
    return UnansweredRefusal(L"cli.err.machinelists", listed.Error());
  }
  if (options.printers.empty()) return found;

  const std::wstring& name = options.printers.front();
  const auto printer = std::find_if(found.allPrinters.begin(), found.allPrinters.end(),
                                    [&](const SpoolerEntry& entry) { return EqualsNoCase(entry.printerName, name); });
  if (printer == found.allPrinters.end()) return DetectionAbsent{FormatText(GetText(L"cli.detect.noprinter"), name)};
  const auto driver = std::find_if(found.drivers.begin(), found.drivers.end(), [&](const SpoolerEntry& entry) {
    return EqualsNoCase(entry.driverName, printer->driverName);
  });
  if (driver == found.drivers.end()) {
    return DetectionAbsent{
        FormatText(GetText(L"cli.detect.otherdriver"), printer->printerName + L" (" + printer->driverName + L")")};
  }
  found.drivers = {*driver};
  found.printers = {*printer};
  return found;
}

std::wstring DescribeDetection(const DetectedInstallation& found) {
  std::vector<std::wstring> drivers;
  for (const auto& driver : found.drivers) drivers.push_back(driver.driverName);
  const std::wstring what = found.printers.empty()
                                ? Joined(drivers, L", ")
                                : found.printers.front().printerName + L" (" + drivers.front() + L")";
  return FormatText(GetText(L"cli.detect.found"), what) + L"\n";
}

std::wstring DetectionJson(const DetectedInstallation& found) {
  std::wstring text = L"{\"printer\": ";
  text += found.printers.empty() ? L"null" : FormatJsonObject(PrinterColumns(), PrinterCells(found.printers.front()));
  text += L",\n \"drivers\": [";
  for (size_t i = 0; i < found.drivers.size(); ++i) {
    text += i == 0 ? L"\n  " : L",\n  ";
    text += FormatJsonObject(DriverColumns(), DriverCells(found.drivers[i], found.allPrinters));
  }
  return text + L"]}\n";
}
