#include "devices/UsbInterfaces.h"
#include "simulated/SimulatedLastError.h"
#include "simulated/SimulatedMachine.h"

namespace {
constexpr size_t kInstanceIdUnits = 256;
constexpr uint32_t kFileNotFound = 2;
constexpr uint32_t kInsufficientBuffer = 122;
constexpr uint32_t kInvalidData = 13;
}  // namespace

void WalkUsbPrinterInterfaces(std::vector<UsbInterfaceFound>& found) {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine || machine->FailsNow("SetupDiGetClassDevsW")) return;
  const auto printers = machine->Devices().UsbPrinters();
  for (size_t index = 0;; ++index) {
    if (index >= printers.size()) break;
    if (machine->FailsNow("SetupDiEnumDeviceInterfaces")) break;
    const auto& printer = printers[index];
    if (machine->FailsNow("SetupDiGetDeviceInterfaceDetailW")) break;
    if (!printer.detailReadable) {
      SetSimulatedLastError(kInvalidData);
      break;
    }
    if (printer.instanceId.size() >= kInstanceIdUnits) {
      SetSimulatedLastError(kInsufficientBuffer);
      continue;
    }
    if (machine->FailsNow("SetupDiGetDeviceInstanceIdW")) continue;
    if (!printer.propertiesReadable) {
      SetSimulatedLastError(kInvalidData);
      continue;
    }
    if (machine->FailsNow("SetupDiGetDeviceRegistryPropertyW")) continue;
    found.push_back({printer.instanceId, printer.devicePath});
  }
}

std::optional<uint32_t> ReadUsbPortNumber(const std::wstring& keyName) {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine || machine->FailsNow("RegOpenKeyExW")) return std::nullopt;
  const auto key = machine->Devices().UsbPortNumberKey(keyName);
  if (!key.keyExists) {
    SetSimulatedLastError(kFileNotFound);
    return std::nullopt;
  }
  if (machine->FailsNow("RegQueryValueExW")) return std::nullopt;
  if (!key.value) SetSimulatedLastError(kFileNotFound);
  return key.value;
}
