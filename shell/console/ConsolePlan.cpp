#include "shell/console/ConsolePlan.h"

#include <algorithm>

#include "base/TextTable.h"
#include "base/WideText.h"
#include "devices/BluetoothDiscovery.h"
#include "devices/BluetoothOperations.h"
#include "devices/UsbPrinterScan.h"
#include "engine/FreeNames.h"
#include "engine/NetworkAddress.h"
#include "engine/NewNameRules.h"
#include "engine/PinText.h"
#include "engine/spooler/SpoolerNamesInUse.h"
#include "engine/spooler/SpoolerOperations.h"
#include "engine/spooler/SystemOperations.h"

namespace {

OptionError Refuse(const wchar_t* option, const wchar_t* problemKey, std::wstring argument = {}) {
  return {option, problemKey, std::move(argument)};
}

// A spooler list that could not be read: a name missing from it says nothing about the
// name, so the run fails with the system's reason instead of refusing the option. So
// does a device search that could not look at every device.
MachineRefusal UnreadableList(SystemOutcome outcome) {
  return UnansweredRefusal(L"cli.err.machinelists", outcome.Error());
}

using Refusal = std::variant<OptionError, MachineRefusal>;

// The spooler's own spelling of a name given in any letter case.
std::optional<std::wstring> FindName(const std::vector<std::wstring>& names, const std::wstring& wanted) {
  const auto exact = std::find(names.begin(), names.end(), wanted);
  if (exact != names.end()) return *exact;
  for (const auto& name : names) {
    if (EqualsNoCase(name, wanted)) return name;
  }
  return std::nullopt;
}

// An existing port of the kind, as the wizard's port list keeps them.
std::optional<Refusal> ChooseExistingPort(const ConsoleOptions& options, InstallRequest& request) {
  std::vector<SpoolerEntry> ports;
  if (const SystemOutcome listed = ListPorts(ports); !listed) return UnreadableList(listed);
  std::vector<std::wstring> names;
  for (const auto& port : ports) names.push_back(port.printerName);
  const std::wstring& wanted = *options.portName;
  const auto found = FindName(names, wanted);
  if (!found) return Refuse(L"--port-name", L"cli.err.noport", wanted);
  if (found->find(PortNamePartOf(*options.portKind)) == std::wstring::npos) {
    return Refuse(L"--port-name", L"cli.err.portkind", *found);
  }
  request.portName = *found;
  return std::nullopt;
}

std::optional<Refusal> ChooseNetworkPort(const ConsoleOptions& options, InstallRequest& request) {
  if (!IsValidIpv4Address(*options.address)) return Refuse(L"--address", L"cli.err.ipv4", *options.address);
  request.ipAddress = *options.address;
  if (options.portName) {
    if (const wchar_t* fault = NetworkPortNameFault(*options.portName)) return Refuse(L"--port-name", fault);
    if (PortNameInUse(*options.portName)) return Refuse(L"--port-name", L"cli.err.portinuse", *options.portName);
    request.portName = *options.portName;
  } else {
    request.portName = ProposeNetworkPortName(request.ipAddress, PortNameInUse);
  }
  return std::nullopt;
}

std::optional<Refusal> ChooseUsbPrinter(const ConsoleOptions& options, InstallRequest& request) {
  const ScanResult<UsbPrinterEntry> scan = ScanUsbPrinters();
  const std::vector<UsbPrinterEntry>& printers = scan.found;
  std::optional<size_t> index;
  if (options.usbNumber) {
    // A search that failed part-way may have numbered the printers otherwise.
    if (!scan.Complete()) return UnansweredRefusal(L"search.usb.failed", scan.error);
    if (static_cast<size_t>(*options.usbNumber) <= printers.size()) index = *options.usbNumber - 1;
    if (!index) return Refuse(L"--usb", L"cli.err.nousb", std::to_wstring(*options.usbNumber));
  } else {
    for (size_t i = 0; i < printers.size() && !index; ++i) {
      if (!printers[i].portName.empty() && EqualsNoCase(printers[i].portName, *options.portName)) index = i;
    }
    // ... and says nothing about a printer it did not list.
    if (!index && !scan.Complete()) return UnansweredRefusal(L"search.usb.failed", scan.error);
    if (!index) return Refuse(L"--port-name", L"cli.err.nousb", *options.portName);
  }
  if (printers[*index].portName.empty()) {
    // Its port number may be the read that failed.
    if (!scan.Complete()) return UnansweredRefusal(L"search.usb.failed", scan.error);
    return Refuse(L"--usb", L"cli.err.nousbport", printers[*index].pidVid);
  }
  request.usbIndex = static_cast<int>(*index);
  request.portName = printers[*index].portName;
  return std::nullopt;
}

std::variant<BluetoothDeviceRecord, OptionError, MachineRefusal> ChooseBluetoothPrinter(const ConsoleOptions& options,
                                                                                        InstallRequest& request) {
  const auto address = ParseBluetoothAddress(*options.address);
  if (!address) return Refuse(L"--address", L"cli.err.btaddress", *options.address);
  if (options.pin) {
    if (!IsValidPin(*options.pin)) return Refuse(L"--pin", L"cli.err.pin");
    request.pin = *options.pin;
    request.useCustomPin = 1;
  }
  const BluetoothAdapterState state = QueryBluetoothAdapter();
  if (state != BluetoothAdapterState::On) {
    return MachineRefusal{GetText(BluetoothAdapterStateKey(state)) + L" " + GetText(L"tip.btadapter.pleasechecked")};
  }
  const ScanResult<BluetoothDeviceRecord> scan = ScanBluetoothPrinters();
  const std::vector<BluetoothDeviceRecord>& devices = scan.found;
  for (size_t i = 0; i < devices.size(); ++i) {
    if (devices[i].address == *address) {
      request.bluetoothIndex = static_cast<int>(i);
      return devices[i];
    }
  }
  if (!scan.Complete()) return UnansweredRefusal(L"search.bluetooth.failed", scan.error);
  return Refuse(L"--address", L"cli.err.nobluetooth", FormatBluetoothAddress(*address, true));
}

std::wstring Step(const wchar_t* key, const std::wstring& argument) {
  return FormatText(GetText(key), argument);
}

}  // namespace

