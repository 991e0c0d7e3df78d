// The state of a newly set-up Windows 10 x64 machine: its local ports and port monitors,
// the in-box printers with their drivers and driver packages, a default printer.
#pragma once

#include <string>
#include <vector>

#include "simulated/MachineState.h"

MachineState FreshMachineState();

// Folders every fresh machine has on its drive C:.
std::vector<std::wstring> FreshMachineFolders();
