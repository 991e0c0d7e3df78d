// The Bluetooth side of a printer: pairing, the serial-port service and its COM port, as
// the installation worker's Bluetooth port stage and the scan need them. The system's
// Bluetooth functions are looked up at run time; a missing one is handled per function.
//
// Threads: any; no state.
#pragma once

#include <cstdint>
#include <string>

#include "devices/BluetoothDeviceRecord.h"

// BluetoothAuthenticateDevice with the PIN (at most 16 units); 0 and 259 are success.
// On failure errorText is FormatSystemError of the result.
bool PairBluetoothDevice(BluetoothDeviceRecord device, const std::wstring& pin, std::wstring& errorText);

// One attempt to enable the device's serial-port service through "bthprops.cpl".
enum class ServiceStateAttempt {
  LibraryMissing,  // "bthprops.cpl" cannot be loaded: give up at once
  Done,            // enabled, already enabled (87) or the function is missing
  Retry,           // any other result
};
ServiceStateAttempt TryEnableSerialService(const BluetoothDeviceRecord& device);

// The six address bytes, most significant first, as upper-case hex; "-" between them
// when separators is set.
std::wstring FormatBluetoothAddress(uint64_t address, bool separators);

// The COM port (such as "COM5", no colon) of the serial-port interface whose instance id
// names the address (twelve hex digits, no separators).
bool FindBluetoothSerialPort(const std::wstring& addressText, std::wstring& portName);

// Registers the local "SPP slave" service on the COM port; the result is not looked at.
void RegisterSerialService(const BluetoothDeviceRecord& device, const std::wstring& comPortName);
