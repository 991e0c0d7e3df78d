// The platform part of the toolkit: real or headless windows, the event loop, modal
// loops, system message boxes, the clipboard and the display scale. One host is installed
// at start-up: the Windows host in the product, the GTK host in the Linux program, the
// headless host in tests and the snapshot tool.
//
// Threads: everything here runs on the UI thread, except that any thread may send a
// window message through ui::SendWindowMessage (ui/WindowMessage.h), which every host
// delivers to HostWindowEvents::OnWindowMessage on the UI thread.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "base/WindowHandle.h"
#include "ui/core/Canvas.h"
#include "ui/core/Geometry.h"

namespace ui {

class WindowTree;

enum class MouseButton { None, Left, Right, Middle };
enum class MouseAction { Move, Down, Up, DoubleClick, Wheel, Leave };

struct MouseEvent {
  MouseAction action = MouseAction::Move;
  MouseButton button = MouseButton::None;
  Point position;      // client pixels
  int wheelDelta = 0;  // positive away from the user, 120 per notch
  bool shift = false;
  bool control = false;
};

// Virtual key codes follow Windows (VK_RETURN 13, VK_ESCAPE 27, VK_TAB 9, VK_LEFT 37 ...).
struct KeyEvent {
  bool down = true;
  unsigned key = 0;
  bool shift = false;
  bool control = false;
  bool alt = false;
};

// What a host window reports to the toolkit window that owns it.
class HostWindowEvents {
 public:
  virtual ~HostWindowEvents() = default;
  virtual void OnPaint(Canvas& canvas, const Rect& dirty) = 0;
  virtual void OnMouse(const MouseEvent& event) = 0;
  virtual void OnKey(const KeyEvent& event) = 0;
  virtual void OnText(const std::wstring& text) = 0;  // typed or committed by an input method
  virtual void OnTimer(int timerId) = 0;
  virtual void OnResize(Size clientSize) = 0;
  virtual void OnFocusChanged(bool focused) = 0;
  // The user asked to close (caption close, Alt+F4): the system-command close.
  virtual void OnCloseRequest() = 0;
  // The window is gone; no more events follow.
  virtual void OnDestroyed() = 0;
  // A window message (the numbered messages of the main window and the like).
  virtual intptr_t OnWindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
  // The window went to a monitor of another display scale (percent). The host then gives
  // it the size the system suggests for that scale (OnResize follows).
  virtual void OnScaleChanged(int /*scalePercent*/) {}
  // The controls that assistive technology reads (ui/core/Accessibility.h); null for a
  // window without controls.
  virtual WindowTree* AccessibleTree() { return nullptr; }
  // Assistive technology's requests, carried out as events of the window (a default
  // action may close it: the window stays until the request is done, as for a click).
  // id is Control::AccessibleId; false when that control is gone, hidden or refuses.
  virtual bool DoAccessibleAction(uint32_t /*id*/) { return false; }
  virtual bool SetAccessibleValue(uint32_t /*id*/, const std::wstring& /*value*/) { return false; }
};

struct WindowCreateParams {
  std::wstring className;
  std::wstring title;
  WindowHandle owner = nullptr;  // popups: the owner window
  Rect rect;                     // initial position and size (screen pixels)
  bool popup = false;
  bool topmost = false;
  bool toolWindow = false;
  bool resizable = true;
  Rect resizeBorder;      // margins in which the mouse resizes the window
  int captionHeight = 0;  // top band that drags the window
  Size minSize, maxSize;  // 0 = no limit
};

class HostWindow {
 public:
  virtual ~HostWindow() = default;
  virtual WindowHandle Handle() const = 0;
  virtual void SetTitle(const std::wstring& title) = 0;
  virtual std::wstring Title() const = 0;
  virtual void SetBounds(const Rect& screenRect) = 0;
  virtual Rect Bounds() const = 0;  // screen rectangle
  virtual Size ClientSize() const = 0;
  virtual void CenterOver(WindowHandle owner) = 0;  // null: the screen
  virtual void Show(bool visible) = 0;
  virtual void Minimize() = 0;
  virtual void SetEnabled(bool enabled) = 0;  // a disabled window takes no input (modal owner)
  virtual bool IsEnabled() const = 0;
  virtual void Invalidate(const Rect& rect) = 0;
  virtual void InvalidateAll() = 0;
  virtual void SetTimer(int timerId, int intervalMs) = 0;
  virtual void KillTimer(int timerId) = 0;
  virtual void CaptureMouse(bool capture) = 0;
  virtual void SetCaretRect(const Rect& caret) = 0;  // input-method candidate position
  virtual void Destroy() = 0;                        // OnDestroyed follows
};

// The system's colours for a high-contrast display (Windows' COLOR_WINDOW ...).
struct SystemColors {
  Argb window = 0xFF000000;
  Argb windowText = 0xFFFFFFFF;
  Argb highlight = 0xFF1AEBFF;
  Argb highlightText = 0xFF000000;
  Argb grayText = 0xFF3FF23F;
};

class Host {
 public:
  virtual ~Host() = default;

  // Whether the system asks for high contrast; the toolkit then paints with these colours
  // instead of the skin's. A host repaints its windows when the setting changes.
  virtual bool IsHighContrast() const { return false; }
  virtual SystemColors HighContrastColors() const { return {}; }

  virtual std::unique_ptr<HostWindow> CreateHostWindow(HostWindowEvents& events, const WindowCreateParams& params) = 0;

  // Runs until PostQuit; returns its code.
  virtual int RunMessageLoop() = 0;
  // Runs until done() is true or a quit was posted (the quit stays posted, so the outer
  // loop ends too); used by modal popups.
  virtual void RunModalLoop(const std::function<bool()>& done) = 0;
  virtual void PostQuit(int exitCode) = 0;
  virtual bool QuitPosted() const = 0;

  // A system message box (flags as MessageBoxW: 0x40 information, 0x10 error, 1 OK/Cancel);
  // returns 1 (OK) or 2 (Cancel). Owner null: no owner.
  virtual int ShowMessageBox(WindowHandle owner, const std::wstring& text, const std::wstring& caption,
                             unsigned flags) = 0;

  virtual int DisplayScalePercent() const = 0;  // 100, 125, 150 ...
  virtual std::wstring ClipboardText() const = 0;
  virtual void SetClipboardText(const std::wstring& text) = 0;
};

// The installed host; set once at start-up (tests install a headless one per test).
Host& CurrentHost();
void InstallHost(std::unique_ptr<Host> host);
// True on the thread that installed the host, the UI thread; any thread may ask.
bool OnHostThread();
// The installed host's high-contrast colours when it asks for them; none without a host.
std::optional<SystemColors> ActiveHighContrast();

}  // namespace ui
