// The platform's Bluetooth side and its serial ports. Win32: SetupAPI, the registry and
// the functions of "bthprops.cpl", looked up at run time (a missing one answers as if
// nothing were there); Linux build: the simulated machine's device tree.
//
// Threads: any; no state.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "devices/BluetoothDeviceRecord.h"

// Some present device belongs to the Bluetooth setup class.
bool BluetoothClassPresent();
// BluetoothFindFirstRadio finds a radio (it is switched on).
bool BluetoothRadioFound();

// A new inquiry (about 12.8 s) over all radios, returning every device reported:
// authenticated, remembered, unknown and connected ones. False when the first find fails.
bool InquireBluetoothDevices(std::vector<BluetoothDeviceRecord>& devices);

// BluetoothAuthenticateDevice with the PIN as given; its result code.
uint32_t AuthenticateBluetoothDevice(BluetoothDeviceRecord& device, const std::wstring& pin);

struct SerialPortFound {
  std::wstring instanceId;
  std::wstring portName;  // "PortName" of the device key; empty when it cannot be read
};
// Present serial-port interfaces in enumeration order. False when the set cannot be had
// or an allocation failed; what was found before stays in ports.
bool WalkSerialPortInterfaces(std::vector<SerialPortFound>& ports);

// BluetoothSetLocalServiceInfo for the serial-port service on the COM port, instance 1.
void SetLocalSerialService(const BluetoothDeviceRecord& device, const std::wstring& comPortName);
