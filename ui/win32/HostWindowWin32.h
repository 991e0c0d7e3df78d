// A top-level window of the Windows host: a borderless WS_POPUP window (the toolkit draws
// its caption) that paints double-buffered through a GDI canvas and reports input, timers
// and window messages to its HostWindowEvents.
//
// Lifecycle: created hidden by HostWin32::CreateHostWindow. Destroy() (or the system
// destroying the window, e.g. with its owner) calls OnDestroyed, from which the events
// object may delete this HostWindowWin32. Deleting a window that is still alive destroys
// the HWND quietly, without OnDestroyed.
//
// Display scale: the process is per-monitor aware (the manifest). When the window goes to
// a monitor of another scale, WM_DPICHANGED reports OnScaleChanged with the new scale,
// rescales the size limits and bands of the create parameters and moves the window to
// the rectangle the system suggests.
//
// Threads: UI thread only (the thread that created it). Other threads reach the window
// only through ui::SendWindowMessage with its Handle(); the procedure hands every message
// in the window's own range (WindowCreateParams) to OnWindowMessage on the UI thread.
//
// Caption and borders (WM_NCHITTEST): the toolkit's own answer to
// OnWindowMessage(WM_NCHITTEST, 0, screen point as MAKELPARAM), as the GTK host asks it:
// it knows where its controls are. Only when it answers 0 (not handled) does the host
// decide: the resize border of the create parameters (resizable windows, not maximised),
// then HTCAPTION in the top captionHeight pixels, else HTCLIENT.
//
// Assistive technology: WM_GETOBJECT goes to the window's UiAutomationWindow, which
// serves the controls of HostWindowEvents::AccessibleTree() through UI Automation.
#pragma once

#include "ui/win32/WindowsHeaders.h"

#include <memory>
#include <string>

#include "ui/core/Host.h"
#include "ui/win32/DibSurface.h"
#include "ui/win32/FontCacheGdi.h"
#include "ui/win32/UiAutomationWindow.h"
#include "ui/win32/WindowClassRegistry.h"

namespace ui {

class HostWindowWin32 final : public HostWindow {
 public:
  // Handle() is null when the system refused the window (no display, no class).
  HostWindowWin32(HostWindowEvents& events, const WindowCreateParams& params, WindowClassRegistry& classes,
                  std::shared_ptr<FontCacheGdi> fonts);
  ~HostWindowWin32() override;
  HostWindowWin32(const HostWindowWin32&) = delete;
  HostWindowWin32& operator=(const HostWindowWin32&) = delete;

  WindowHandle Handle() const override { return hwnd_; }
  void SetTitle(const std::wstring& title) override;
  std::wstring Title() const override;
  void SetBounds(const Rect& screenRect) override;
  Rect Bounds() const override;
  Size ClientSize() const override;
  void CenterOver(WindowHandle owner) override;
  void Show(bool visible) override;
  void Minimize() override;
  void SetEnabled(bool enabled) override;
  bool IsEnabled() const override;
  void Invalidate(const Rect& rect) override;
  void InvalidateAll() override;
  void SetTimer(int timerId, int intervalMs) override;
  void KillTimer(int timerId) override;
  void CaptureMouse(bool capture) override;
  void SetCaretRect(const Rect& caret) override;
  void Destroy() override;

  // The window procedure of every class of the host.
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // What the last paint drew (tests read painted pixels here).
  const DibSurface& BackBuffer() const { return *backBuffer_; }

 private:
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HitTest(LPARAM screenPoint);
  int BorderHit(POINT client) const;
  void Paint();
  void Mouse(MouseAction action, MouseButton button, WPARAM wParam, LPARAM lParam);
  void Wheel(WPARAM wParam, LPARAM lParam);
  void Key(bool down, WPARAM virtualKey, LPARAM lParam);
  void Character(wchar_t unit);
  LRESULT ImeComposition(WPARAM wParam, LPARAM lParam);
  void ChangeScale(int dpi, RECT suggested);
  UiAutomationWindow& Automation();

  HostWindowEvents& events_;
  WindowCreateParams params_;
  std::shared_ptr<FontCacheGdi> fonts_;
  std::shared_ptr<DibSurface> backBuffer_;
  HWND hwnd_ = nullptr;
  bool created_ = false;  // CreateWindowExW returned
  bool destroyed_ = false;
  bool trackingLeave_ = false;
  wchar_t highSurrogate_ = 0;  // the first half of a pair that WM_CHAR delivers in two
  int scalePercent_ = 100;     // the display scale that params_' sizes were made for
  // Made at the first WM_GETOBJECT.
  std::unique_ptr<UiAutomationWindow> automation_;
  // Set to false when this object is deleted; handlers keep a copy across calls into the
  // toolkit, which may delete the window.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace ui
