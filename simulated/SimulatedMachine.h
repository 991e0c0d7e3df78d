// The simulated Windows machine of the Linux build.
#pragma once

#include <cstdint>
#include <optional>

class SimulatedMachine {
 public:
  // The UI language the machine is configured with, if any.
  static std::optional<uint16_t> ConfiguredUiLanguage();
};
