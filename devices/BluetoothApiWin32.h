// The records and functions of the Windows Bluetooth API that this program calls, as the
// platform documents them. They are looked up in "bthprops.cpl" at run time, so the
// program starts on a system without them; the MinGW headers also lack some of them.
// Windows build only.
#pragma once

#include <windows.h>

#include "devices/BluetoothDeviceRecord.h"

// BLUETOOTH_FIND_RADIO_PARAMS
struct BluetoothFindRadioParams {
  DWORD size;
};
static_assert(sizeof(BluetoothFindRadioParams) == 4);

// BLUETOOTH_DEVICE_SEARCH_PARAMS
struct BluetoothDeviceSearchParams {
  DWORD size;
  BOOL returnAuthenticated;
  BOOL returnRemembered;
  BOOL returnUnknown;
  BOOL returnConnected;
  BOOL issueInquiry;
  UCHAR timeoutMultiplier;
  HANDLE radio;
};
static_assert(sizeof(BluetoothDeviceSearchParams) == (sizeof(void*) == 4 ? 32 : 40));

// BLUETOOTH_LOCAL_SERVICE_INFO
struct BluetoothLocalServiceInfo {
  BOOL enabled;
  ULONGLONG address;  // BLUETOOTH_ADDRESS
  WCHAR serviceName[256];
  WCHAR deviceName[256];
};
static_assert(sizeof(BluetoothLocalServiceInfo) == 1040);

using BluetoothFindFirstRadioFn = HANDLE(WINAPI*)(const BluetoothFindRadioParams*, HANDLE*);
using BluetoothFindRadioCloseFn = BOOL(WINAPI*)(HANDLE);
using BluetoothFindFirstDeviceFn = HANDLE(WINAPI*)(const BluetoothDeviceSearchParams*, BluetoothDeviceRecord*);
using BluetoothFindNextDeviceFn = BOOL(WINAPI*)(HANDLE, BluetoothDeviceRecord*);
using BluetoothFindDeviceCloseFn = BOOL(WINAPI*)(HANDLE);
using BluetoothAuthenticateDeviceFn = DWORD(WINAPI*)(HWND, HANDLE, BluetoothDeviceRecord*, PWSTR, ULONG);
using BluetoothSetServiceStateFn = DWORD(WINAPI*)(HANDLE, const BluetoothDeviceRecord*, const GUID*, DWORD);
using BluetoothSetLocalServiceInfoFn = DWORD(WINAPI*)(HANDLE, const GUID*, ULONG, const BluetoothLocalServiceInfo*);

// BLUETOOTH_SERVICE_ENABLE
constexpr DWORD kBluetoothServiceEnable = 0x01;

// SerialPortServiceClass_UUID: short UUID 0x1101 on the Bluetooth base UUID.
constexpr GUID kSerialPortServiceClass = {0x00001101, 0x0000, 0x1000, {0x80, 0x00, 0x00, 0x80, 0x5f, 0x9b, 0x34, 0xfb}};
