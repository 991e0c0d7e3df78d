#include "engine/spooler/SpoolerOperations.h"

#include <map>

#include "base/WideText.h"
#include "base/WindowsErrorCodes.h"
#include "engine/spooler/DriverEnvironment.h"
#include "engine/spooler/SpoolerEnumeration.h"
#include "engine/spooler/SystemOperations.h"
#include "engine/spooler/TcpIpPortData.h"

namespace {

constexpr uint32_t kEnumLocalAndConnections = 0x06;
constexpr uint32_t kEnumLocalConnectionsNetwork = 0x46;

// Level 8 (with the INF path) exists from Windows Vista on; older systems get level 6.
bool DriverLevel8Available() {
  const auto version = GetWindowsVersion();
  return version && version->major > 5;
}

}  // namespace

std::wstring SystemDriverEnvironment() {
  return NativeDriverEnvironment(Is64BitWindows());
}

SystemOutcome ListPrinters(std::vector<SpoolerEntry>& list, const std::wstring& driverEnvironment) {
  list.clear();
  std::map<std::wstring, std::wstring> infPaths;
  if (DriverLevel8Available()) {
    if (auto drivers = EnumPrinterDriversAtLevel(8, driverEnvironment)) {
      // Equal names: the last one listed wins.
      for (auto& driver : *drivers) infPaths[driver.driverName] = std::move(driver.infPath);
    }
  }
  auto printers = EnumPrintersLevel2(kEnumLocalAndConnections);
  if (!printers) return printers.Outcome();
  const std::wstring defaultPrinter = DefaultPrinterName().ValueOr(L"");
  list.reserve(printers->size());
  for (auto& printer : *printers) {
    SpoolerEntry entry;
    if (auto it = infPaths.find(printer.driverName); it != infPaths.end()) entry.infPath = it->second;
    entry.isDefault = !defaultPrinter.empty() && EqualsNoCase(printer.printerName, defaultPrinter);
    entry.printerName = std::move(printer.printerName);
    entry.driverName = std::move(printer.driverName);
    entry.port = std::move(printer.portName);
    entry.environment = driverEnvironment;
    list.push_back(std::move(entry));
  }
  return {};
}

SystemOutcome ListDrivers(std::vector<SpoolerEntry>& list, const std::wstring& environment) {
  list.clear();
  const bool level8 = DriverLevel8Available();
  auto drivers = EnumPrinterDriversAtLevel(level8 ? 8 : 6, environment);
  if (!drivers) return drivers.Outcome();
  list.reserve(drivers->size());
  for (auto& driver : *drivers) {
    SpoolerEntry entry{L"", std::move(driver.driverName), level8 ? std::move(driver.infPath) : std::wstring(),
                       environment};
    entry.version = driver.version;
    entry.driverVersion = driver.driverVersion;
    list.push_back(std::move(entry));
  }
  return {};
}

SystemOutcome ListPorts(std::vector<SpoolerEntry>& list) {
  list.clear();
  auto ports = EnumPortsLevel2();
  if (!ports) return ports.Outcome();
  list.reserve(ports->size());
  for (auto& port : *ports) {
    SpoolerEntry entry{std::move(port.portName), std::move(port.description), std::move(port.monitorName)};
    entry.address = std::move(port.hostAddress);
    list.push_back(std::move(entry));
  }
  return {};
}

bool PortExists(const std::wstring& portName) {
  const auto ports = EnumPortsLevel2();
  if (!ports) return false;
  for (const auto& port : *ports) {
    if (port.portName == portName) return true;
  }
  return false;
}

bool PrinterNameExists(const std::wstring& printerName) {
  const auto printers = EnumPrintersLevel2(kEnumLocalConnectionsNetwork);
  if (!printers) return false;
  for (const auto& printer : *printers) {
    if (printer.printerName == printerName) return true;
  }
  return false;
}

bool DriverInstalled(const std::wstring& driverName, const std::wstring& environment) {
  const auto drivers = EnumPrinterDriversAtLevel(1, environment);
  if (!drivers) return false;
  for (const auto& driver : *drivers) {
    if (EqualsNoCase(driver.driverName, driverName)) return true;
  }
  return false;
}

SystemResult<std::wstring> GetDriverDirectory(const std::wstring& environment) {
  auto directory = PrinterDriverDirectory(environment);
  if (!directory) return directory.Outcome();
  return FormatText(L"%s\\", *directory);
}

SystemOutcome AddStandardTcpIpPort(const std::wstring& portName, const std::wstring& hostAddress) {
  const auto record = MakeTcpIpPortData(portName, hostAddress);
  if (!record) return SystemOutcome::Failure(kErrorInvalidParameter);
  // The call itself can succeed while the monitor refuses the port (for example one
  // that exists already); that status is the failure.
  return XcvAddPort(L"Standard TCP/IP Port", TcpIpPortDataBytes(*record));
}
