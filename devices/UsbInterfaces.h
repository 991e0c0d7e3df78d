// The platform's view of USB printers: the present interfaces of the USB printer class
// and the "Port Number" value of a device's registry key. Win32: SetupAPI and the
// registry; Linux build: the simulated machine's device tree.
//
// Threads: any (the scan thread calls them).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct UsbInterfaceFound {
  std::wstring instanceId;
  std::wstring devicePath;
};

// Appends the present interfaces in enumeration order. A member whose instance id or
// properties cannot be read is left out; a member whose detail cannot be read, or an
// allocation that fails, ends the walk with what was found so far.
void WalkUsbPrinterInterfaces(std::vector<UsbInterfaceFound>& found);

// "Port Number" of the key (under HKEY_LOCAL_MACHINE); nothing when the key cannot be
// opened or the value cannot be read.
std::optional<uint32_t> ReadUsbPortNumber(const std::wstring& keyName);
