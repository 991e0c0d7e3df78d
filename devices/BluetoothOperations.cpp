// Placeholder until the Bluetooth backends exist: no adapter, nothing to pair or find.
#include "devices/BluetoothOperations.h"

#include "engine/spooler/SystemOperations.h"

namespace {
constexpr uint32_t kErrorNotSupported = 50;
}

bool PairBluetoothDevice(BluetoothDeviceRecord, const std::wstring&, std::wstring& errorText) {
  errorText = FormatSystemError(kErrorNotSupported);
  return false;
}

ServiceStateAttempt TryEnableSerialService(const BluetoothDeviceRecord&) { return ServiceStateAttempt::LibraryMissing; }

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

bool FindBluetoothSerialPort(const std::wstring&, std::wstring& portName) {
  portName.clear();
  return false;
}

void RegisterSerialService(const BluetoothDeviceRecord&, const std::wstring&) {}
