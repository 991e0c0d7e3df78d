// The walks over the platform's device sets and the Bluetooth inquiry, with the rules
// that decide which members are left out and which failure ends a walk. They run over
// DeviceSet.h and BluetoothPlatform.h, so both builds run the same rules.
//
// Threads: any (the scan threads and the installation worker call them).
#pragma once

#include <string>

#include "devices/BluetoothDeviceRecord.h"
#include "devices/ScanResult.h"

struct UsbInterfaceFound {
  std::wstring instanceId;
  std::wstring devicePath;
};

// The present USB printer interfaces in enumeration order. A member whose instance id or
// properties cannot be read is left out; a member whose detail cannot be read (an
// allocation that fails included) ends the walk with what was found so far. Either way
// the failure's code is kept.
ScanResult<UsbInterfaceFound> WalkUsbPrinterInterfaces();

struct SerialPortFound {
  std::wstring instanceId;
  std::wstring portName;  // "PortName" of the device key; empty when it cannot be read
};

// The present serial-port interfaces in enumeration order. A member whose instance id
// cannot be read is left out; a member whose detail cannot be read ends the walk. A port
// name that cannot be read stays empty.
ScanResult<SerialPortFound> WalkSerialPortInterfaces();

// Some present device belongs to the Bluetooth setup class; false when the set cannot be
// had or a member cannot be enumerated.
bool BluetoothClassPresent();

// Every device a new inquiry reports, in the order reported. None answering is no
// failure; a failing first or next call is.
ScanResult<BluetoothDeviceRecord> InquireBluetoothDevices();
