// Selects a GDI object into a device context for one scope and puts the previous one
// back, so an object is never deleted while still selected. Windows build only.
//
// Threads: the thread that uses the device context.
#pragma once

#include "ui/win32/WindowsHeaders.h"

namespace ui {

class GdiSelection {
 public:
  GdiSelection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~GdiSelection() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  GdiSelection(const GdiSelection&) = delete;
  GdiSelection& operator=(const GdiSelection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace ui
