// The parts of pairing and the serial-port lookup that do not depend on the platform;
// the calls themselves are in BluetoothPlatform*.cpp (TryEnableSerialService too).
#include "devices/BluetoothOperations.h"

#include "base/WindowsErrorCodes.h"
#include "devices/BluetoothPlatform.h"
#include "devices/BluetoothRules.h"
#include "devices/DeviceWalks.h"
#include "engine/spooler/SystemOperations.h"

bool PairBluetoothDevice(BluetoothDeviceRecord device, const std::wstring& pin, std::wstring& errorText) {
  errorText.clear();
  const uint32_t result = AuthenticateBluetoothDevice(device, PinForPairing(pin));
  // A device paired already answers "no more items".
  if (result == kErrorSuccess || result == kErrorNoMoreItems) return true;
  errorText = FormatSystemError(result);
  return false;
}

std::wstring FormatBluetoothAddress(uint64_t address, bool separators) {
  std::wstring text;
  for (int shift = 40; shift >= 0; shift -= 8) {
    static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
    const unsigned byte = (address >> shift) & 0xFF;
    if (separators && shift != 40) text += L'-';
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0xF];
  }
  return text;
}

bool FindBluetoothSerialPort(const std::wstring& addressText, std::wstring& portName) {
  portName.clear();
  for (const auto& port : WalkSerialPortInterfaces().found) {
    if (InstanceIdNamesAddress(port.instanceId, addressText)) {
      portName = port.portName;
      return true;
    }
  }
  return false;
}

void RegisterSerialService(const BluetoothDeviceRecord& device, const std::wstring& comPortName) {
  SetLocalSerialService(device, comPortName);
}
