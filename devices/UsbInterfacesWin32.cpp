#include "devices/SetupApiWin32.h"
#include "devices/UsbInterfaces.h"

namespace {

// GUID_DEVINTERFACE_USBPRINT
constexpr GUID kUsbPrintInterface = {0x28d78fad, 0x5a12, 0x11d1, {0xae, 0x5b, 0x00, 0x00, 0xf8, 0x03, 0xa8, 0xc2}};
constexpr DWORD kPropertyBytes = 520;

bool ReadProperty(HDEVINFO set, SP_DEVINFO_DATA& info, DWORD property) {
  BYTE buffer[kPropertyBytes];
  return SetupDiGetDeviceRegistryPropertyW(set, &info, property, nullptr, buffer, sizeof buffer, nullptr) != FALSE;
}

}  // namespace

void WalkUsbPrinterInterfaces(std::vector<UsbInterfaceFound>& found) {
  const DeviceInfoSet set = OwnDeviceInfoSet(
      SetupDiGetClassDevsW(&kUsbPrintInterface, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
  if (!set) return;
  std::unique_ptr<unsigned char[]> buffer;
  for (DWORD index = 0;; ++index) {
    SP_DEVICE_INTERFACE_DATA iface{};
    iface.cbSize = sizeof iface;
    if (!SetupDiEnumDeviceInterfaces(set.Get(), nullptr, &kUsbPrintInterface, index, &iface)) break;
    InterfaceDetail detail;
    if (ReadInterfaceDetail(set.Get(), iface, buffer, detail) != DetailRead::Read) break;
    std::wstring instanceId;
    if (!ReadInstanceId(set.Get(), detail.info, instanceId) ||
        !ReadProperty(set.Get(), detail.info, SPDRP_DEVICEDESC) ||
        !ReadProperty(set.Get(), detail.info, SPDRP_HARDWAREID)) {
      continue;
    }
    found.push_back({std::move(instanceId), std::move(detail.devicePath)});
  }
}

std::optional<uint32_t> ReadUsbPortNumber(const std::wstring& keyName) {
  RegistryKey key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyName.c_str(), 0, KEY_READ, key.Receive()) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  DWORD number = 0;
  DWORD size = sizeof number;
  if (RegQueryValueExW(key.Get(), L"Port Number", nullptr, nullptr, reinterpret_cast<BYTE*>(&number), &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return number;
}
