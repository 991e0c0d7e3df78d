#include "simulated/SimulatedDeviceTree.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "base/WideText.h"
#include "base/WindowsErrorCodes.h"
#include "simulated/DeviceTreeFile.h"

namespace {

constexpr int kFirstVirtualComPort = 5;

constexpr std::wstring_view kUsbPrintClass = L"{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
constexpr std::wstring_view kSerialPortProfile =
    L"BTHENUM\\{00001101-0000-1000-8000-00805F9B34FB}_LOCALMFG&0002\\7&2A1E2A37&0&";

// Where Windows keeps the Device Parameters of a USB printer interface.
std::wstring PortNumberKeyOf(std::wstring_view instanceId) {
  std::wstring key = L"SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\" + std::wstring(kUsbPrintClass) + L"\\##?#";
  for (const wchar_t c : instanceId) key += c == L'\\' ? L'#' : c;
  key += L"#" + std::wstring(kUsbPrintClass) + L"\\#\\Device Parameters";
  return key;
}

std::string FileNameOf(std::wstring_view instanceId) {
  std::string name;
  for (const wchar_t c : instanceId) {
    const bool plain = (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
    name += plain ? static_cast<char>(c) : '_';
  }
  return name + ".bin";
}

}  // namespace

SimulatedDeviceTree::SimulatedDeviceTree(std::filesystem::path folder) : folder_(std::move(folder)) {
  std::lock_guard guard(lock_);
  RefreshLocked();
}

std::wstring SimulatedDeviceTree::UsbDevicePathOf(std::wstring_view instanceId) {
  std::wstring path = L"\\\\?\\";
  for (const wchar_t c : instanceId) path += c == L'\\' ? L'#' : c;
  return ToLowerUnits(path) + L"#" + std::wstring(kUsbPrintClass);
}

void SimulatedDeviceTree::RefreshLocked() {
  std::error_code ec;
  const auto file = File();
  const auto time = std::filesystem::last_write_time(file, ec);
  if (ec) return;  // no file yet: nothing but what this program set
  const uintmax_t size = std::filesystem::file_size(file, ec);
  if (ec || (seenTime_ && *seenTime_ == time && seenSize_ == size)) return;
  seenTime_ = time;
  seenSize_ = size;
  DeviceTreeLoad load = LoadDeviceTree(file);
  if (load.state) {
    state_ = std::move(*load.state);
    reportedError_.clear();
  } else if (!load.error.empty() && load.error != reportedError_) {
    // The machine has no other way to tell; the state in memory stays.
    std::fprintf(stderr, "simulated machine: %s\n", load.error.c_str());
    reportedError_ = load.error;
  }
}

void SimulatedDeviceTree::SaveLocked() {
  if (const std::string error = SaveDeviceTree(state_, File()); !error.empty()) {
    std::fprintf(stderr, "simulated machine: the device change is not saved: %s\n", error.c_str());
    return;
  }
  std::error_code ec;
  seenTime_ = std::filesystem::last_write_time(File(), ec);
  seenSize_ = std::filesystem::file_size(File(), ec);
}

const SimulatedUsbPrinter* SimulatedDeviceTree::UsbPrinterOfPathLocked(std::wstring_view devicePath) const {
  for (const auto& printer : state_.usbPrinters) {
    if (EqualsNoCase(printer.devicePath, devicePath)) return &printer;
  }
  return nullptr;
}

SimulatedBluetoothDevice* SimulatedDeviceTree::DeviceLocked(uint64_t address) {
  for (auto& device : state_.bluetoothDevices) {
    if (device.address == address) return &device;
  }
  return nullptr;
}

std::vector<SimulatedUsbPrinter> SimulatedDeviceTree::UsbPrinters() {
  std::lock_guard guard(lock_);
  RefreshLocked();
  return state_.usbPrinters;
}

SimulatedDeviceTree::PortNumberKey SimulatedDeviceTree::UsbPortNumberKey(std::wstring_view keyName) {
  std::lock_guard guard(lock_);
  RefreshLocked();
  for (const auto& printer : state_.usbPrinters) {
    if (EqualsNoCase(PortNumberKeyOf(printer.instanceId), keyName)) return {true, printer.portNumber};
  }
  return {};
}

std::vector<SimulatedSerialPort> SimulatedDeviceTree::SerialPorts(uint64_t clockMs) {
  std::lock_guard guard(lock_);
  RefreshLocked();
  bool changed = false;
  for (auto& device : state_.bluetoothDevices) {
    if (!device.serialService || !device.comPort.empty() || state_.adapter != SimulatedAdapter::On) continue;
    const uint64_t since = pendingSince_.emplace(device.address, clockMs).first->second;
    if (clockMs < since + state_.comPortDelayMs) continue;
    int number = kFirstVirtualComPort;
    auto used = [&](const std::wstring& name) {
      return std::any_of(state_.serialPorts.begin(), state_.serialPorts.end(),
                         [&](const SimulatedSerialPort& port) { return EqualsNoCase(port.portName, name); });
    };
    while (used(L"COM" + std::to_wstring(number))) ++number;
    device.comPort = L"COM" + std::to_wstring(number);
    const std::wstring address = Utf8ToWide(BluetoothAddressText(device.address));
    state_.serialPorts.push_back({std::wstring(kSerialPortProfile) + address + L"_C00000000", device.comPort, true});
    pendingSince_.erase(device.address);
    changed = true;
  }
  if (changed) SaveLocked();
  return state_.serialPorts;
}

SimulatedAdapter SimulatedDeviceTree::Adapter() {
  std::lock_guard guard(lock_);
  RefreshLocked();
  return state_.adapter;
}

std::vector<SimulatedBluetoothDevice> SimulatedDeviceTree::BluetoothDevices() {
  std::lock_guard guard(lock_);
  RefreshLocked();
  return state_.bluetoothDevices;
}

uint32_t SimulatedDeviceTree::Authenticate(uint64_t address, std::wstring_view pin) {
  std::lock_guard guard(lock_);
  RefreshLocked();
  SimulatedBluetoothDevice* device = DeviceLocked(address);
  if (state_.adapter != SimulatedAdapter::On || device == nullptr) return kErrorDeviceNotConnected;
  if (device->paired) return kErrorNoMoreItems;  // paired already
  if (device->pin != pin) return kErrorNotAuthenticated;
  device->paired = true;
  SaveLocked();
  return 0;
}

uint32_t SimulatedDeviceTree::EnableSerialService(uint64_t address, uint64_t clockMs) {
  std::lock_guard guard(lock_);
  RefreshLocked();
  SimulatedBluetoothDevice* device = DeviceLocked(address);
  if (state_.adapter != SimulatedAdapter::On || device == nullptr) return kErrorDeviceNotConnected;
  if (!device->paired) return kErrorNotAuthenticated;
  if (device->serialService) return kErrorInvalidParameter;
  device->serialService = true;
  pendingSince_[address] = clockMs;
  SaveLocked();
  return 0;
}

void SimulatedDeviceTree::RegisterLocalService(uint64_t address, std::wstring serviceName, std::wstring comPort) {
  std::lock_guard guard(lock_);
  RefreshLocked();
  auto& services = state_.localServices;
  services.erase(std::remove_if(services.begin(), services.end(),
                                [&](const SimulatedLocalService& service) { return service.address == address; }),
                 services.end());
  services.push_back({address, std::move(serviceName), std::move(comPort)});
  SaveLocked();
}

bool SimulatedDeviceTree::IsUsbDevicePath(std::wstring_view devicePath) {
  std::lock_guard guard(lock_);
  RefreshLocked();
  return UsbPrinterOfPathLocked(devicePath) != nullptr;
}

uint32_t SimulatedDeviceTree::AppendReceived(std::wstring_view devicePath, const std::vector<uint8_t>& bytes) {
  std::lock_guard guard(lock_);
  RefreshLocked();
  const SimulatedUsbPrinter* printer = UsbPrinterOfPathLocked(devicePath);
  if (printer == nullptr) return kErrorFileNotFound;
  const auto file = folder_ / "usb-received" / FileNameOf(printer->instanceId);
  std::error_code ec;
  std::filesystem::create_directories(file.parent_path(), ec);
  std::ofstream out(file, std::ios::binary | std::ios::app);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  return out ? 0 : kErrorWriteFault;
}

void SimulatedDeviceTree::SetAdapter(SimulatedAdapter adapter) {
  std::lock_guard guard(lock_);
  RefreshLocked();
  state_.adapter = adapter;
  SaveLocked();
}

void SimulatedDeviceTree::SetComPortDelayMs(uint32_t delayMs) {
  std::lock_guard guard(lock_);
  RefreshLocked();
  state_.comPortDelayMs = delayMs;
  SaveLocked();
}

void SimulatedDeviceTree::PlugUsbPrinter(SimulatedUsbPrinter printer) {
  std::lock_guard guard(lock_);
  RefreshLocked();
  if (printer.devicePath.empty()) printer.devicePath = UsbDevicePathOf(printer.instanceId);
  auto& printers = state_.usbPrinters;
  const auto same = std::find_if(printers.begin(), printers.end(), [&](const SimulatedUsbPrinter& other) {
    return EqualsNoCase(other.instanceId, printer.instanceId);
  });
  if (same != printers.end()) {
    *same = std::move(printer);
  } else {
    printers.push_back(std::move(printer));
  }
  SaveLocked();
}

bool SimulatedDeviceTree::UnplugUsbPrinter(std::wstring_view instanceId) {
  std::lock_guard guard(lock_);
  RefreshLocked();
  auto& printers = state_.usbPrinters;
  const auto before = printers.size();
  printers.erase(std::remove_if(printers.begin(), printers.end(),
                                [&](const SimulatedUsbPrinter& p) { return EqualsNoCase(p.instanceId, instanceId); }),
                 printers.end());
  if (printers.size() == before) return false;
  SaveLocked();
  return true;
}

void SimulatedDeviceTree::AddSerialPort(SimulatedSerialPort port) {
  std::lock_guard guard(lock_);
  RefreshLocked();
  state_.serialPorts.push_back(std::move(port));
  SaveLocked();
}

void SimulatedDeviceTree::AddBluetoothDevice(SimulatedBluetoothDevice device) {
  std::lock_guard guard(lock_);
  RefreshLocked();
  if (SimulatedBluetoothDevice* same = DeviceLocked(device.address)) {
    *same = std::move(device);
  } else {
    state_.bluetoothDevices.push_back(std::move(device));
  }
  SaveLocked();
}

bool SimulatedDeviceTree::RemoveBluetoothDevice(uint64_t address) {
  std::lock_guard guard(lock_);
  RefreshLocked();
  auto& devices = state_.bluetoothDevices;
  const auto before = devices.size();
  devices.erase(std::remove_if(devices.begin(), devices.end(),
                               [&](const SimulatedBluetoothDevice& d) { return d.address == address; }),
                devices.end());
  if (devices.size() == before) return false;
  pendingSince_.erase(address);
  SaveLocked();
  return true;
}

void SimulatedDeviceTree::StoreFault(StoredFault fault) {
  std::lock_guard guard(lock_);
  RefreshLocked();
  auto& faults = state_.faults;
  faults.erase(std::remove_if(faults.begin(), faults.end(), [&](const StoredFault& f) { return f.call == fault.call; }),
               faults.end());
  faults.push_back(std::move(fault));
  SaveLocked();
}

void SimulatedDeviceTree::ClearStoredFaults() {
  std::lock_guard guard(lock_);
  RefreshLocked();
  state_.faults.clear();
  SaveLocked();
}

std::optional<uint32_t> SimulatedDeviceTree::TakeStoredFault(std::string_view call) {
  std::lock_guard guard(lock_);
  RefreshLocked();
  auto& faults = state_.faults;
  const auto it = std::find_if(faults.begin(), faults.end(), [&](const StoredFault& f) { return f.call == call; });
  if (it == faults.end()) return std::nullopt;
  const uint32_t code = it->code;
  if (it->once) {
    faults.erase(it);
    SaveLocked();
  }
  return code;
}

std::filesystem::path SimulatedDeviceTree::ReceivedFile(std::wstring_view instanceId) const {
  return folder_ / "usb-received" / FileNameOf(instanceId);
}

std::vector<uint8_t> SimulatedDeviceTree::Received(std::wstring_view instanceId) {
  std::lock_guard guard(lock_);
  std::ifstream in(ReceivedFile(instanceId), std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

DeviceTreeState SimulatedDeviceTree::Snapshot() {
  std::lock_guard guard(lock_);
  RefreshLocked();
  return state_;
}
