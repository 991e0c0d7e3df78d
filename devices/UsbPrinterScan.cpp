#include "devices/UsbPrinterScan.h"

#include "base/WindowsErrorCodes.h"
#include "devices/DeviceWalks.h"
#include "devices/UsbPortNumber.h"
#include "devices/UsbPortRules.h"
#include "engine/spooler/SystemOperations.h"

namespace {

// The device may still be settling after the user plugged it in.
constexpr uint32_t kSettleMs = 1000;

// The port name, empty when the device has none; the error of a registry read that
// failed for another reason than a missing key or value.
uint32_t LookUpPortName(const std::wstring& instanceId, std::wstring& portName) {
  portName.clear();
  const auto key = UsbPortKeyName(instanceId);
  if (!key) return kErrorSuccess;
  uint32_t number = 0;
  const uint32_t code = ReadUsbPortNumber(*key, number);
  if (code != kErrorSuccess) return code == kErrorFileNotFound ? kErrorSuccess : code;
  portName = UsbPortNameOfNumber(number);
  return kErrorSuccess;
}

}  // namespace

bool ReadUsbPortName(const std::wstring& instanceId, std::wstring& portName) {
  LookUpPortName(instanceId, portName);
  return !portName.empty();
}

ScanResult<UsbPrinterEntry> ScanUsbPrinters() {
  SleepMs(kSettleMs);
  ScanResult<UsbInterfaceFound> walk = WalkUsbPrinterInterfaces();
  ScanResult<UsbPrinterEntry> scan;
  scan.Note(walk.error);
  scan.found.reserve(walk.found.size());
  for (auto& device : walk.found) {
    UsbPrinterEntry entry;
    scan.Note(LookUpPortName(device.instanceId, entry.portName));
    entry.pidVid = PidVidOfInstanceId(device.instanceId);
    entry.devicePath = std::move(device.devicePath);
    scan.found.push_back(std::move(entry));
  }
  return scan;
}
