// Sections: the Host interface; loops and time; input; windows and pictures; message
// boxes.
#include "ui/headless/HostHeadless.h"

#include <algorithm>
#include <cstdio>

#include "base/MessageBus.h"
#include "ui/core/CWindowWnd.h"
#include "ui/core/WindowTree.h"

namespace ui {

namespace {
constexpr auto kFrame = std::chrono::milliseconds(16);
}

// ---- the Host interface ---------------------------------------------------------------

HostHeadless::HostHeadless(int scalePercent) : scale_(scalePercent) {
  // The wake holds only its own state, so a late sender never reaches a deleted host.
  std::weak_ptr<Wake> wake = wake_;
  MessageBus::Instance().SetWakeCallback([wake] {
    if (auto state = wake.lock()) {
      std::lock_guard guard(state->lock);
      state->woken = true;
      state->signal.notify_all();
    }
  });
}

HostHeadless::~HostHeadless() {
  // The wake stays installed: a newer host may have put its own there already, and this
  // one's only holds a weak reference.
  for (HostWindowHeadless* window : windows_) window->DetachHost();
}

std::unique_ptr<HostWindow> HostHeadless::CreateHostWindow(HostWindowEvents& events, const WindowCreateParams& params) {
  auto window = std::make_unique<HostWindowHeadless>(*this, events, params);
  windows_.push_back(window.get());
  return window;
}

int HostHeadless::RunMessageLoop() {
  Loop([] { return false; });
  // The loop takes the quit message, as GetMessage does.
  quitPosted_ = false;
  return exitCode_;
}

void HostHeadless::RunModalLoop(const std::function<bool()>& done) {
  Loop(done);
}

void HostHeadless::PostQuit(int exitCode) {
  quitPosted_ = true;
  exitCode_ = exitCode;
}

// ---- loops and time -------------------------------------------------------------------

bool HostHeadless::PaintInvalid(bool paced) {
  if (paced && Clock::now() - lastPaint_ < kFrame) return false;
  bool painted = false;
  const std::vector<HostWindowHeadless*> windows = windows_;
  for (HostWindowHeadless* window : windows) {
    if (std::find(windows_.begin(), windows_.end(), window) == windows_.end()) continue;
    if (window->IsDestroyed() || !window->IsVisible() || window->IsMinimized() || !window->NeedsPaint()) continue;
    window->Paint(false);
    painted = true;
  }
  if (painted) lastPaint_ = Clock::now();
  return painted;
}

void HostHeadless::SetHighContrast(bool on, const SystemColors& colors) {
  highContrast_ = on;
  highContrastColors_ = colors;
  for (HostWindowHeadless* window : windows_) window->InvalidateAll();
}

void HostHeadless::RunUntilIdle() {
  for (int round = 0; round < 1000; ++round) {
    const int ran = MessageBus::Instance().DispatchPending();
    const bool painted = PaintInvalid(false);
    if (ran == 0 && !painted) return;
  }
  std::fputs("quorvel-ui: headless host: still busy after 1000 rounds (a paint that invalidates itself?)\n", stderr);
}

void HostHeadless::Loop(const std::function<bool()>& done) {
  auto& bus = MessageBus::Instance();
  while (!quitPosted_ && !done()) {
    const int ran = bus.DispatchPending();
    if (quitPosted_ || done()) break;
    const bool painted = PaintInvalid(true);
    if (ran > 0 || painted) continue;
    if (!idleActions_.empty()) {
      auto action = std::move(idleActions_.front());
      idleActions_.pop_front();
      action();
      continue;
    }
    bool dirty = false;
    for (HostWindowHeadless* window : windows_) {
      dirty = dirty || (window->IsVisible() && !window->IsMinimized() && window->NeedsPaint());
    }
    // Wait for another thread's message, or for the next frame when a paint is due.
    const auto limit = dirty ? std::chrono::duration_cast<std::chrono::milliseconds>(kFrame) : idleTimeout_;
    std::unique_lock guard(wake_->lock);
    const bool woken = wake_->signal.wait_for(guard, limit, [&] { return wake_->woken; });
    wake_->woken = false;
    guard.unlock();
    if (!woken && !dirty && !bus.HasPending()) {
      std::fprintf(stderr, "quorvel-ui: headless loop idle for %lld ms with nothing to wait for; quitting with -1\n",
                   static_cast<long long>(idleTimeout_.count()));
      PostQuit(-1);
    }
  }
}

void HostHeadless::AdvanceTime(int milliseconds) {
  const int64_t target = now_ + std::max(0, milliseconds);
  for (;;) {
    HostWindowHeadless* next = nullptr;
    int nextId = 0;
    int64_t due = target + 1;
    for (HostWindowHeadless* window : windows_) {
      for (const auto& [id, timer] : window->Timers()) {
        if (timer.due < due) {
          due = timer.due;
          next = window;
          nextId = id;
        }
      }
    }
    if (next == nullptr) break;
    now_ = std::max(now_, due);
    auto& timer = next->Timers()[nextId];
    timer.due += timer.intervalMs;
    next->Events().OnTimer(nextId);  // may destroy the window
    RunUntilIdle();
  }
  now_ = target;
  RunUntilIdle();
}

void HostHeadless::QueueIdleAction(std::function<void()> action) {
  idleActions_.push_back(std::move(action));
}

// ---- input ----------------------------------------------------------------------------

bool HostHeadless::Usable(HostWindowHeadless* window) const {
  return window != nullptr && window->IsVisible() && window->IsEnabled() && !window->IsMinimized();
}

bool HostHeadless::MoveMouse(WindowHandle handle, Point point) {
  RunUntilIdle();
  HostWindowHeadless* window = Window(handle);
  if (!Usable(window)) return false;
  window->Events().OnMouse({MouseAction::Move, MouseButton::None, point});
  RunUntilIdle();
  return true;
}

bool HostHeadless::Click(WindowHandle handle, Point point, MouseButton button) {
  RunUntilIdle();
  HostWindowHeadless* window = Window(handle);
  if (!Usable(window)) return false;
  window->Events().OnMouse({MouseAction::Move, MouseButton::None, point});
  // Each step may close the window; it is looked up again each time.
  if ((window = Window(handle)) != nullptr) window->Events().OnMouse({MouseAction::Down, button, point});
  if ((window = Window(handle)) != nullptr) window->Events().OnMouse({MouseAction::Up, button, point});
  RunUntilIdle();
  return true;
}

bool HostHeadless::Wheel(WindowHandle handle, Point point, int delta) {
  RunUntilIdle();
  HostWindowHeadless* window = Window(handle);
  if (!Usable(window)) return false;
  MouseEvent event{MouseAction::Wheel, MouseButton::None, point};
  event.wheelDelta = delta;
  window->Events().OnMouse(event);
  RunUntilIdle();
  return true;
}

bool HostHeadless::PressKey(WindowHandle handle, unsigned key, bool shift, bool control, bool alt) {
  RunUntilIdle();
  HostWindowHeadless* window = Window(handle);
  if (!Usable(window)) return false;
  window->Events().OnKey({true, key, shift, control, alt});
  if ((window = Window(handle)) != nullptr) window->Events().OnKey({false, key, shift, control, alt});
  RunUntilIdle();
  return true;
}

bool HostHeadless::TypeText(WindowHandle handle, const std::wstring& text) {
  RunUntilIdle();
  HostWindowHeadless* window = Window(handle);
  if (!Usable(window)) return false;
  window->Events().OnText(text);
  RunUntilIdle();
  return true;
}

bool HostHeadless::RequestClose(WindowHandle handle) {
  HostWindowHeadless* window = Window(handle);
  if (window == nullptr || !window->IsEnabled()) return false;
  window->Events().OnCloseRequest();
  RunUntilIdle();
  return true;
}

bool HostHeadless::ClickControl(WindowHandle handle, std::wstring_view name) {
  RunUntilIdle();
  CWindowWnd* owner = CWindowWnd::FromHandle(handle);
  const WindowTree* tree = owner ? owner->ControlTree() : nullptr;
  if (tree == nullptr) return false;
  Control* control = tree->FindControl<Control>(name);
  if (control == nullptr || !control->IsShownInTree() || control->GetPos().IsEmpty()) return false;
  const Rect& place = control->GetPos();
  return Click(handle, {place.left + place.Width() / 2, place.top + place.Height() / 2});
}

// ---- windows and pictures -------------------------------------------------------------

HostWindowHeadless* HostHeadless::Window(WindowHandle handle) const {
  for (HostWindowHeadless* window : windows_) {
    if (window->Handle() == handle && !window->IsDestroyed()) return window;
  }
  return nullptr;
}

std::vector<WindowHandle> HostHeadless::Windows() const {
  std::vector<WindowHandle> handles;
  for (HostWindowHeadless* window : windows_) {
    if (!window->IsDestroyed()) handles.push_back(window->Handle());
  }
  return handles;
}

void HostHeadless::Forget(HostWindowHeadless* window) {
  std::erase(windows_, window);
  if (focused_ == window) {
    focused_ = nullptr;
    // The owner gets the focus back, as the system gives it back after a popup.
    if (HostWindowHeadless* owner = Window(window->Params().owner); owner != nullptr && owner->IsVisible()) {
      Focus(owner);
    }
  }
}

void HostHeadless::Focus(HostWindowHeadless* window) {
  if (focused_ == window) return;
  HostWindowHeadless* previous = focused_;
  focused_ = window;
  if (previous != nullptr) previous->Events().OnFocusChanged(false);
  if (window != nullptr) window->Events().OnFocusChanged(true);
}

bool HostHeadless::RenderToPng(WindowHandle handle, const std::string& path) {
  RunUntilIdle();
  HostWindowHeadless* window = Window(handle);
  if (window == nullptr) return false;
  window->Paint(true);
  if (window->Surface() == nullptr) return false;
  return cairo_surface_write_to_png(window->Surface(), path.c_str()) == CAIRO_STATUS_SUCCESS;
}

uint32_t HostHeadless::PixelAt(WindowHandle handle, Point point) {
  RunUntilIdle();
  HostWindowHeadless* window = Window(handle);
  if (window == nullptr) return 0;
  if (window->Surface() == nullptr || window->NeedsPaint()) window->Paint(window->Surface() == nullptr);
  cairo_surface_t* surface = window->Surface();
  if (surface == nullptr) return 0;
  const int width = cairo_image_surface_get_width(surface);
  const int height = cairo_image_surface_get_height(surface);
  if (point.x < 0 || point.y < 0 || point.x >= width || point.y >= height) return 0;
  const unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  return *reinterpret_cast<const uint32_t*>(data + point.y * stride + point.x * 4);
}

// ---- message boxes --------------------------------------------------------------------

int HostHeadless::ShowMessageBox(WindowHandle owner, const std::wstring& text, const std::wstring& caption,
                                 unsigned flags) {
  std::lock_guard guard(boxLock_);
  boxes_.push_back({owner, text, caption, flags});
  if (boxAnswers_.empty()) return 1;
  const int answer = boxAnswers_.front();
  boxAnswers_.pop_front();
  return answer;
}

void HostHeadless::QueueMessageBoxAnswer(int answer) {
  std::lock_guard guard(boxLock_);
  boxAnswers_.push_back(answer);
}

std::vector<HostHeadless::MessageBoxRecord> HostHeadless::MessageBoxes() const {
  std::lock_guard guard(boxLock_);
  return boxes_;
}

}  // namespace ui
