// The removal run: deletes the chosen printers, then the chosen drivers and, on Windows
// Vista and later, each deleted driver's driver package, one log line per step.
//
// Threads: RemovalWorker runs on the removal thread. It reads only its job, which the UI
// thread copied from the wizard before starting the thread, and reports through
// synchronous messages to the main window (751, 753, 756, 757, 758), so every line is
// shown before it goes on. The other functions are plain and callable from any thread.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/WindowHandle.h"
#include "engine/spooler/SpoolerEntry.h"

struct RemovalJob {
  ui::WindowHandle mainWindow = nullptr;
  std::vector<std::wstring> printers;       // in the order they were chosen
  std::set<std::wstring> drivers;           // chosen driver names
  std::vector<SpoolerEntry> driverEntries;  // the driver list they were chosen from
  std::wstring systemEnvironment;           // the environment of the system's own drivers
};

// The name a driver's row shows and the choice holds: the driver name, followed by its
// environment in brackets when that is not the system's own (an x86 driver an older
// installer left on 64-bit Windows), so that one name in two environments makes two rows.
std::wstring DriverChoiceName(const SpoolerEntry& driver, const std::wstring& systemEnvironment);

// Choice name -> entry, for every chosen name with an entry of exactly that choice name (a
// later equal entry replaces an earlier one); chosen names without an entry are dropped.
std::map<std::wstring, SpoolerEntry> BuildDriverWorkList(const std::set<std::wstring>& drivers,
                                                         const std::vector<SpoolerEntry>& driverEntries,
                                                         const std::wstring& systemEnvironment);

// The reason line's text: the system's error text and, when the deletion was refused
// because something still uses it, the names of what uses it in brackets.
std::wstring RemovalFailureReason(uint32_t code, const std::vector<std::wstring>& blockers);

// The printers of the chosen drivers (driver names equal, letter case ignored) appended to
// the chosen printers, each once: a printer goes before its driver, or the driver stays
// in use. A driver whose name merely contains a chosen one keeps its printers.
void AddPrintersOfDrivers(std::vector<std::wstring>& printers, const std::set<std::wstring>& drivers,
                          const std::vector<SpoolerEntry>& printerEntries);

// Whether a removed driver's driver package goes too: Windows Vista (6.0) and later have
// driver packages.
bool SystemDeletesDriverPackages();

// Returns how many deletions failed (0: everything chosen is gone).
int RemovalWorker(const RemovalJob& job);
