// Owned SetupAPI device sets and registry keys. Windows build only.
#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <setupapi.h>

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
