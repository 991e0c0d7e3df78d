#include "devices/BluetoothDiscovery.h"

#include "devices/BluetoothPlatform.h"
#include "devices/BluetoothRules.h"

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

std::vector<BluetoothDeviceRecord> ScanBluetoothPrinters() {
  std::vector<BluetoothDeviceRecord> reported;
  std::vector<BluetoothDeviceRecord> printers;
  if (!InquireBluetoothDevices(reported)) return printers;
  for (const auto& device : reported) {
    if (IsListedPrinter(device)) printers.push_back(device);
  }
  return printers;
}
