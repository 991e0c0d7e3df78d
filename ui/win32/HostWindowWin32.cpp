// Sections: construction and teardown; HostWindow operations; the window procedure;
// hit testing; painting; input.
#include "ui/win32/HostWindowWin32.h"
#include "ui/core/ResizeBorder.h"

#include <imm.h>
#include <windowsx.h>

#include <algorithm>
#include <exception>
#include <utility>

#include "ui/win32/CanvasGdi.h"
#include "ui/win32/ImeContext.h"
#include "ui/win32/PaintSession.h"
#include "ui/win32/WindowDc.h"

namespace ui {

namespace {

constexpr wchar_t kDefaultClassName[] = L"QuorvelWindow";
constexpr Argb kWindowBody = 0xFFFFFFFF;  // white, and opaque for the alpha byte too
constexpr int kBaseDpi = 96;

bool KeyHeld(int virtualKey) {
  return (GetKeyState(virtualKey) & 0x8000) != 0;
}

RECT ToRect(const Rect& rect) {
  return {rect.left, rect.top, rect.right, rect.bottom};
}
Rect FromRect(const RECT& rect) {
  return {rect.left, rect.top, rect.right, rect.bottom};
}

}  // namespace

// ---- construction and teardown -------------------------------------------------------

HostWindowWin32::HostWindowWin32(HostWindowEvents& events, const WindowCreateParams& params,
                                 WindowClassRegistry& classes, std::shared_ptr<FontCacheGdi> fonts)
    : events_(events), params_(params), fonts_(std::move(fonts)), backBuffer_(std::make_shared<DibSurface>()) {
  const std::wstring className = params.className.empty() ? std::wstring(kDefaultClassName) : params.className;
  if (!classes.Ensure(className)) {
    destroyed_ = true;
    return;
  }
  // Borderless: no caption or frame bits, so the client area is the whole window. The
  // system menu and minimise box keep Alt+F4, Alt+Space and the taskbar's minimise.
  const DWORD style = WS_POPUP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX;
  DWORD extendedStyle = 0;
  if (params.toolWindow) extendedStyle |= WS_EX_TOOLWINDOW;
  if (params.topmost) extendedStyle |= WS_EX_TOPMOST;
  // WM_NCCREATE stores this object in the window and sets hwnd_.
  const HWND window =
      CreateWindowExW(extendedStyle, className.c_str(), params.title.c_str(), style, params.rect.left, params.rect.top,
                      params.rect.Width(), params.rect.Height(), params.owner, nullptr, classes.Instance(), this);
  if (window == nullptr) {
    // The system may have got as far as WM_NCCREATE before giving up.
    hwnd_ = nullptr;
    destroyed_ = true;
    return;
  }
  created_ = true;
  // Made at the system's scale, as the toolkit measured the create parameters.
  WindowDc screen(nullptr);
  const int dpi = screen.Get() != nullptr ? GetDeviceCaps(screen.Get(), LOGPIXELSX) : 0;
  if (dpi > 0) scalePercent_ = dpi * 100 / kBaseDpi;
}

HostWindowWin32::~HostWindowWin32() {
  *alive_ = false;
  if (hwnd_ != nullptr && !destroyed_) {
    destroyed_ = true;
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);  // no events reach a deleted object
    DestroyWindow(hwnd_);
  }
}

// ---- HostWindow operations -----------------------------------------------------------

void HostWindowWin32::SetTitle(const std::wstring& title) {
  params_.title = title;
  if (!destroyed_) SetWindowTextW(hwnd_, title.c_str());
}

std::wstring HostWindowWin32::Title() const {
  if (destroyed_ || hwnd_ == nullptr) return params_.title;
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd_)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd_, text.data(), static_cast<int>(text.size()))));
  return text;
}

