// The main window of the process: the receiver of the numbered messages and the owner of
// message boxes. WizardContext refers to it as mainWindow.
//
// Threads: set on the UI thread when the window is made and cleared when it goes; workers
// read it only while the window shows their run.
#pragma once

#include "base/WindowHandle.h"

ui::WindowHandle& ProcessMainWindow();
