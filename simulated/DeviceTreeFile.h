// The device file of the simulated machine (devices.xml in the machine's folder): read
// whole, written whole through a file beside it that then replaces it.
//
// Threads: no shared state; SimulatedDeviceTree serialises its calls.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "simulated/DeviceTreeState.h"

struct DeviceTreeLoad {
  std::optional<DeviceTreeState> state;  // nothing when the file is missing or unreadable
  std::string error;                     // set when it exists but cannot be understood
};

DeviceTreeLoad LoadDeviceTree(const std::filesystem::path& file);
// Empty on success, else what went wrong.
std::string SaveDeviceTree(const DeviceTreeState& state, const std::filesystem::path& file);

// Twelve hex digits, most significant byte first; accepts "-" or ":" between bytes.
std::optional<uint64_t> ParseBluetoothAddress(const std::string& text);
std::string BluetoothAddressText(uint64_t address);
