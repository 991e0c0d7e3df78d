// The plain rules of the Bluetooth side: which devices the scan lists, how a serial
// port's instance id names its device, the PIN as pairing takes it, and registry strings
// that need not end inside their buffer.
//
// Threads: any; no state.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "devices/BluetoothDeviceRecord.h"

// Rendering/imaging/printer, object transfer/imaging/printer, and 0x001F1F.
bool IsPrinterClassOfDevice(uint32_t classOfDevice);
// A record the scan keeps: a printer class of device and a name that is not empty.
bool IsListedPrinter(const BluetoothDeviceRecord& device);
// The record's name, up to its terminator or the end of its field.
std::wstring DeviceName(const BluetoothDeviceRecord& device);

// At most the first 16 units.
std::wstring PinForPairing(std::wstring_view pin);

// The second-to-last "_"-part of the instance id ends with the twelve address digits
// (letter case ignored).
bool InstanceIdNamesAddress(std::wstring_view instanceId, std::wstring_view addressText);

// A REG_SZ value as read into a buffer: UTF-16 units up to the first NUL or the end of
// the bytes read, whichever comes first; an odd last byte is not part of any unit.
std::wstring RegistryStringOfBytes(const uint8_t* bytes, size_t count);
