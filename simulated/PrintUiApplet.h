// The printer-installation applet (printui.dll's PrintUIEntry, run by rundll32.exe) on
// the simulated machine: /ia installs a driver from an INF, /e and /p open the printer's
// preferences and properties, /k prints a test page.
//
// Threads: not locked; SimulatedMachine calls it under its own lock.
#pragma once

#include <string>

#include "simulated/ShellEvent.h"
#include "simulated/SimulatedSpooler.h"

// parameters: rundll32's command line ("printui.dll, PrintUIEntry /k /n"Name"").
ShellEvent RunPrintUiApplet(const std::wstring& parameters, SimulatedSpooler& spooler);
