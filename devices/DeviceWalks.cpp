#include "devices/DeviceWalks.h"

#include <vector>

#include "base/WindowsErrorCodes.h"
#include "devices/BluetoothPlatform.h"
#include "devices/BluetoothRules.h"
#include "devices/DeviceSet.h"

namespace {

// What both interface walks share: the set, each interface in turn and its detail. A set
// that cannot be had, an enumeration that fails before the end or a detail that cannot be
// read ends the walk; visit decides about each member that got this far.
template <typename Entry, typename Visit>
ScanResult<Entry> WalkInterfaces(DeviceSetKind kind, Visit visit) {
  ScanResult<Entry> result;
  DeviceSet set(kind);
  if (set.OpenError() != kErrorSuccess) {
    result.Note(set.OpenError());
    return result;
  }
  for (uint32_t index = 0;; ++index) {
    if (const uint32_t code = set.SelectInterface(index); code != kErrorSuccess) {
      if (code != kErrorNoMoreItems) result.Note(code);
      break;
    }
    std::wstring devicePath;
    if (const uint32_t code = set.ReadInterfaceDetail(devicePath); code != kErrorSuccess) {
      result.Note(code);
      break;
    }
    visit(set, std::move(devicePath), result);
  }
  return result;
}

}  // namespace

ScanResult<UsbInterfaceFound> WalkUsbPrinterInterfaces() {
  return WalkInterfaces<UsbInterfaceFound>(
      DeviceSetKind::UsbPrinterInterfaces,
      [](DeviceSet& set, std::wstring devicePath, ScanResult<UsbInterfaceFound>& result) {
        UsbInterfaceFound found{{}, std::move(devicePath)};
        uint32_t code = set.ReadInstanceId(found.instanceId);
        if (code == kErrorSuccess) code = set.ReadProperty(DeviceProperty::Description);
        if (code == kErrorSuccess) code = set.ReadProperty(DeviceProperty::HardwareId);
        if (code != kErrorSuccess) {
          result.Note(code);  // left out
          return;
        }
        result.found.push_back(std::move(found));
      });
}

ScanResult<SerialPortFound> WalkSerialPortInterfaces() {
  return WalkInterfaces<SerialPortFound>(
      DeviceSetKind::SerialPortInterfaces, [](DeviceSet& set, std::wstring, ScanResult<SerialPortFound>& result) {
        SerialPortFound found;
        if (const uint32_t code = set.ReadInstanceId(found.instanceId); code != kErrorSuccess) {
          result.Note(code);  // left out
          return;
        }
        // The value need not end with a NUL inside the buffer: only the bytes read count.
        std::vector<uint8_t> value;
        if (set.ReadPortNameValue(value) == kErrorSuccess) {
          found.portName = RegistryStringOfBytes(value.data(), value.size());
        }
        result.found.push_back(std::move(found));
      });
}

bool BluetoothClassPresent() {
  DeviceSet set(DeviceSetKind::AllPresentDevices);
  if (set.OpenError() != kErrorSuccess) return false;
  for (uint32_t index = 0;; ++index) {
    bool bluetoothClass = false;
    if (set.SelectDevice(index, bluetoothClass) != kErrorSuccess) return false;
    if (bluetoothClass) return true;
  }
}

ScanResult<BluetoothDeviceRecord> InquireBluetoothDevices() {
  ScanResult<BluetoothDeviceRecord> result;
  BluetoothInquiry inquiry;
  BluetoothDeviceRecord device;
  uint32_t code = inquiry.First(device);
  while (code == kErrorSuccess) {
    result.found.push_back(device);
    code = inquiry.Next(device);
  }
  if (code != kErrorNoMoreItems) result.Note(code);
  return result;
}
