// One time-stamped line (or, with clear, an empty pane) in a log pane of the main window,
// through messages 752 (install) and 751 (removal). Workers call these with the main
// window handle they were given.
//
// Threads: any; returns when the line is shown. A destroyed window loses the line: the
// log never fails a run.
#pragma once

#include <string>

#include "base/WindowHandle.h"

void AppendInstallLine(ui::WindowHandle mainWindow, std::wstring text, bool error, bool clear);
void AppendRemoveLine(ui::WindowHandle mainWindow, std::wstring text, bool error, bool clear);
