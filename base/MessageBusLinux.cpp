#include "base/MessageBus.h"

namespace ui {

struct MessageBus::Job {
  uintptr_t window = 0;
  uint32_t message = 0;
  uintptr_t wParam = 0;
  intptr_t lParam = 0;
  std::function<intptr_t()> work;  // instead of a message, when set
  intptr_t result = 0;
  bool done = false;
  std::condition_variable doneSignal;
};

MessageBus& MessageBus::Instance() {
  // Never destroyed: worker threads may still send while the process ends.
  static auto* bus = new MessageBus();
  return *bus;
}

WindowHandle MessageBus::Register(Handler handler) {
  std::lock_guard guard(lock_);
  const uintptr_t id = nextId_++;
  windows_[id] = std::make_shared<Window>(Window{std::move(handler), std::this_thread::get_id()});
  return reinterpret_cast<WindowHandle>(id);
}

void MessageBus::Unregister(WindowHandle window) {
  std::lock_guard guard(lock_);
  const auto id = reinterpret_cast<uintptr_t>(window);
  windows_.erase(id);
  // Senders still waiting for this window are released with 0.
  for (auto it = queue_.begin(); it != queue_.end();) {
    if ((*it)->window == id) {
      (*it)->done = true;
      (*it)->doneSignal.notify_all();
      it = queue_.erase(it);
    } else {
      ++it;
    }
  }
}

bool MessageBus::IsWindow(WindowHandle window) const {
  std::lock_guard guard(lock_);
  return windows_.count(reinterpret_cast<uintptr_t>(window)) != 0;
}

intptr_t MessageBus::Send(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  const auto id = reinterpret_cast<uintptr_t>(window);
  std::unique_lock guard(lock_);
  auto found = windows_.find(id);
  if (found == windows_.end()) return 0;
  if (found->second->owner == std::this_thread::get_id()) {
    auto target = found->second;
    guard.unlock();
    return target->handler(message, wParam, lParam);
  }
  auto job = std::make_shared<Job>();
  job->window = id;
  job->message = message;
  job->wParam = wParam;
  job->lParam = lParam;
  return Enqueue(guard, std::move(job));
}

intptr_t MessageBus::Invoke(WindowHandle window, std::function<intptr_t()> work) {
  const auto id = reinterpret_cast<uintptr_t>(window);
  std::unique_lock guard(lock_);
  auto found = windows_.find(id);
  if (found == windows_.end()) return 0;
  if (found->second->owner == std::this_thread::get_id()) {
    guard.unlock();
    return work();
  }
  auto job = std::make_shared<Job>();
  job->window = id;
  job->work = std::move(work);
  return Enqueue(guard, std::move(job));
}

intptr_t MessageBus::Enqueue(std::unique_lock<std::mutex>& guard, std::shared_ptr<Job> job) {
  queue_.push_back(job);
  auto wake = wake_;
  guard.unlock();
  if (wake) wake();
  guard.lock();
  job->doneSignal.wait(guard, [&] { return job->done; });
  return job->result;
}

void MessageBus::SetWakeCallback(std::function<void()> wake) {
  std::lock_guard guard(lock_);
  wake_ = std::move(wake);
}

int MessageBus::DispatchPending() {
  int ran = 0;
  for (;;) {
    std::unique_lock guard(lock_);
    if (queue_.empty()) return ran;
    auto job = queue_.front();
    queue_.pop_front();
    auto found = windows_.find(job->window);
    std::shared_ptr<Window> target = found == windows_.end() ? nullptr : found->second;
    guard.unlock();
    // The handler may open a modal loop that dispatches again; the lock is not held.
    intptr_t result = 0;
    if (target) result = job->work ? job->work() : target->handler(job->message, job->wParam, job->lParam);
    guard.lock();
    job->result = result;
    job->done = true;
    job->doneSignal.notify_all();
    ++ran;
  }
}

bool MessageBus::HasPending() const {
  std::lock_guard guard(lock_);
  return !queue_.empty();
}

intptr_t SendWindowMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return MessageBus::Instance().Send(window, message, wParam, lParam);
}

intptr_t RunOnWindowThread(WindowHandle window, const std::function<intptr_t()>& work) {
  return MessageBus::Instance().Invoke(window, work);
}

}  // namespace ui
