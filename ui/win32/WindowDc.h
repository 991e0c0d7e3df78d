// GetDC and ReleaseDC as a scope: the DC of a window's client area, or of the screen
// for a null window. Windows build only.
//
// Threads: the window's thread (any thread for the screen).
#pragma once

#include "ui/win32/WindowsHeaders.h"

namespace ui {

class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;

  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

}  // namespace ui
