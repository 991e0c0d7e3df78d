#include <variant>

#include "base/WindowsErrorCodes.h"
#include "devices/DeviceSet.h"
#include "simulated/SimulatedLastError.h"
#include "simulated/SimulatedMachine.h"

namespace {

constexpr size_t kInstanceIdUnits = 256;
constexpr size_t kPortNameBytes = 255;

// A present device of a class other than Bluetooth, which the all-classes set also holds.
struct OtherDevice {
  std::wstring instanceId;
};
struct BluetoothRadioDevice {};

using Member = std::variant<SimulatedUsbPrinter, SimulatedSerialPort, OtherDevice, BluetoothRadioDevice>;

// The value as the registry holds it: UTF-16LE, with its NUL only when stored with one.
std::vector<uint8_t> StoredValue(const SimulatedSerialPort& port) {
  std::vector<uint8_t> bytes;
  for (const wchar_t c : port.portName) {
    bytes.push_back(static_cast<uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<uint8_t>((c >> 8) & 0xFF));
  }
  if (port.terminated) bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

std::wstring InstanceIdOf(const Member& member) {
  if (const auto* printer = std::get_if<SimulatedUsbPrinter>(&member)) return printer->instanceId;
  if (const auto* port = std::get_if<SimulatedSerialPort>(&member)) return port->instanceId;
  if (const auto* other = std::get_if<OtherDevice>(&member)) return other->instanceId;
  return L"USB\\VID_0A12&PID_0001\\5&2B7E2F5C&0&1";  // the radio's dongle
}

}  // namespace

// A snapshot of the device tree taken when the set is made, as SetupAPI's is.
struct DeviceSet::State {
  std::shared_ptr<SimulatedMachine> machine;
  std::vector<Member> members;
  const Member* current = nullptr;
  bool currentHasDetail = false;  // the device record comes with the interface detail
};

DeviceSet::DeviceSet(DeviceSetKind kind) : state_(std::make_unique<State>()) {
  state_->machine = SimulatedMachine::CurrentOrUnavailable();
  if (!state_->machine || state_->machine->FailsNow("SetupDiGetClassDevsW")) {
    openError_ = SimulatedLastError();
    return;
  }
  auto& devices = state_->machine->Devices();
  auto& members = state_->members;
  switch (kind) {
    case DeviceSetKind::UsbPrinterInterfaces:
      for (auto& printer : devices.UsbPrinters()) members.emplace_back(std::move(printer));
      break;
    case DeviceSetKind::SerialPortInterfaces:
      for (auto& port : devices.SerialPorts(state_->machine->RequestedDelayMs())) members.emplace_back(std::move(port));
      break;
    case DeviceSetKind::AllPresentDevices:
      // Other classes come first, so a walk must look past them.
      for (const auto& printer : devices.UsbPrinters()) members.emplace_back(OtherDevice{printer.instanceId});
      if (devices.Adapter() != SimulatedAdapter::None) members.emplace_back(BluetoothRadioDevice{});
      break;
  }
}

DeviceSet::~DeviceSet() = default;

uint32_t DeviceSet::SelectInterface(uint32_t index) {
  state_->current = nullptr;
  state_->currentHasDetail = false;
  if (!state_->machine || openError_ != 0) return kErrorInvalidParameter;
  if (state_->machine->FailsNow("SetupDiEnumDeviceInterfaces")) return SimulatedLastError();
  if (index >= state_->members.size()) return kErrorNoMoreItems;
  state_->current = &state_->members[index];
  return kErrorSuccess;
}

uint32_t DeviceSet::ReadInterfaceDetail(std::wstring& devicePath) {
  devicePath.clear();
  if (state_->current == nullptr) return kErrorInvalidParameter;
  if (state_->machine->FailsNow("SetupDiGetDeviceInterfaceDetailW")) return SimulatedLastError();
  if (const auto* printer = std::get_if<SimulatedUsbPrinter>(state_->current)) {
    if (!printer->detailReadable) return kErrorInvalidData;
    devicePath = printer->devicePath;
  }
  state_->currentHasDetail = true;
  return kErrorSuccess;
}

uint32_t DeviceSet::SelectDevice(uint32_t index, bool& bluetoothClass) {
  bluetoothClass = false;
  state_->current = nullptr;
  if (!state_->machine || openError_ != 0) return kErrorInvalidParameter;
  if (state_->machine->FailsNow("SetupDiEnumDeviceInfo")) return SimulatedLastError();
  if (index >= state_->members.size()) return kErrorNoMoreItems;
  state_->current = &state_->members[index];
  state_->currentHasDetail = true;
  bluetoothClass = std::holds_alternative<BluetoothRadioDevice>(*state_->current);
  return kErrorSuccess;
}

uint32_t DeviceSet::ReadInstanceId(std::wstring& instanceId) {
  instanceId.clear();
  if (state_->current == nullptr || !state_->currentHasDetail) return kErrorInvalidParameter;
  const std::wstring id = InstanceIdOf(*state_->current);
  if (id.size() >= kInstanceIdUnits) return kErrorInsufficientBuffer;
  if (state_->machine->FailsNow("SetupDiGetDeviceInstanceIdW")) return SimulatedLastError();
  instanceId = id;
  return kErrorSuccess;
}

uint32_t DeviceSet::ReadProperty(DeviceProperty) {
  if (state_->current == nullptr || !state_->currentHasDetail) return kErrorInvalidParameter;
  if (const auto* printer = std::get_if<SimulatedUsbPrinter>(state_->current)) {
    if (!printer->propertiesReadable) return kErrorInvalidData;
  }
  if (state_->machine->FailsNow("SetupDiGetDeviceRegistryPropertyW")) return SimulatedLastError();
  return kErrorSuccess;
}

uint32_t DeviceSet::ReadPortNameValue(std::vector<uint8_t>& bytes) {
  bytes.clear();
  if (state_->current == nullptr || !state_->currentHasDetail) return kErrorInvalidParameter;
  if (state_->machine->FailsNow("SetupDiOpenDevRegKey")) return SimulatedLastError();
  if (state_->machine->FailsNow("RegQueryValueExW")) return SimulatedLastError();
  const auto* port = std::get_if<SimulatedSerialPort>(state_->current);
  if (port == nullptr) return kErrorFileNotFound;
  std::vector<uint8_t> value = StoredValue(*port);
  if (value.size() > kPortNameBytes) return kErrorMoreData;
  bytes = std::move(value);
  return kErrorSuccess;
}
