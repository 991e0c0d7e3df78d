// Owned SetupAPI device sets and registry keys, and the interface walk that the USB and
// serial-port lookups share. Windows build only.
#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <setupapi.h>

#include <memory>
#include <new>
#include <string>

#include "base/UniqueWin32Handle.h"

namespace win32 {
inline void DestroyDeviceInfoList(HDEVINFO set) {
  SetupDiDestroyDeviceInfoList(set);
}
inline void CloseRegistryKey(HKEY key) {
  RegCloseKey(key);
}
}  // namespace win32

using DeviceInfoSet = UniqueWin32Handle<HDEVINFO, win32::DestroyDeviceInfoList>;
using RegistryKey = UniqueWin32Handle<HKEY, win32::CloseRegistryKey>;

// SetupDiGetClassDevsW reports failure as INVALID_HANDLE_VALUE.
inline DeviceInfoSet OwnDeviceInfoSet(HDEVINFO set) {
  return DeviceInfoSet(set == INVALID_HANDLE_VALUE ? nullptr : set);
}

// 28 and 6 bytes in the 32-bit product (SetupAPI packs its records there).
#ifndef _WIN64
static_assert(sizeof(SP_DEVICE_INTERFACE_DATA) == 28);
static_assert(sizeof(SP_DEVINFO_DATA) == 28);
static_assert(sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W) == 6);
#endif

constexpr DWORD kInstanceIdUnits = 256;

// One member's interface detail: the device path and the device-info record.
struct InterfaceDetail {
  std::wstring devicePath;
  SP_DEVINFO_DATA info{};
};

enum class DetailRead { Read, Stop, OutOfMemory };

// The size query, a buffer of that size (the previous member's is replaced) and the read.
// Stop when the size query succeeds or reports less than the record's header, or when the
// read fails.
inline DetailRead ReadInterfaceDetail(HDEVINFO set, SP_DEVICE_INTERFACE_DATA& iface,
                                      std::unique_ptr<unsigned char[]>& buffer, InterfaceDetail& detail) {
  DWORD needed = 0;
  if (SetupDiGetDeviceInterfaceDetailW(set, &iface, nullptr, 0, &needed, nullptr)) return DetailRead::Stop;
  // A size that cannot hold the header would have the header written past the buffer.
  if (needed < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) return DetailRead::Stop;
  buffer.reset(new (std::nothrow) unsigned char[needed]);
  if (!buffer) return DetailRead::OutOfMemory;
  auto* data = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.get());
  data->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
  detail.info = SP_DEVINFO_DATA{};
  detail.info.cbSize = sizeof(SP_DEVINFO_DATA);
  if (!SetupDiGetDeviceInterfaceDetailW(set, &iface, data, needed, nullptr, &detail.info)) return DetailRead::Stop;
  // The path ends inside the buffer; it is never read beyond it.
  const size_t pathOffset = reinterpret_cast<unsigned char*>(data->DevicePath) - buffer.get();
  const size_t maxUnits = (needed - pathOffset) / sizeof(wchar_t);
  detail.devicePath.assign(data->DevicePath, wcsnlen(data->DevicePath, maxUnits));
  return DetailRead::Read;
}

inline bool ReadInstanceId(HDEVINFO set, SP_DEVINFO_DATA& info, std::wstring& instanceId) {
  wchar_t buffer[kInstanceIdUnits] = {};
  if (!SetupDiGetDeviceInstanceIdW(set, &info, buffer, kInstanceIdUnits, nullptr)) return false;
  instanceId.assign(buffer, wcsnlen(buffer, kInstanceIdUnits));
  return true;
}
