#include "devices/BluetoothDiscovery.h"

#include "devices/BluetoothPlatform.h"
#include "devices/BluetoothRules.h"
#include "devices/DeviceWalks.h"

BluetoothAdapterState QueryBluetoothAdapter() {
  if (!BluetoothClassPresent()) return BluetoothAdapterState::None;
  return BluetoothRadioFound() ? BluetoothAdapterState::On : BluetoothAdapterState::Off;
}

const wchar_t* BluetoothAdapterStateKey(BluetoothAdapterState state) {
  switch (state) {
    case BluetoothAdapterState::On:
      return L"tip.btadapter.on";
    case BluetoothAdapterState::Off:
      return L"tip.btadapter.off";
    case BluetoothAdapterState::None:
      break;
  }
  return L"tip.btadapter.none";
}

ScanResult<BluetoothDeviceRecord> ScanBluetoothPrinters() {
  ScanResult<BluetoothDeviceRecord> reported = InquireBluetoothDevices();
  ScanResult<BluetoothDeviceRecord> printers;
  printers.Note(reported.error);
  for (const auto& device : reported.found) {
    if (IsListedPrinter(device)) printers.found.push_back(device);
  }
  return printers;
}
