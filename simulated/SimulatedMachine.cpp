#include "simulated/SimulatedMachine.h"

std::optional<uint16_t> SimulatedMachine::ConfiguredUiLanguage() { return std::nullopt; }
