// The "Port Number" value of a USB printer interface's Device Parameters key. Win32: the
// registry; Linux build: the simulated machine's device tree.
//
// Threads: any; no state.
#pragma once

#include <cstdint>
#include <string>

// RegOpenKeyExW of the key (under HKEY_LOCAL_MACHINE) and RegQueryValueExW of the value:
// 0 and the number, else the error of the failing call (2 when the key or value is missing).
uint32_t ReadUsbPortNumber(const std::wstring& keyName, uint32_t& number);
