// The machine's installation lock (engine/spooler/InstallationLock.h) as the wizard takes it:
// on the UI thread, by the press of Next that would start a run, before the wizard moves
// or changes anything. When another run (another wizard, the console program) holds it, the
// user is told ("tip.anotherrun") and the wizard stays where it was. Otherwise the lock waits
// here until the start of the run takes it and hands it to the worker thread, which
// releases it when the run has ended.
//
// Threads: UI thread.
#pragma once

#include "engine/spooler/InstallationLock.h"

// Takes the lock for the run the next panel starts (or keeps the one already reserved);
// false, after telling the user, when another run holds it.
bool ReserveRunLock();
// The reserved lock; when none is reserved (a start without Next), one taken now, the user
// told when it is not held.
InstallationLock TakeRunLock();
// Lets go of a reservation that no start took.
void DropRunLock();
