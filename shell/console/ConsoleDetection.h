// The "detect" verb: whether the family's driver (of one model, when named) is installed
// for the system's printers and, when a printer is named, whether that printer exists on
// it. Deployment tools read the answer from the exit code and standard output alone.
//
// Threads: the console program's only thread.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "engine/spooler/SpoolerEntry.h"
#include "shell/console/ConsoleOptions.h"
#include "shell/console/ConsolePlan.h"

struct DetectedInstallation {
  std::vector<SpoolerEntry> drivers;      // the family's drivers found (the printer's alone when one is named)
  std::vector<SpoolerEntry> printers;     // the named printer, when one is named
  std::vector<SpoolerEntry> allPrinters;  // every printer, for the drivers' records
};

// Why the installation is not there, in the current language.
struct DetectionAbsent {
  std::wstring reason;
};

// A spooler list that cannot be read answers neither way: a refusal (1603).
std::variant<DetectedInstallation, DetectionAbsent, MachineRefusal> DetectInstallation(const ConsoleOptions& options);

// The one line of a found installation, and its records as one JSON object
// ({"printer": ... or null, "drivers": [...]}); each ends with "\n".
std::wstring DescribeDetection(const DetectedInstallation& found);
std::wstring DetectionJson(const DetectedInstallation& found);
