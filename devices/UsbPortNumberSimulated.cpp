#include "base/WindowsErrorCodes.h"
#include "devices/UsbPortNumber.h"
#include "simulated/SimulatedLastError.h"
#include "simulated/SimulatedMachine.h"

uint32_t ReadUsbPortNumber(const std::wstring& keyName, uint32_t& number) {
  number = 0;
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine || machine->FailsNow("RegOpenKeyExW")) return SimulatedLastError();
  const auto key = machine->Devices().UsbPortNumberKey(keyName);
  if (!key.keyExists) return kErrorFileNotFound;
  if (machine->FailsNow("RegQueryValueExW")) return SimulatedLastError();
  if (!key.value) return kErrorFileNotFound;
  number = *key.value;
  return kErrorSuccess;
}
