// Linux build: delivers window messages to the UI thread, as the system does for
// SendMessageW in the product.
//
// Threads: Register, Unregister and DispatchPending are called on the UI thread (the
// thread that registered the window). Send may be called from any thread: on the UI
// thread the handler runs at once; from another thread the message is queued, the host
// is woken through the wake callback, and the sender waits until the UI thread has run it
// or the window is gone (then the result is 0).
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "base/WindowHandle.h"

namespace ui {

class MessageBus {
 public:
  using Handler = std::function<intptr_t(uint32_t message, uintptr_t wParam, intptr_t lParam)>;

  static MessageBus& Instance();

  WindowHandle Register(Handler handler);
  void Unregister(WindowHandle window);
  bool IsWindow(WindowHandle window) const;

  intptr_t Send(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);
  // Runs work on the window's UI thread (at once when called there) and waits for it.
  intptr_t Invoke(WindowHandle window, std::function<intptr_t()> work);

  // Called from a sending thread whenever a message was queued; the host wakes its loop.
  void SetWakeCallback(std::function<void()> wake);
  // Runs every queued message in order; returns how many ran.
  int DispatchPending();
  bool HasPending() const;

 private:
  struct Job;
  intptr_t Enqueue(std::unique_lock<std::mutex>& guard, std::shared_ptr<Job> job);
  struct Window {
    Handler handler;
    std::thread::id owner;
  };
  mutable std::mutex lock_;
  std::map<uintptr_t, std::shared_ptr<Window>> windows_;
  std::deque<std::shared_ptr<Job>> queue_;
  std::function<void()> wake_;
  uintptr_t nextId_ = 1;
};

}  // namespace ui
