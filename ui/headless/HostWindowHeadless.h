// A window of the headless host (Linux build): no OS window, a cairo image surface that
// it paints into when asked, timers on the host's virtual clock, and window messages
// through the message bus like every window of the Linux build.
//
// Lifecycle: Destroy() unregisters the handle, drops the timers and calls OnDestroyed as
// its last act (the toolkit may delete this object there). Deleting a window that was
// not destroyed unregisters it quietly.
//
// Threads: UI thread only; other threads reach the window only through its Handle().
#pragma once

#include <cairo.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "ui/core/Host.h"

namespace ui {

class HostHeadless;

class HostWindowHeadless final : public HostWindow {
 public:
  struct Timer {
    int intervalMs = 0;
    int64_t due = 0;
  };

  HostWindowHeadless(HostHeadless& host, HostWindowEvents& events, const WindowCreateParams& params);
  ~HostWindowHeadless() override;
  HostWindowHeadless(const HostWindowHeadless&) = delete;
  HostWindowHeadless& operator=(const HostWindowHeadless&) = delete;

  WindowHandle Handle() const override { return handle_; }
  void SetTitle(const std::wstring& title) override { title_ = title; }
  std::wstring Title() const override { return title_; }
  void SetBounds(const Rect& screenRect) override;
  Rect Bounds() const override { return bounds_; }
  Size ClientSize() const override { return {bounds_.Width(), bounds_.Height()}; }
  void CenterOver(WindowHandle owner) override;
  void Show(bool visible) override;
  void Minimize() override { minimized_ = true; }
  void SetEnabled(bool enabled) override { enabled_ = enabled; }
  bool IsEnabled() const override { return enabled_; }
  void Invalidate(const Rect& rect) override;
  void InvalidateAll() override;
  void SetTimer(int timerId, int intervalMs) override;
  void KillTimer(int timerId) override { timers_.erase(timerId); }
  void CaptureMouse(bool capture) override { captured_ = capture; }
  void SetCaretRect(const Rect& caret) override { caret_ = caret; }
  void Destroy() override;

  // ---- for the host and for tests
  HostWindowEvents& Events() { return events_; }
  const WindowCreateParams& Params() const { return params_; }
  bool IsDestroyed() const { return destroyed_; }
  bool IsVisible() const { return visible_; }
  bool IsMinimized() const { return minimized_; }
  bool HasCapture() const { return captured_; }
  Rect CaretRect() const { return caret_; }
  bool NeedsPaint() const { return !dirty_.IsEmpty(); }
  int PaintCount() const { return paints_; }
  // Paints what is invalid (everything with whole) into the surface.
  void Paint(bool whole);
  cairo_surface_t* Surface() const { return surface_.get(); }
  std::map<int, Timer>& Timers() { return timers_; }
  void DetachHost() { host_ = nullptr; }

 private:
  using Surface_ = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

  HostHeadless* host_;
  HostWindowEvents& events_;
  WindowCreateParams params_;
  WindowHandle handle_ = nullptr;
  std::wstring title_;
  Rect bounds_;
  Rect dirty_;
  Rect caret_;
  bool visible_ = false;
  bool enabled_ = true;
  bool minimized_ = false;
  bool captured_ = false;
  bool destroyed_ = false;
  int paints_ = 0;
  std::map<int, Timer> timers_;
  Surface_ surface_{nullptr, &cairo_surface_destroy};
};

}  // namespace ui
