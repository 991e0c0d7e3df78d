#include "devices/BluetoothRules.h"

#include <cwctype>
#include <vector>

namespace {
constexpr uint32_t kPrinterClasses[] = {0x040680, 0x100680, 0x001F1F};
constexpr size_t kPinUnits = 16;
constexpr size_t kAddressDigits = 12;
}  // namespace

bool IsPrinterClassOfDevice(uint32_t classOfDevice) {
  for (const uint32_t printer : kPrinterClasses) {
    if (classOfDevice == printer) return true;
  }
  return false;
}

std::wstring DeviceName(const BluetoothDeviceRecord& device) {
  std::wstring name;
  for (const char16_t unit : device.name) {
    if (unit == 0) break;
    name += static_cast<wchar_t>(unit);
  }
  return name;
}

bool IsListedPrinter(const BluetoothDeviceRecord& device) {
  return device.name[0] != 0 && IsPrinterClassOfDevice(device.classOfDevice);
}

std::wstring PinForPairing(std::wstring_view pin) {
  return std::wstring(pin.substr(0, kPinUnits));
}

bool InstanceIdNamesAddress(std::wstring_view instanceId, std::wstring_view addressText) {
  std::vector<std::wstring_view> parts;
  size_t start = 0;
  for (size_t cut; (cut = instanceId.find(L'_', start)) != std::wstring_view::npos; start = cut + 1) {
    parts.push_back(instanceId.substr(start, cut - start));
  }
  parts.push_back(instanceId.substr(start));
  if (parts.size() < 2 || addressText.size() != kAddressDigits) return false;
  const std::wstring_view part = parts[parts.size() - 2];
  if (part.size() < kAddressDigits) return false;
  const std::wstring_view digits = part.substr(part.size() - kAddressDigits);
  for (size_t i = 0; i < kAddressDigits; ++i) {
    if (std::towlower(digits[i]) != std::towlower(addressText[i])) return false;
  }
  return true;
}

std::wstring RegistryStringOfBytes(const uint8_t* bytes, size_t count) {
  std::wstring text;
  if (bytes == nullptr) return text;
  for (size_t i = 0; i + 1 < count; i += 2) {
    const wchar_t unit = static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8));
    if (unit == 0) break;
    text += unit;
  }
  return text;
}
