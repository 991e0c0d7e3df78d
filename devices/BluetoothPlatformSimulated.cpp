#include <cstring>
#include <memory>

#include "base/WindowsErrorCodes.h"
#include "devices/BluetoothOperations.h"
#include "devices/BluetoothPlatform.h"
#include "engine/spooler/SystemOperations.h"
#include "simulated/SimulatedLastError.h"
#include "simulated/SimulatedMachine.h"

namespace {

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

}  // namespace

bool BluetoothRadioFound() {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine || machine->FailsNow("BluetoothFindFirstRadio")) return false;
  if (machine->Devices().Adapter() != SimulatedAdapter::On) {
    SetSimulatedLastError(kErrorNoMoreItems);
    return false;
  }
  return true;
}

// The devices in range are taken when the inquiry ends, as the system reports them.
struct BluetoothInquiry::State {
  std::vector<BluetoothDeviceRecord> reported;
  size_t next = 0;
};

BluetoothInquiry::BluetoothInquiry() : state_(std::make_unique<State>()) {}

BluetoothInquiry::~BluetoothInquiry() = default;

uint32_t BluetoothInquiry::First(BluetoothDeviceRecord& device) {
  device = BluetoothDeviceRecord{};
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine || machine->FailsNow("BluetoothFindFirstDevice")) return SimulatedLastError();
  if (machine->Devices().Adapter() != SimulatedAdapter::On) return kErrorNoMoreItems;
  SleepMs(kInquiryMs);
  state_->reported.clear();
  for (const auto& inRange : machine->Devices().BluetoothDevices()) state_->reported.push_back(RecordOf(inRange));
  return Next(device);
}

uint32_t BluetoothInquiry::Next(BluetoothDeviceRecord& device) {
  device = BluetoothDeviceRecord{};
  if (state_->next >= state_->reported.size()) return kErrorNoMoreItems;
  if (state_->next > 0) {
    const auto machine = SimulatedMachine::CurrentOrUnavailable();
    if (!machine || machine->FailsNow("BluetoothFindNextDevice")) return SimulatedLastError();
  }
  device = state_->reported[state_->next++];
  return kErrorSuccess;
}

uint32_t AuthenticateBluetoothDevice(BluetoothDeviceRecord& device, const std::wstring& pin) {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine) return SimulatedLastError();
  if (machine->FailsNow("BluetoothAuthenticateDevice")) return SimulatedLastError();
  if (device.size != sizeof(BluetoothDeviceRecord)) return kErrorInvalidParameter;
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
  return result == 0 || result == kErrorInvalidParameter ? ServiceStateAttempt::Done : ServiceStateAttempt::Retry;
}

void SetLocalSerialService(const BluetoothDeviceRecord& device, const std::wstring& comPortName) {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine || machine->FailsNow("LoadLibraryExW")) return;
  if (machine->FailsNow("BluetoothSetLocalServiceInfo")) return;
  machine->Devices().RegisterLocalService(device.address, L"SPP slave", comPortName.substr(0, 255));
}
