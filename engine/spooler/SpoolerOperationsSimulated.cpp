#include "engine/spooler/SpoolerOperations.h"
#include "engine/spooler/SystemOperations.h"
#include "simulated/SimulatedLastError.h"
#include "simulated/SimulatedMachine.h"

namespace {

constexpr uint32_t kDeleteUnusedFilesSpecificVersion = 3;
constexpr uint32_t kDriverVersion3 = 3;

// "name\0name\0\0" as a list of names.
std::vector<std::wstring> SplitNulList(const std::wstring& list) {
  std::vector<std::wstring> names;
  size_t start = 0;
  while (start < list.size()) {
    const size_t end = list.find(L'\0', start);
    const std::wstring name = list.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
    if (name.empty()) break;
    names.push_back(name);
    if (end == std::wstring::npos) break;
    start = end + 1;
  }
  return names;
}

}  // namespace

SystemOutcome XcvAddPort(const std::wstring& monitorName, std::span<const uint8_t> portData) {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine) return SimulatedFailure();
  return SystemOutcome::OfCode(
      machine->XcvAddPort(monitorName, std::vector<uint8_t>(portData.begin(), portData.end())));
}

bool AddPortThroughMonitor(const std::wstring& monitorName, ui::WindowHandle owner, std::wstring& errorText) {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (machine && machine->AddPortDialog(monitorName, owner)) return true;
  errorText = FormatSystemError(SimulatedFailure().Error());
  return false;
}

bool DeletePortByName(const std::wstring& portName, ui::WindowHandle /*owner*/, std::wstring& errorText) {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (machine && machine->DeletePort(portName)) return true;
  errorText = FormatSystemError(SimulatedFailure().Error());
  return false;
}

SystemOutcome ConfigurePortByName(const std::wstring& portName, ui::WindowHandle owner) {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine || !machine->ConfigurePortDialog(portName, owner)) return SimulatedFailure();
  return {};
}

SystemOutcome DeletePrinterByName(const std::wstring& printerName) {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine) return SimulatedFailure();
  return SystemOutcome::OfCode(machine->OpenAndDeletePrinter(printerName));
}

SystemOutcome AddPrinterDriverLevel6(const PrinterDriverRecord& driver) {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine) return SimulatedFailure();
  SimulatedDriver added;
  added.name = driver.driverName;
  added.environment = driver.environment;  // empty: the machine takes the caller's
  added.version = driver.version;
  added.driverFile = driver.driverFile;
  added.dataFile = driver.dataFile;
  added.configFile = driver.configurationFile;
  added.helpFile = driver.helpFile;
  added.dependentFiles = SplitNulList(driver.dependentFiles);
  added.manufacturer = driver.manufacturer;
  added.provider = driver.provider;
  added.driverVersion = driver.driverVersion;
  if (!machine->AddPrinterDriver(std::move(added))) return SimulatedFailure();
  return {};
}

SystemOutcome AddPrinterLevel2(const PrinterRecord& printer) {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine || !machine->AddPrinter({printer.printerName,
                                        printer.driverName,
                                        printer.portName,
                                        printer.printProcessor,
                                        printer.attributes,
                                        {}})) {
    return SimulatedFailure();
  }
  return {};
}

SystemOutcome SetDefaultPrinterByName(const std::wstring& printerName) {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine || !machine->SetDefaultPrinter(printerName)) return SimulatedFailure();
  return {};
}

SystemOutcome DeletePrinterDriverVersion3(const std::wstring& driverName, const std::wstring& environment) {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine ||
      !machine->DeletePrinterDriver(driverName, kDeleteUnusedFilesSpecificVersion, kDriverVersion3, environment)) {
    return SimulatedFailure();
  }
  return {};
}

PackageDeletionResult DeletePrinterDriverPackageByInf(const std::wstring& infPath, const std::wstring& environment) {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine) return {PackageDeletion::Failed, SimulatedFailure()};
  // The call came with Windows Vista; older spoolers do not export it.
  const auto version = machine->GetVersion();
  if (version && version->major < 6) return {PackageDeletion::Unavailable, {}};
  if (!machine->DeletePrinterDriverPackage(infPath, environment)) return {PackageDeletion::Failed, SimulatedFailure()};
  return {};
}
