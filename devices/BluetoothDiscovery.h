// The adapter probe and the inquiry for nearby printers.
//
// Threads: any; ScanBluetoothPrinters runs on the scan thread (it takes about 12.8 s).
#pragma once

#include "devices/BluetoothDeviceRecord.h"
#include "devices/ScanResult.h"

enum class BluetoothAdapterState { None, Off, On };

BluetoothAdapterState QueryBluetoothAdapter();
// "tip.btadapter.none", "tip.btadapter.off" or "tip.btadapter.on".
const wchar_t* BluetoothAdapterStateKey(BluetoothAdapterState state);

// The named printers among the devices the inquiry reports, in inquiry order, and the
// code of a failing inquiry call (what it reported before is kept).
ScanResult<BluetoothDeviceRecord> ScanBluetoothPrinters();
