// The state file of the simulated machine (machine.xml in the machine's folder): read
// whole at start-up, written whole after every change. A write goes to a file beside it
// that then replaces it, so the file is never left half-written.
//
// Threads: no shared state; SimulatedMachine serialises its calls.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "simulated/MachineState.h"

struct MachineStateLoad {
  std::optional<MachineState> state;
  std::string error;  // set when the file exists but cannot be read or understood
};

// A missing file gives neither state nor error.
MachineStateLoad LoadMachineState(const std::filesystem::path& file);
// Empty on success, else what went wrong.
std::string SaveMachineState(const MachineState& state, const std::filesystem::path& file);
