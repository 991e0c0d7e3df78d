// OpenClipboard and CloseClipboard as a scope. Windows build only.
//
// Threads: any thread; the clipboard is open for one thread at a time.
#pragma once

#include "ui/win32/WindowsHeaders.h"

namespace ui {

class ClipboardSession {
 public:
  // owner: the window that owns what is put on the clipboard (null only for reading).
  explicit ClipboardSession(HWND owner) {
    // Another program may hold the clipboard for a moment.
    for (int attempt = 0; attempt < 5 && !open_; ++attempt) {
      open_ = OpenClipboard(owner) != FALSE;
      if (!open_) Sleep(10);
    }
  }
  ~ClipboardSession() {
    if (open_) CloseClipboard();
  }
  ClipboardSession(const ClipboardSession&) = delete;
  ClipboardSession& operator=(const ClipboardSession&) = delete;

  explicit operator bool() const { return open_; }

 private:
  bool open_ = false;
};

}  // namespace ui
