#include <cstring>

#include "devices/BluetoothOperations.h"
#include "devices/BluetoothPlatform.h"
#include "devices/BluetoothRules.h"
#include "engine/spooler/SystemOperations.h"
#include "simulated/SimulatedLastError.h"
#include "simulated/SimulatedMachine.h"

namespace {

constexpr size_t kInstanceIdUnits = 256;
constexpr size_t kPortNameBytes = 255;
constexpr uint32_t kInsufficientBuffer = 122;
constexpr uint32_t kMoreData = 234;
constexpr uint32_t kNoMoreItems = 259;
constexpr uint32_t kInvalidParameter = 87;
// A new inquiry with timeout multiplier 10: 10 x 1.28 s.
constexpr uint32_t kInquiryMs = 12800;

BluetoothDeviceRecord RecordOf(const SimulatedBluetoothDevice& device) {
  BluetoothDeviceRecord record;
  record.address = device.address & 0xFFFFFFFFFFFFull;
  record.classOfDevice = device.classOfDevice;
  record.remembered = device.paired ? 1 : 0;
  record.authenticated = device.paired ? 1 : 0;
  const size_t units = std::min(device.name.size(), std::size(record.name) - 1);
  for (size_t i = 0; i < units; ++i) record.name[i] = static_cast<char16_t>(device.name[i]);
  return record;
}

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

}  // namespace

bool BluetoothClassPresent() {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine || machine->FailsNow("SetupDiGetClassDevsW")) return false;
  if (machine->FailsNow("SetupDiEnumDeviceInfo")) return false;
  return machine->Devices().Adapter() != SimulatedAdapter::None;
}

bool BluetoothRadioFound() {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine || machine->FailsNow("BluetoothFindFirstRadio")) return false;
  if (machine->Devices().Adapter() != SimulatedAdapter::On) {
    SetSimulatedLastError(kNoMoreItems);
    return false;
  }
  return true;
}

bool InquireBluetoothDevices(std::vector<BluetoothDeviceRecord>& devices) {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine || machine->FailsNow("BluetoothFindFirstDevice")) return false;
  if (machine->Devices().Adapter() != SimulatedAdapter::On) {
    SetSimulatedLastError(kNoMoreItems);
    return false;
  }
  SleepMs(kInquiryMs);
  const auto inRange = machine->Devices().BluetoothDevices();
  if (inRange.empty()) {
    SetSimulatedLastError(kNoMoreItems);
    return false;
  }
  for (const auto& device : inRange) devices.push_back(RecordOf(device));
  return true;
}

uint32_t AuthenticateBluetoothDevice(BluetoothDeviceRecord& device, const std::wstring& pin) {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine) return SimulatedLastError();
  if (machine->FailsNow("BluetoothAuthenticateDevice")) return SimulatedLastError();
  if (device.size != sizeof(BluetoothDeviceRecord)) return kInvalidParameter;
  const uint32_t result = machine->Devices().Authenticate(device.address, pin);
  if (result == 0) device.authenticated = 1;
  return result;
}

ServiceStateAttempt TryEnableSerialService(const BluetoothDeviceRecord& device) {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine || machine->FailsNow("LoadLibraryExW")) return ServiceStateAttempt::LibraryMissing;
  uint32_t result = 0;
  if (machine->FailsNow("BluetoothSetServiceState")) {
    result = SimulatedLastError();
  } else {
    result = machine->Devices().EnableSerialService(device.address, machine->RequestedDelayMs());
  }
  return result == 0 || result == kInvalidParameter ? ServiceStateAttempt::Done : ServiceStateAttempt::Retry;
}

bool WalkSerialPortInterfaces(std::vector<SerialPortFound>& ports) {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine || machine->FailsNow("SetupDiGetClassDevsW")) return false;
  const auto present = machine->Devices().SerialPorts(machine->RequestedDelayMs());
  for (const auto& port : present) {
    if (machine->FailsNow("SetupDiEnumDeviceInterfaces")) break;
    if (machine->FailsNow("SetupDiGetDeviceInterfaceDetailW")) break;
    if (port.instanceId.size() >= kInstanceIdUnits) {
      SetSimulatedLastError(kInsufficientBuffer);
      continue;
    }
    if (machine->FailsNow("SetupDiGetDeviceInstanceIdW")) continue;
    SerialPortFound found{port.instanceId, {}};
    if (!machine->FailsNow("SetupDiOpenDevRegKey") && !machine->FailsNow("RegQueryValueExW")) {
      const std::vector<uint8_t> value = StoredValue(port);
      if (value.size() > kPortNameBytes) {
        SetSimulatedLastError(kMoreData);
      } else {
        found.portName = RegistryStringOfBytes(value.data(), value.size());
      }
    }
    ports.push_back(std::move(found));
  }
  return true;
}

void SetLocalSerialService(const BluetoothDeviceRecord& device, const std::wstring& comPortName) {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine || machine->FailsNow("LoadLibraryExW")) return;
  if (machine->FailsNow("BluetoothSetLocalServiceInfo")) return;
  machine->Devices().RegisterLocalService(device.address, L"SPP slave", comPortName.substr(0, 255));
}
