// The console program's choices checked against the machine, as the wizard's pages check
// them (address, PIN, printer and port names in use, the port present, the device found),
// and turned into the very inputs that the wizard hands to its workers.
//
// Threads: the console program's only thread.
#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "devices/RemovalWorker.h"
#include "engine/InstallationInputs.h"
#include "shell/console/ConsoleOptions.h"

// A check that failed because of the machine rather than the choices (no Bluetooth radio,
// a list of the spooler that cannot be read): the run fails (1603) with this text.
struct MachineRefusal {
  std::wstring text;
};

// The refusal for a list or device search that the machine could not answer in full: the
// key's text with the system's reason for the error.
MachineRefusal UnansweredRefusal(const wchar_t* key, uint32_t error);

using InstallPlan = std::variant<InstallationInputs, OptionError, MachineRefusal>;
using RemovalPlan = std::variant<RemovalJob, OptionError, MachineRefusal>;

InstallPlan PlanInstallation(const ConsoleOptions& options);
RemovalPlan PlanRemoval(const ConsoleOptions& options);

// Twelve hex digits, optionally in pairs separated by ":" or "-"; nothing otherwise.
std::optional<uint64_t> ParseBluetoothAddress(std::wstring_view text);

// The steps a run would take, one line each, for --what-if.
std::vector<std::wstring> DescribeInstallation(const InstallationInputs& inputs);
std::vector<std::wstring> DescribeRemoval(const RemovalJob& job);
