// SimulatedMachine: the spooler and its port monitors.
#include "simulated/SimulatedMachine.h"

#include <cwchar>

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "base/WideText.h"
#include "base/WindowsErrorCodes.h"
#include "simulated/CertUtilTool.h"
#include "simulated/FreshMachineState.h"
#include "simulated/MachineLayout.h"
#include "simulated/MachineStateFile.h"
#include "simulated/PortMonitorDialog.h"
#include "simulated/PrintUiApplet.h"
#include "simulated/SimulatedLastError.h"
#include "simulated/SystemErrorTexts.h"
#include "simulated/TcpIpPortRecord.h"

namespace {

constexpr uint32_t kEnumLocal = 0x02;
constexpr uint32_t kEnumConnections = 0x04;

// Leaves the code as the last error and returns it.
uint32_t Failure(uint32_t code) {
  SetSimulatedLastError(code);
  return code;
}

}  // namespace

std::optional<std::vector<SimulatedPrinter>> SimulatedMachine::EnumPrinters(uint32_t flags) {
  std::lock_guard guard(lock_);
  if (Faulted("EnumPrintersW")) return std::nullopt;
  std::vector<SimulatedPrinter> printers;
  // Every printer of this machine is local; connections to shared printers are none.
  if (!(flags & (kEnumLocal | kEnumConnections))) return printers;
  printers.reserve(state_.printers.size());
  for (const auto& [key, printer] : state_.printers) printers.push_back(printer);
  return printers;
}

std::optional<std::vector<SimulatedDriver>> SimulatedMachine::EnumPrinterDrivers(uint32_t level,
                                                                                 std::wstring_view requested) {
  std::lock_guard guard(lock_);
  if (Faulted("EnumPrinterDriversW")) return std::nullopt;
  const bool known = (level >= 1 && level <= 6) || level == 8;
  // Level 8 came with Windows Vista.
  if (!known || (level == 8 && state_.settings.majorVersion < 6)) {
    SetSimulatedLastError(kErrorInvalidLevel);
    return std::nullopt;
  }
  const auto environment = machine_layout::ResolveEnvironment(requested);
  if (!environment) {
    SetSimulatedLastError(kErrorInvalidEnvironment);
    return std::nullopt;
  }
  std::vector<SimulatedDriver> drivers;
  for (const auto& [key, driver] : state_.drivers) {
    if (!EqualsNoCase(driver.environment, *environment)) continue;
    drivers.push_back(driver);
    if (level != 8) drivers.back().infPath.clear();
  }
  return drivers;
}

void SimulatedMachine::AddDevicePortsLocked() {
  for (const auto& serial : devices_.SerialPorts(requestedDelayMs_)) {
    if (serial.portName.rfind(L"COM", 0) != 0) continue;
    state_.ports.Add({serial.portName + L":", L"Local Port", L"Local Port"});
  }
  for (const auto& usb : devices_.UsbPrinters()) {
    if (!usb.portNumber || *usb.portNumber == 0 || *usb.portNumber > 999) continue;
    wchar_t name[8];
    std::swprintf(name, 8, L"USB%03u", static_cast<unsigned>(*usb.portNumber));
    state_.ports.Add({name, L"Virtual printer port for USB", L"USB Monitor"});
  }
}

std::optional<std::vector<SimulatedPort>> SimulatedMachine::EnumPorts() {
  std::lock_guard guard(lock_);
  if (Faulted("EnumPortsW")) return std::nullopt;
  AddDevicePortsLocked();
  return std::vector<SimulatedPort>(state_.ports.begin(), state_.ports.end());
}

std::optional<std::wstring> SimulatedMachine::GetPrinterDriverDirectory(std::wstring_view requested) {
  std::lock_guard guard(lock_);
  if (Faulted("GetPrinterDriverDirectoryW")) return std::nullopt;
  const auto environment = machine_layout::ResolveEnvironment(requested);
  if (!environment) {
    SetSimulatedLastError(kErrorInvalidEnvironment);
    return std::nullopt;
  }
  return machine_layout::DriverDirectoryOf(*environment);
}

uint32_t SimulatedMachine::XcvAddPort(std::wstring_view monitor, const std::vector<uint8_t>& data) {
  std::lock_guard guard(lock_);
  if (Faulted("OpenPrinterW")) return SimulatedLastError();
  if (!spooler_.HasMonitor(monitor)) return Failure(kErrorUnknownPort);
  if (Faulted("XcvDataW")) return SimulatedLastError();

  SimulatedPort port;
  port.monitor = std::wstring(monitor);
  if (EqualsNoCase(monitor, L"Local Port")) {
    // The port name with its terminator, in UTF-16.
    if (data.size() < 2 || data.size() % 2) return Failure(kErrorInvalidParameter);
    for (size_t i = 0; i + 1 < data.size(); i += 2) {
      const wchar_t unit = static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
      if (unit == 0) break;
      port.name += unit;
    }
    port.description = L"Local Port";
    port.monitor = L"Local Port";
  } else if (EqualsNoCase(monitor, L"Standard TCP/IP Port")) {
    const auto record = DecodeTcpIpPortRecord(data);
    if (!record) return Failure(kErrorInvalidParameter);
    port.name = record->portName;
    port.hostAddress = record->hostAddress.empty() ? record->ipAddress : record->hostAddress;
    port.portNumber = record->portNumber;
    port.protocol = record->protocol;
    if (record->size != kTcpIpPortRecordBytes || record->version != 1 ||
        (record->protocol != 1 && record->protocol != 2) || port.hostAddress.empty()) {
      return Failure(kErrorInvalidParameter);
    }
    port.description = L"Standard TCP/IP Port";
    port.monitor = L"Standard TCP/IP Port";
  } else {
    return Failure(kErrorNotSupported);
  }
  const uint32_t status = spooler_.AddPort(std::move(port));
  if (status == 0) SaveLocked();
  Succeeded(status);
  return status;
}

