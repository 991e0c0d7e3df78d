// ImmGetContext and ImmReleaseContext as a scope: the input-method context of a window.
// Windows build only.
//
// Threads: the window's thread.
#pragma once

#include "ui/win32/WindowsHeaders.h"

#include <imm.h>  // after <windows.h>

namespace ui {

class ImeContext {
 public:
  explicit ImeContext(HWND window) : window_(window), context_(ImmGetContext(window)) {}
  ~ImeContext() {
    if (context_ != nullptr) ImmReleaseContext(window_, context_);
  }
  ImeContext(const ImeContext&) = delete;
  ImeContext& operator=(const ImeContext&) = delete;

  HIMC Get() const { return context_; }
  explicit operator bool() const { return context_ != nullptr; }

 private:
  HWND window_;
  HIMC context_;
};

}  // namespace ui
