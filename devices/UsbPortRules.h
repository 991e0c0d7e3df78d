// How a USB printer interface turns into a row of the scan: the text shown for its
// device ids, the spooler's port name of its port number, and the registry key that
// holds that number.
//
// Threads: any; no state.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Units of the buffer the registry key name is formatted into, its terminator included.
constexpr size_t kUsbPortKeyCapacity = 1024;

// The second backslash-separated component with every "&" turned into a blank; the
// whole id when it has fewer than two components.
std::wstring PidVidOfInstanceId(std::wstring_view instanceId);

// "USB%.3d" of the number; empty for 0, which names no port.
std::wstring UsbPortNameOfNumber(uint32_t portNumber);

// The key under HKEY_LOCAL_MACHINE that holds the device's "Port Number". Nothing when
// the name would not fit its buffer: a cut name could be another device's key.
std::optional<std::wstring> UsbPortKeyName(std::wstring_view instanceId);
