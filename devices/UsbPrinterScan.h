// The USB printer scan: every present USB printer interface with its port name.
//
// Threads: any; ScanUsbPrinters waits 1000 ms first and runs on the scan thread.
#pragma once

#include <string>

#include "devices/ScanResult.h"
#include "devices/UsbPrinterEntry.h"

// The printers in enumeration order; what was found before a failure is kept, and the
// failure's code with it. A port number that is missing is no failure: the printer is
// listed without a port.
ScanResult<UsbPrinterEntry> ScanUsbPrinters();

// The "USB%.3d" port name of the device; false (and an empty name) when its key or a
// non-zero "Port Number" cannot be read.
bool ReadUsbPortName(const std::wstring& instanceId, std::wstring& portName);
