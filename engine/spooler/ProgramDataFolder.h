// The program's machine-wide folder, <ProgramData>\QuorvelSetup: the installation lock and
// the console program's logs live there. In the Linux build it is that folder on the
// simulated machine's drive C:.
//
// Threads: any; no state.
#pragma once

#include <filesystem>

// The folder as this process opens it (it may not exist yet); empty when the system names
// no ProgramData folder or no simulated machine is installed.
std::filesystem::path ProgramDataFolder();
