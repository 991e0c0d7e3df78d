#include "devices/SetupApiWin32.h"
#include "devices/UsbPortNumber.h"

uint32_t ReadUsbPortNumber(const std::wstring& keyName, uint32_t& number) {
  number = 0;
  RegistryKey key;
  const LSTATUS opened = RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyName.c_str(), 0, KEY_READ, key.Receive());
  if (opened != ERROR_SUCCESS) return static_cast<uint32_t>(opened);
  DWORD value = 0;
  DWORD size = sizeof value;
  const LSTATUS read =
      RegQueryValueExW(key.Get(), L"Port Number", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
  if (read != ERROR_SUCCESS) return static_cast<uint32_t>(read);
  number = value;
  return ERROR_SUCCESS;
}
