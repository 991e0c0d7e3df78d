// The console program: unattended listing, installation and removal for deployment
// tools, with the wizard's checks, workers and log lines, and exit codes that such tools
// read as they read an installer's.
//
// Threads: the program's only thread; the workers run on it, within the call.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shell/console/ConsoleStreams.h"

enum ConsoleExitCode : int {
  kExitSuccess = 0,
  kExitNotDetected = 1,        // detect: the installation is not there
  kExitAccessDenied = 5,       // not running with administrator rights
  kExitBadArguments = 87,      // a bad option, value or answer file; nothing changed
  kExitStepFailed = 1603,      // a step of the run failed
  kExitAnotherRunning = 1618,  // another installation or removal holds the machine
};

// The arguments without the program name. Opens the embedded package unless one is open,
// loads the language, checks, and runs.
int RunConsoleProgram(const std::vector<std::wstring>& arguments, const ConsoleStreams& streams);