void HostWindowWin32::SetBounds(const Rect& screenRect) {
  if (destroyed_) return;
  SetWindowPos(hwnd_, nullptr, screenRect.left, screenRect.top, screenRect.Width(), screenRect.Height(),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

Rect HostWindowWin32::Bounds() const {
  RECT rect{};
  if (destroyed_ || !GetWindowRect(hwnd_, &rect)) return {};
  return FromRect(rect);
}

Size HostWindowWin32::ClientSize() const {
  RECT rect{};
  if (destroyed_ || !GetClientRect(hwnd_, &rect)) return {};
  return {rect.right - rect.left, rect.bottom - rect.top};
}

void HostWindowWin32::CenterOver(WindowHandle owner) {
  if (destroyed_) return;
  const bool overOwner = owner != nullptr && IsWindow(owner) && !IsIconic(owner);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(overOwner ? owner : hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const Rect work = FromRect(monitor.rcWork);
  Rect around = work;
  if (overOwner) {
    RECT ownerRect{};
    GetWindowRect(owner, &ownerRect);
    around = FromRect(ownerRect);
  }
  const Rect bounds = Bounds();
  int left = around.left + (around.Width() - bounds.Width()) / 2;
  int top = around.top + (around.Height() - bounds.Height()) / 2;
  // Stay on the work area; a window larger than it keeps its top left corner visible.
  left = std::max(work.left, std::min(left, work.right - bounds.Width()));
  top = std::max(work.top, std::min(top, work.bottom - bounds.Height()));
  SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void HostWindowWin32::Show(bool visible) {
  if (!destroyed_) ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE);
}

void HostWindowWin32::Minimize() {
  if (!destroyed_) ShowWindow(hwnd_, SW_MINIMIZE);
}

void HostWindowWin32::SetEnabled(bool enabled) {
  if (!destroyed_) EnableWindow(hwnd_, enabled ? TRUE : FALSE);
}

bool HostWindowWin32::IsEnabled() const {
  return !destroyed_ && IsWindowEnabled(hwnd_) != FALSE;
}

void HostWindowWin32::Invalidate(const Rect& rect) {
  if (destroyed_ || rect.IsEmpty()) return;
  const RECT area = ToRect(rect);
  InvalidateRect(hwnd_, &area, FALSE);
}

void HostWindowWin32::InvalidateAll() {
  if (!destroyed_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void HostWindowWin32::SetTimer(int timerId, int intervalMs) {
  // A running timer of the same id is replaced, as SetTimer does.
  if (!destroyed_) {
    ::SetTimer(hwnd_, static_cast<UINT_PTR>(static_cast<unsigned>(timerId)),
               static_cast<UINT>(std::max(intervalMs, static_cast<int>(USER_TIMER_MINIMUM))), nullptr);
  }
}

void HostWindowWin32::KillTimer(int timerId) {
  if (!destroyed_) ::KillTimer(hwnd_, static_cast<UINT_PTR>(static_cast<unsigned>(timerId)));
}

void HostWindowWin32::CaptureMouse(bool capture) {
  if (destroyed_) return;
  if (capture) {
    SetCapture(hwnd_);
  } else if (GetCapture() == hwnd_) {
    ReleaseCapture();
  }
}

void HostWindowWin32::SetCaretRect(const Rect& caret) {
  if (destroyed_) return;
  ImeContext context(hwnd_);
  if (!context) return;
  COMPOSITIONFORM composition{};
  composition.dwStyle = CFS_POINT;
  composition.ptCurrentPos = {caret.left, caret.top};
  ImmSetCompositionWindow(context.Get(), &composition);
  // The candidate list opens below the caret and never covers it.
  CANDIDATEFORM candidates{};
  candidates.dwIndex = 0;
  candidates.dwStyle = CFS_EXCLUDE;
  candidates.ptCurrentPos = {caret.left, caret.bottom};
  candidates.rcArea = ToRect(caret);
  ImmSetCandidateWindow(context.Get(), &candidates);
}

void HostWindowWin32::Destroy() {
  if (hwnd_ != nullptr && !destroyed_) DestroyWindow(hwnd_);  // WM_DESTROY does the rest
}

// ---- the window procedure ------------------------------------------------------------

LRESULT CALLBACK HostWindowWin32::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<HostWindowWin32*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    return DefWindowProcW(window, message, wParam, lParam);
  }
  auto* self = reinterpret_cast<HostWindowWin32*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  // No exception may unwind into the system's frames.
  try {
    return self->Dispatch(message, wParam, lParam);
  } catch (const std::exception& error) {
    OutputDebugStringA(error.what());
  } catch (...) {
    OutputDebugStringA("window procedure: unknown exception");
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT HostWindowWin32::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND window = hwnd_;  // for the calls after the toolkit may have deleted this
  switch (message) {
    case WM_NCHITTEST:
      return HitTest(lParam);
    case WM_GETMINMAXINFO: {
      auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
      if (params_.minSize.cx > 0) limits->ptMinTrackSize.x = params_.minSize.cx;
      if (params_.minSize.cy > 0) limits->ptMinTrackSize.y = params_.minSize.cy;
      if (params_.maxSize.cx > 0) limits->ptMaxTrackSize.x = params_.maxSize.cx;
      if (params_.maxSize.cy > 0) limits->ptMaxTrackSize.y = params_.maxSize.cy;
      return 0;
    }
    case WM_DPICHANGED:
      if (lParam != 0) ChangeScale(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint covers everything; erasing first would flicker
    case WM_PAINT:
      Paint();
      return 0;
    case WM_SIZE:
      // A minimised window reports 0 × 0; the layout keeps its size for the restore.
      if (wParam != SIZE_MINIMIZED) events_.OnResize({LOWORD(lParam), HIWORD(lParam)});
      return 0;
    case WM_MOUSEMOVE:
      Mouse(MouseAction::Move, MouseButton::None, wParam, lParam);
      return 0;
    case WM_MOUSELEAVE:
      trackingLeave_ = false;
      events_.OnMouse({MouseAction::Leave, MouseButton::None, {}, 0, KeyHeld(VK_SHIFT), KeyHeld(VK_CONTROL)});
      return 0;
    case WM_LBUTTONDOWN:
      Mouse(MouseAction::Down, MouseButton::Left, wParam, lParam);
      return 0;
    case WM_LBUTTONUP:
      Mouse(MouseAction::Up, MouseButton::Left, wParam, lParam);
      return 0;
    case WM_LBUTTONDBLCLK:
      Mouse(MouseAction::DoubleClick, MouseButton::Left, wParam, lParam);
      return 0;
    case WM_RBUTTONDOWN:
      Mouse(MouseAction::Down, MouseButton::Right, wParam, lParam);
      return 0;
    case WM_RBUTTONUP:
      Mouse(MouseAction::Up, MouseButton::Right, wParam, lParam);
      return 0;
    case WM_RBUTTONDBLCLK:
      Mouse(MouseAction::DoubleClick, MouseButton::Right, wParam, lParam);
      return 0;
    case WM_MBUTTONDOWN:
      Mouse(MouseAction::Down, MouseButton::Middle, wParam, lParam);
      return 0;
    case WM_MBUTTONUP:
      Mouse(MouseAction::Up, MouseButton::Middle, wParam, lParam);
      return 0;
    case WM_MBUTTONDBLCLK:
      Mouse(MouseAction::DoubleClick, MouseButton::Middle, wParam, lParam);
      return 0;
    case WM_MOUSEWHEEL:
      Wheel(wParam, lParam);
      return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
      Key(message == WM_KEYDOWN, wParam, lParam);
      return 0;
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      Key(message == WM_SYSKEYDOWN, wParam, lParam);
      // The system's own handling turns Alt+F4 into SC_CLOSE.
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_CHAR:
      Character(static_cast<wchar_t>(wParam));
      return 0;
    case WM_IME_COMPOSITION:
      return ImeComposition(wParam, lParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      events_.OnFocusChanged(message == WM_SETFOCUS);
      return 0;
    case WM_TIMER:
      events_.OnTimer(static_cast<int>(static_cast<unsigned>(wParam)));
      return 0;
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_CLOSE:
          events_.OnCloseRequest();
          return 0;
        case SC_KEYMENU:
          // Alt alone would put the invisible system menu in charge of the keyboard.
          if (lParam == 0) return 0;
          break;
        default:
          break;
      }
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_CLOSE:
      events_.OnCloseRequest();  // another program asked; the toolkit decides
      return 0;
    case WM_GETOBJECT:
      return Automation().AnswerGetObject(wParam, lParam);
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
      // High contrast turned on or off, or its colours changed: the next paint reads them.
      InvalidateAll();
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_DESTROY:
      destroyed_ = true;
      if (automation_ != nullptr) automation_->Detach();
      trackingLeave_ = false;
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      // A window that failed half-way through creation was never the toolkit's.
      if (created_) events_.OnDestroyed();  // may delete this: nothing after it
      return 0;
    default:
      break;
  }
  if (automation_ != nullptr && automation_->HandleOwnMessage(message, wParam, lParam)) return 0;
  if (message >= params_.firstOwnMessage && message <= params_.lastOwnMessage && params_.lastOwnMessage != 0) {
    return static_cast<LRESULT>(
        events_.OnWindowMessage(message, static_cast<uintptr_t>(wParam), static_cast<intptr_t>(lParam)));
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

UiAutomationWindow& HostWindowWin32::Automation() {
  if (automation_ == nullptr) automation_ = std::make_unique<UiAutomationWindow>(hwnd_, events_);
  return *automation_;
}

void HostWindowWin32::ChangeScale(int dpi, RECT suggested) {
  const int percent = dpi * 100 / kBaseDpi;
  if (percent <= 0 || percent == scalePercent_) return;
  const int previous = scalePercent_;
  scalePercent_ = percent;
  auto rescale = [&](int value) { return value > 0 ? MulDiv(value, percent, previous) : value; };
  params_.minSize = {rescale(params_.minSize.cx), rescale(params_.minSize.cy)};
  params_.maxSize = {rescale(params_.maxSize.cx), rescale(params_.maxSize.cy)};
  params_.captionHeight = rescale(params_.captionHeight);
  const Rect& border = params_.resizeBorder;
  params_.resizeBorder = {rescale(border.left), rescale(border.top), rescale(border.right), rescale(border.bottom)};
  const std::shared_ptr<bool> alive = alive_;
  const HWND window = hwnd_;
  events_.OnScaleChanged(percent);
  if (!*alive) return;
  // The suggested rectangle keeps the window on the monitor at the new scale; WM_SIZE
  // lays it out again.
  SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(window, nullptr, FALSE);
}

// ---- hit testing ---------------------------------------------------------------------

int HostWindowWin32::BorderHit(POINT client) const {
  if (!params_.resizable || IsZoomed(hwnd_)) return 0;
  return ResizeBorderHit(Point{static_cast<int>(client.x), static_cast<int>(client.y)}, ClientSize(),
                         params_.resizeBorder);
}

LRESULT HostWindowWin32::HitTest(LPARAM screenPoint) {
  const std::shared_ptr<bool> alive = alive_;
  const auto answer = events_.OnWindowMessage(WM_NCHITTEST, 0, static_cast<intptr_t>(screenPoint));
  if (answer != 0) return static_cast<LRESULT>(answer);
  if (!*alive || destroyed_) return HTNOWHERE;
  POINT client{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
  ScreenToClient(hwnd_, &client);
  if (const int border = BorderHit(client); border != 0) return border;
  return client.y >= 0 && client.y < params_.captionHeight ? HTCAPTION : HTCLIENT;
}

// ---- painting ------------------------------------------------------------------------

void HostWindowWin32::Paint() {
  // Locals keep the buffer and fonts alive should the toolkit delete this window.
  const std::shared_ptr<DibSurface> buffer = backBuffer_;
  const std::shared_ptr<FontCacheGdi> fonts = fonts_;
  PaintSession session(hwnd_);
  if (session.Dc() == nullptr) return;
  const Size client = ClientSize();
  const Rect dirty = FromRect(session.Dirty()).Intersect({0, 0, client.cx, client.cy});
  if (dirty.IsEmpty() || !buffer->Reserve(client)) return;
  buffer->Fill(dirty, kWindowBody);
  {
    CanvasGdi canvas(*buffer, *fonts);
    canvas.PushClip(dirty);
    events_.OnPaint(canvas, dirty);
  }
  BitBlt(session.Dc(), dirty.left, dirty.top, dirty.Width(), dirty.Height(), buffer->Dc(), dirty.left, dirty.top,
         SRCCOPY);
}

// ---- input ---------------------------------------------------------------------------

void HostWindowWin32::Mouse(MouseAction action, MouseButton button, WPARAM wParam, LPARAM lParam) {
  if (action == MouseAction::Move && !trackingLeave_) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd_, 0};
    trackingLeave_ = TrackMouseEvent(&track) != FALSE;
  }
  MouseEvent event;
  event.action = action;
  event.button = button;
  event.position = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  event.shift = (wParam & MK_SHIFT) != 0;
  event.control = (wParam & MK_CONTROL) != 0;
  events_.OnMouse(event);
}

void HostWindowWin32::Wheel(WPARAM wParam, LPARAM lParam) {
  // The wheel reports screen coordinates; the toolkit works in client pixels.
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ScreenToClient(hwnd_, &point);
  MouseEvent event;
  event.action = MouseAction::Wheel;
  event.position = {point.x, point.y};
  event.wheelDelta = GET_WHEEL_DELTA_WPARAM(wParam);
  const WORD keys = GET_KEYSTATE_WPARAM(wParam);
  event.shift = (keys & MK_SHIFT) != 0;
  event.control = (keys & MK_CONTROL) != 0;
  events_.OnMouse(event);
}

void HostWindowWin32::Key(bool down, WPARAM virtualKey, LPARAM lParam) {
  KeyEvent event;
  event.down = down;
  event.key = static_cast<unsigned>(virtualKey);
  event.shift = KeyHeld(VK_SHIFT);
  event.control = KeyHeld(VK_CONTROL);
  event.alt = (lParam & (1 << 29)) != 0 || KeyHeld(VK_MENU);  // bit 29: the context code
  events_.OnKey(event);
}

void HostWindowWin32::Character(wchar_t unit) {
  if (IS_HIGH_SURROGATE(unit)) {
    highSurrogate_ = unit;
    return;
  }
  const wchar_t high = std::exchange(highSurrogate_, wchar_t{0});
  if (IS_LOW_SURROGATE(unit)) {
    if (high != 0) events_.OnText(std::wstring{high, unit});
    return;  // a lone half is no text
  }
  // Control characters (Backspace, Enter, Tab, Escape, Ctrl+letter) arrive as keys.
  if (unit < 0x20 || unit == 0x7F) return;
  events_.OnText(std::wstring(1, unit));
}

LRESULT HostWindowWin32::ImeComposition(WPARAM wParam, LPARAM lParam) {
  const HWND window = hwnd_;
  constexpr LPARAM kResultFlags = GCS_RESULTSTR | GCS_RESULTREADSTR | GCS_RESULTCLAUSE | GCS_RESULTREADCLAUSE;
  if ((lParam & GCS_RESULTSTR) != 0) {
    std::wstring text;
    {
      ImeContext context(window);
      if (context) {
        const LONG bytes = ImmGetCompositionStringW(context.Get(), GCS_RESULTSTR, nullptr, 0);
        if (bytes > 0) {
          text.resize(static_cast<size_t>(bytes) / sizeof(wchar_t));
          ImmGetCompositionStringW(context.Get(), GCS_RESULTSTR, text.data(), static_cast<DWORD>(bytes));
        }
      }
    }
    // Taken here, so the system must not also send it as WM_CHAR.
    lParam &= ~kResultFlags;
    if (!text.empty()) events_.OnText(text);
    if (lParam == 0) return 0;
  }
  return DefWindowProcW(window, WM_IME_COMPOSITION, wParam, lParam);
}

}  // namespace ui