bool SimulatedMachine::AddPortDialog(std::wstring_view monitor, ui::WindowHandle owner) {
  std::unique_lock guard(lock_);
  if (Faulted("AddPortW")) return false;
  if (!spooler_.HasMonitor(monitor)) return Succeeded(kErrorInvalidParameter);
  const bool local = EqualsNoCase(monitor, L"Local Port");
  const bool tcp = EqualsNoCase(monitor, L"Standard TCP/IP Port");
  // The WSD and app monitors make their ports themselves; they have no add-port dialog.
  if (!local && !tcp) return Succeeded(kErrorNotSupported);
  std::optional<PortDialogAnswer> answer = TakeDialogAnswerLocked();
  if (!answer) {
    // The monitor's own dialog, shown without the lock: its loop runs other work.
    guard.unlock();
    answer = RunPortMonitorDialog(
        owner, tcp ? PortMonitorDialogKind::AddTcpIpPort : PortMonitorDialogKind::AddLocalPort, L"", L"");
    guard.lock();
  }
  if (!answer || !answer->confirmed) return Succeeded(kErrorCancelled);
  SimulatedPort port;
  port.monitor = std::wstring(monitor);
  port.description = port.monitor;
  port.name = answer->portName;
  if (tcp) {
    port.hostAddress = answer->hostAddress;
    port.portNumber = 9100;
    port.protocol = 1;
    if (port.name.empty()) port.name = L"IP_" + answer->hostAddress;
  }
  const uint32_t error = spooler_.AddPort(std::move(port));
  if (error == 0) SaveLocked();
  return Succeeded(error);
}

std::optional<PortDialogAnswer> SimulatedMachine::TakeDialogAnswerLocked() {
  auto& answers = state_.settings.dialogAnswers;
  if (answers.empty()) return std::nullopt;
  PortDialogAnswer answer = answers.front();
  answers.pop_front();
  SaveLocked();
  return answer;
}

bool SimulatedMachine::DeletePort(std::wstring_view portName) {
  std::lock_guard guard(lock_);
  if (Faulted("DeletePortW")) return false;
  const uint32_t error = spooler_.DeletePort(portName);
  if (error == 0) SaveLocked();
  return Succeeded(error);
}

bool SimulatedMachine::ConfigurePortDialog(std::wstring_view portName, ui::WindowHandle owner) {
  std::unique_lock guard(lock_);
  if (Faulted("ConfigurePortW")) return false;
  const SimulatedPort* port = state_.ports.Find(portName);
  if (port == nullptr) return Succeeded(kErrorUnknownPort);
  if (EqualsNoCase(port->monitor, L"WSD Port") || EqualsNoCase(port->monitor, L"Appmon")) {
    return Succeeded(kErrorNotSupported);
  }
  const bool tcp = EqualsNoCase(port->monitor, L"Standard TCP/IP Port");
  const std::wstring name = port->name;
  const std::wstring host = port->hostAddress;
  std::optional<PortDialogAnswer> answer = TakeDialogAnswerLocked();
  if (!answer) {
    guard.unlock();
    answer = RunPortMonitorDialog(
        owner, tcp ? PortMonitorDialogKind::ConfigureTcpIpPort : PortMonitorDialogKind::ConfigureLocalPort, name, host);
    guard.lock();
    // Without a window to show the dialog on, the user presses OK and changes nothing.
    if (!answer) return true;
  }
  if (!answer->confirmed) return Succeeded(kErrorCancelled);
  if (tcp && !answer->hostAddress.empty()) {
    if (!state_.ports.SetHostAddress(name, answer->hostAddress)) return Succeeded(kErrorUnknownPort);
    SaveLocked();
  }
  return true;
}

uint32_t SimulatedMachine::OpenAndDeletePrinter(std::wstring_view printerName) {
  std::lock_guard guard(lock_);
  if (Faulted("OpenPrinterW")) return SimulatedLastError();
  if (spooler_.FindPrinter(printerName) == nullptr) return Failure(kErrorInvalidPrinterName);
  if (Faulted("DeletePrinter")) return SimulatedLastError();
  const uint32_t error = spooler_.DeletePrinter(printerName);
  if (error == 0) SaveLocked();
  Succeeded(error);
  return error;
}