MachineRefusal UnansweredRefusal(const wchar_t* key, uint32_t error) {
  return MachineRefusal{FormatText(GetText(key), SystemErrorReason(error))};
}

std::optional<uint64_t> ParseBluetoothAddress(std::wstring_view text) {
  // "001A7DDA7113", or six pairs with one kind of separator: "00:1A:7D:DA:71:13".
  const bool separated = text.size() == 17;
  if (!separated && text.size() != 12) return std::nullopt;
  const wchar_t separator = separated ? text[2] : 0;
  if (separated && separator != L':' && separator != L'-') return std::nullopt;
  uint64_t address = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (separated && i % 3 == 2) {
      if (c != separator) return std::nullopt;
      continue;
    }
    int value = -1;
    if (c >= L'0' && c <= L'9') value = c - L'0';
    if (c >= L'a' && c <= L'f') value = c - L'a' + 10;
    if (c >= L'A' && c <= L'F') value = c - L'A' + 10;
    if (value < 0) return std::nullopt;
    address = address << 4 | static_cast<uint64_t>(value);
  }
  return address;
}

InstallPlan PlanInstallation(const ConsoleOptions& options) {
  InstallationInputs inputs;
  InstallRequest& request = inputs.request;
  const std::vector<DriverModelRecord> models = BuildDriverModelRecords();
  request.modelIndex = *options.model == 203 ? 0 : 1;
  if (static_cast<size_t>(request.modelIndex) < models.size()) inputs.model = models[request.modelIndex];
  request.portKind = *options.portKind;

  std::optional<Refusal> refused;
  switch (request.portKind) {
    case PortKind::Network:
      refused = ChooseNetworkPort(options, request);
      break;
    case PortKind::Usb:
      refused = ChooseUsbPrinter(options, request);
      break;
    case PortKind::Bluetooth: {
      auto device = ChooseBluetoothPrinter(options, request);
      if (auto* error = std::get_if<OptionError>(&device)) return *error;
      if (auto* machine = std::get_if<MachineRefusal>(&device)) return *machine;
      inputs.bluetoothDevice = std::get<BluetoothDeviceRecord>(device);
      break;
    }
    default:
      refused = ChooseExistingPort(options, request);
      break;
  }
  if (refused) return std::visit([](const auto& refusal) -> InstallPlan { return refusal; }, *refused);

  if (options.printerName) {
    if (const wchar_t* fault = PrinterNameFault(*options.printerName)) return Refuse(L"--printer-name", fault);
    if (PrinterNameInUse(*options.printerName)) {
      return Refuse(L"--printer-name", L"cli.err.printerinuse", *options.printerName);
    }
    request.printerName = *options.printerName;
  } else if (inputs.model) {
    request.printerName = ProposePrinterName(inputs.model->modelName, PrinterNameInUse);
  }
  // The wizard proposes the new printer as the default one.
  request.setAsDefault = options.setAsDefault.value_or(true) ? 1 : 0;
  return inputs;
}

