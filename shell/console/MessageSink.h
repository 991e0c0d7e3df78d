// A window that only receives the main window's numbered messages, for a program without
// windows: the console program hands its handle to the workers as their main window, so
// they run unchanged and their log lines arrive here.
//
// Threads: made, used and destroyed on one thread; the workers run on that same thread,
// so every message is handled at once, within the sender's call.
#pragma once

#include <cstdint>
#include <functional>

#include "base/WindowHandle.h"

class MessageSink {
 public:
  using Handler = std::function<void(uint32_t message, uintptr_t wParam, intptr_t lParam)>;

  explicit MessageSink(Handler handler);
  ~MessageSink();
  MessageSink(const MessageSink&) = delete;
  MessageSink& operator=(const MessageSink&) = delete;

  // Null when the window could not be made (the workers then write nowhere).
  ui::WindowHandle Handle() const { return window_; }

 private:
  Handler handler_;
  ui::WindowHandle window_ = nullptr;

  friend struct MessageSinkAccess;
};
