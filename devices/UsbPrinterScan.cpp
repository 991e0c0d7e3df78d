#include "devices/UsbPrinterScan.h"

#include "devices/UsbInterfaces.h"
#include "devices/UsbPortRules.h"
#include "engine/spooler/SystemOperations.h"

namespace {
// The device may still be settling after the user plugged it in.
constexpr uint32_t kSettleMs = 1000;
}  // namespace

bool ReadUsbPortName(const std::wstring& instanceId, std::wstring& portName) {
  portName.clear();
  const auto key = UsbPortKeyName(instanceId);
  if (!key) return false;
  const auto number = ReadUsbPortNumber(*key);
  if (!number || *number == 0) return false;
  portName = UsbPortNameOfNumber(*number);
  return true;
}

std::vector<UsbPrinterEntry> ScanUsbPrinters() {
  SleepMs(kSettleMs);
  std::vector<UsbInterfaceFound> found;
  WalkUsbPrinterInterfaces(found);
  std::vector<UsbPrinterEntry> printers;
  printers.reserve(found.size());
  for (auto& device : found) {
    UsbPrinterEntry entry;
    ReadUsbPortName(device.instanceId, entry.portName);
    entry.pidVid = PidVidOfInstanceId(device.instanceId);
    entry.devicePath = std::move(device.devicePath);
    printers.push_back(std::move(entry));
  }
  return printers;
}
