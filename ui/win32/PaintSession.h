// BeginPaint and EndPaint of one WM_PAINT as a scope. Windows build only.
//
// Threads: the window's thread.
#pragma once

#include "ui/win32/WindowsHeaders.h"

namespace ui {

class PaintSession {
 public:
  explicit PaintSession(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~PaintSession() {
    if (dc_ != nullptr) EndPaint(window_, &paint_);
  }
  PaintSession(const PaintSession&) = delete;
  PaintSession& operator=(const PaintSession&) = delete;

  HDC Dc() const { return dc_; }
  const RECT& Dirty() const { return paint_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

}  // namespace ui
