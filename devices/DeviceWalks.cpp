#include "devices/DeviceWalks.h"

#include <vector>

#include "base/WindowsErrorCodes.h"
#include "devices/BluetoothPlatform.h"
#include "devices/BluetoothRules.h"
#include "devices/DeviceSet.h"

ScanResult<UsbInterfaceFound> WalkUsbPrinterInterfaces() {
  ScanResult<UsbInterfaceFound> result;
  DeviceSet set(DeviceSetKind::UsbPrinterInterfaces);
  if (set.OpenError() != kErrorSuccess) {
    result.Note(set.OpenError());
    return result;
  }
  for (uint32_t index = 0;; ++index) {
    if (const uint32_t code = set.SelectInterface(index); code != kErrorSuccess) {
      if (code != kErrorNoMoreItems) result.Note(code);
      break;
    }
    UsbInterfaceFound found;
    if (const uint32_t code = set.ReadInterfaceDetail(found.devicePath); code != kErrorSuccess) {
      result.Note(code);
      break;
    }
    uint32_t code = set.ReadInstanceId(found.instanceId);
    if (code == kErrorSuccess) code = set.ReadProperty(DeviceProperty::Description);
    if (code == kErrorSuccess) code = set.ReadProperty(DeviceProperty::HardwareId);
    if (code != kErrorSuccess) {
      result.Note(code);
      continue;
    }
    result.found.push_back(std::move(found));
  }
  return result;
}

ScanResult<SerialPortFound> WalkSerialPortInterfaces() {
  ScanResult<SerialPortFound> result;
  DeviceSet set(DeviceSetKind::SerialPortInterfaces);
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
    SerialPortFound found;
    if (const uint32_t code = set.ReadInstanceId(found.instanceId); code != kErrorSuccess) {
      result.Note(code);
      continue;
    }
    // The value need not end with a NUL inside the buffer: only the bytes read count.
    std::vector<uint8_t> value;
    if (set.ReadPortNameValue(value) == kErrorSuccess)
      found.portName = RegistryStringOfBytes(value.data(), value.size());
    result.found.push_back(std::move(found));
  }
  return result;
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
