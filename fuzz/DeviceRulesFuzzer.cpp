// The rules that read device ids, addresses, registry strings and PINs that the system or
// the user hands over: the first byte picks the rule, the rest is its input.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "devices/BluetoothRules.h"
#include "devices/UsbPortRules.h"
#include "engine/NetworkAddress.h"
#include "engine/PinText.h"
#include "shell/console/ConsolePlan.h"

namespace {

// UTF-16 units of the bytes, as the system's wide strings arrive.
std::wstring WideOf(const uint8_t* data, size_t size) {
  std::wstring text;
  for (size_t i = 0; i + 1 < size; i += 2) text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t rule = data[0] % 6;
  ++data;
  --size;
  const std::wstring text = WideOf(data, size);
  switch (rule) {
    case 0: {
      PidVidOfInstanceId(text);
      if (const auto key = UsbPortKeyName(text)) {
        if (key->size() >= kUsbPortKeyCapacity) __builtin_trap();
      }
      uint32_t number = 0;
      std::memcpy(&number, data, size < 4 ? size : 4);
      UsbPortNameOfNumber(number);
      break;
    }
    case 1: {
      // The instance id, then the address text after the first NUL.
      const size_t split = text.find(L'\0');
      const std::wstring id = text.substr(0, split);
      const std::wstring address = split == std::wstring::npos ? L"" : text.substr(split + 1);
      InstanceIdNamesAddress(id, address);
      break;
    }
    case 2:
      RegistryStringOfBytes(data, size);
      break;
    case 3: {
      BluetoothDeviceRecord record;
      std::memcpy(&record, data, size < sizeof(record) ? size : sizeof(record));
      record.size = sizeof(record);
      IsListedPrinter(record);
      if (DeviceName(record).size() > 248) __builtin_trap();
      break;
    }
    case 4: {
      const std::wstring filtered = FilterPin(text);
      if (!filtered.empty() && !IsValidPin(filtered)) __builtin_trap();
      if (PinForPairing(text).size() > 16) __builtin_trap();
      break;
    }
    default:
      IsValidIpv4Address(text);
      ParseBluetoothAddress(text);
      break;
  }
  return 0;
}
