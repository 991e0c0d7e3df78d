// One USB printer found by the scan.
#pragma once

#include <string>

struct UsbPrinterEntry {
  std::wstring pidVid;      // second component of the instance id, "&" turned into blanks
  std::wstring portName;    // "USB%.3d" of the port number; empty when unknown
  std::wstring devicePath;  // device interface path, for direct writes
};
