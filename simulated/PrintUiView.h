// What a window of the simulated printer applet shows: printing preferences or printer
// properties of a printer (its name, driver and port), or the confirmation that a test
// page was sent. Kind None: the command opens no window (/ia, a failure).
#pragma once

#include <string>

enum class PrintUiWindowKind { None, Preferences, Properties, TestPage };

struct PrintUiView {
  PrintUiWindowKind kind = PrintUiWindowKind::None;
  std::wstring printerName;
  std::wstring driverName;
  std::wstring portName;
};
