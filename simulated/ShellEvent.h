// One program started through the shell on the simulated machine, with what the user
// would have seen of it.
#pragma once

#include <cstdint>
#include <string>

#include "simulated/PrintUiView.h"

struct ShellEvent {
  std::wstring program;  // "rundll32.exe", "certutil.exe"
  std::wstring parameters;
  int showState = 1;
  std::wstring shown;  // the window or console text the program showed
  uint32_t exitCode = 0;
  uint32_t durationMs = 0;  // how long the program runs on a real machine
  PrintUiView window;       // the printer applet's window, drawn by the caller
};
