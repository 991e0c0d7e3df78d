// What the simulated system's own dialogs (the port monitors', the printer applet's)
// share: each is modal over a window of the toolkit, centred on it, and Escape closes it,
// as in every system dialog (the program's own windows swallow Escape).
//
// Threads: the UI thread that owns the owner window.
#pragma once

#include <cstdint>
#include <string>

#include "base/WindowHandle.h"
#include "ui/window/WindowImplBase.h"

class SystemDialog : public ui::WindowImplBase {
 public:
  // Shows the dialog and returns when it is closed; false when the owner is no window of
  // the toolkit (tests and tools may pass none) or the window could not be made.
  bool RunModal(ui::WindowHandle owner, const std::wstring& title, int width, int height);

 protected:
  intptr_t HandleCustomMessage(uint32_t, uintptr_t, intptr_t, bool&) override { return 0; }
  intptr_t MessageHandler(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled) override;
};
