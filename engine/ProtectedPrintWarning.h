// What the installation says about Windows protected print mode. It changes nothing:
// the driver stage still runs and meets the spooler's own answer.
//
// Threads: WarnIfProtectedPrintMode from the installation worker (it sends to the main
// window and waits); ProtectedPrintRefusalText from any thread.
#pragma once

#include <string>

#include "base/WindowHandle.h"

// Before the driver stage: one red line in the install log that names the mode and the
// setting that turns it off, when the mode is on. True when it wrote the line.
bool WarnIfProtectedPrintMode(ui::WindowHandle mainWindow);

// The console program's check before any change: its message when the mode is on (it
// then ends with kErrorInstallFailure, 1603), else empty.
std::wstring ProtectedPrintRefusalText();