RemovalPlan PlanRemoval(const ConsoleOptions& options) {
  RemovalJob job;
  job.systemEnvironment = SystemDriverEnvironment();
  std::vector<SpoolerEntry> printerEntries;
  if (const SystemOutcome listed = ListPrinters(printerEntries, job.systemEnvironment); !listed) {
    return UnreadableList(listed);
  }
  if (const SystemOutcome listed = ListDrivers(job.driverEntries, job.systemEnvironment); !listed) {
    return UnreadableList(listed);
  }
  std::vector<std::wstring> printerNames;
  for (const auto& entry : printerEntries) printerNames.push_back(entry.printerName);
  std::vector<std::wstring> driverNames;
  for (const auto& entry : job.driverEntries) driverNames.push_back(entry.driverName);

  for (const auto& wanted : options.printers) {
    const auto found = FindName(printerNames, wanted);
    if (!found) return Refuse(L"--printer", L"cli.err.noprinter", wanted);
    if (std::find(job.printers.begin(), job.printers.end(), *found) == job.printers.end()) {
      job.printers.push_back(*found);
    }
  }
  for (const auto& wanted : options.drivers) {
    const auto found = FindName(driverNames, wanted);
    if (!found) return Refuse(L"--driver", L"cli.err.nodriver", wanted);
    job.drivers.insert(*found);
  }
  AddPrintersOfDrivers(job.printers, job.drivers, printerEntries);
  return job;
}

std::vector<std::wstring> DescribeInstallation(const InstallationInputs& inputs) {
  const InstallRequest& request = inputs.request;
  std::vector<std::wstring> steps;
  std::wstring port = request.portName;
  if (request.portKind == PortKind::Network) {
    steps.push_back(Step(L"cli.step.addport", request.portName + L" (" + request.ipAddress + L")"));
  } else if (request.portKind == PortKind::Bluetooth && inputs.bluetoothDevice) {
    port = FormatBluetoothAddress(inputs.bluetoothDevice->address, true);
    steps.push_back(Step(L"cli.step.pair", port));
  }
  if (inputs.model) {
    steps.push_back(Step(L"cli.step.copy", inputs.model->driverName));
    steps.push_back(Step(L"cli.step.driver", inputs.model->driverName));
  }
  steps.push_back(Step(L"cli.step.printer", request.printerName + L" (" + port + L")"));
  if (request.setAsDefault == 1) steps.push_back(Step(L"cli.step.default", request.printerName));
  steps.push_back(Step(L"cli.step.testpage", request.printerName));
  return steps;
}

std::vector<std::wstring> DescribeRemoval(const RemovalJob& job) {
  std::vector<std::wstring> steps;
  for (const auto& printer : job.printers) steps.push_back(Step(L"cli.step.deleteprinter", printer));
  const bool packages = SystemDeletesDriverPackages();
  for (const auto& [name, driver] : BuildDriverWorkList(job.drivers, job.driverEntries, job.systemEnvironment)) {
    steps.push_back(Step(L"cli.step.deletedriver", name));
    if (packages && !driver.infPath.empty()) steps.push_back(Step(L"cli.step.deletepackage", name));
  }
  return steps;
}
