// What one installation run achieved, filled by the worker and read when it finishes.
//
// Threads: the installation worker only.
#pragma once

#include <string>

struct InstallResult {
  bool succeeded = false;           // the printer queue was added
  bool networkPortCreated = false;  // a Standard TCP/IP port was added for the run
  // The serial port that the Bluetooth port stage found, with its ":"; empty otherwise.
  std::wstring bluetoothPortName;
};