bool SimulatedMachine::AddPrinterDriver(SimulatedDriver driver) {
  std::lock_guard guard(lock_);
  if (Faulted("AddPrinterDriverExW")) return false;
  const uint32_t error = spooler_.AddDriver(std::move(driver));
  if (error == 0) SaveLocked();
  return Succeeded(error);
}

bool SimulatedMachine::AddPrinter(SimulatedPrinter printer) {
  std::lock_guard guard(lock_);
  if (Faulted("AddPrinterW")) return false;
  AddDevicePortsLocked();
  const uint32_t error = spooler_.AddPrinter(std::move(printer));
  if (error == 0) SaveLocked();
  return Succeeded(error);
}

bool SimulatedMachine::SetDefaultPrinter(std::wstring_view printerName) {
  std::lock_guard guard(lock_);
  if (Faulted("SetDefaultPrinterW")) return false;
  const uint32_t error = spooler_.SetDefaultPrinter(printerName);
  if (error == 0) SaveLocked();
  return Succeeded(error);
}

bool SimulatedMachine::DeletePrinterDriver(std::wstring_view driverName, uint32_t flags, uint32_t version,
                                           std::wstring_view environment) {
  std::lock_guard guard(lock_);
  if (Faulted("DeletePrinterDriverExW")) return false;
  const uint32_t error = spooler_.DeleteDriver(driverName, flags, version, environment);
  if (error == 0) SaveLocked();
  return Succeeded(error);
}

bool SimulatedMachine::DeletePrinterDriverPackage(std::wstring_view infPath, std::wstring_view environment) {
  std::lock_guard guard(lock_);
  if (Faulted("DeletePrinterDriverPackageW")) return false;
  const uint32_t error = spooler_.DeleteDriverPackage(infPath, environment);
  if (error == 0) SaveLocked();
  return Succeeded(error);
}

void SimulatedMachine::AddDialogAnswer(PortDialogAnswer answer) {
  std::lock_guard guard(lock_);
  state_.settings.dialogAnswers.push_back(std::move(answer));
  SaveLocked();
}

void SimulatedMachine::RemoveMonitor(std::wstring_view monitor) {
  std::lock_guard guard(lock_);
  auto& monitors = state_.monitors;
  monitors.erase(std::remove_if(monitors.begin(), monitors.end(),
                                [&](const std::wstring& name) { return EqualsNoCase(name, monitor); }),
                 monitors.end());
  SaveLocked();
}

std::wstring SimulatedMachine::DefaultPrinter() const {
  std::lock_guard guard(lock_);
  return state_.defaultPrinter;
}

size_t SimulatedMachine::FillNetworkPorts(size_t count) {
  std::lock_guard guard(lock_);
  size_t added = 0;
  for (uint32_t host = 1; added < count && host < 0xFFFFFF; ++host) {
    const std::wstring address = L"10." + std::to_wstring(host >> 16) + L"." + std::to_wstring((host >> 8) & 0xFF) +
                                 L"." + std::to_wstring(host & 0xFF);
    SimulatedPort port{L"IP_" + address, L"Standard TCP/IP Port", L"Standard TCP/IP Port", address, 9100, 1};
    if (state_.ports.Add(std::move(port))) ++added;
  }
  if (added > 0) SaveLocked();
  return added;
}

size_t SimulatedMachine::FillPrinters(const std::wstring& driverName, size_t count) {
  std::lock_guard guard(lock_);
  const std::wstring environment = machine_layout::Environment(state_.settings);
  if (state_.drivers.count(DriverKey(environment, driverName)) == 0) {
    SimulatedDriver driver{driverName, 3, environment, L"trial_drv.dll", L"trial.gpd", L"trial_ui.dll"};
    const std::wstring folder = machine_layout::DriverDirectoryOf(environment) + L"\\";
    for (const std::wstring* file : {&driver.driverFile, &driver.dataFile, &driver.configFile}) {
      if (files_.WriteNewFile(folder + *file, L"C:\\", {'M', 'Z'}) != 0) return 0;
    }
    if (spooler_.AddDriver(std::move(driver)) != 0) return 0;
  }
  size_t added = 0;
  for (size_t number = 1; added < count; ++number) {
    SimulatedPrinter printer{driverName + L" trial " + std::to_wstring(number), driverName, L"nul:"};
    if (state_.printers.emplace(ToLowerUnits(printer.name), printer).second) ++added;
  }
  SaveLocked();
  return added;
}

void SimulatedMachine::PopulateForBenchmark(size_t printers, size_t ports) {
  std::lock_guard guard(lock_);
  for (size_t i = 0; i < ports; ++i) {
    state_.ports.Add({L"BENCH" + std::to_wstring(i) + L":", L"Local Port", L"Local Port", L"", 0, 0});
  }
  for (size_t i = 0; i < printers; ++i) {
    SimulatedPrinter printer{
        L"Bench printer " + std::to_wstring(i), L"Microsoft Print To PDF", L"nul:", L"winprint", 0x40, {}};
    state_.printers.emplace(ToLowerUnits(printer.name), std::move(printer));
  }
  SaveLocked();
}
