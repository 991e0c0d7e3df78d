#include "ui/window/WindowImplBase.h"

#include <cstdlib>

#include "ui/controls/LayoutBuilder.h"
#include "ui/core/Control.h"
#include "ui/core/SystemConstants.h"

namespace ui {

namespace {

std::function<void(int)>& ExitHook() {
  static auto* hook = new std::function<void(int)>([](int code) { std::exit(code); });
  return *hook;
}

}  // namespace

WindowImplBase::WindowImplBase() {
  OnNotify(L"click", [this](TNotifyUI& msg) { OnClick(msg); });
}

WindowImplBase::~WindowImplBase() {
  // The host window outlives the tree by a moment; the controls must not reach it.
  tree_.AttachHost(nullptr);
}

std::function<void(int)> WindowImplBase::SetExitHook(std::function<void(int)> hook) {
  std::function<void(int)> previous = std::move(ExitHook());
  ExitHook() = hook ? std::move(hook) : [](int code) { std::exit(code); };
  return previous;
}

void WindowImplBase::Notify(TNotifyUI& msg) {
  NotifyPump(msg);
}

void WindowImplBase::OnClick(TNotifyUI& msg) {
  const std::wstring name = msg.SenderName();
  if (name == L"closebtn") {
    Close(0);
  } else if (name == L"minbtn") {
    Send(kWmSysCommand, kScMinimize, 0);
  }
}

intptr_t WindowImplBase::MessageHandler(uint32_t message, uintptr_t wParam, intptr_t, bool& handled) {
  // Escape would close a dialog elsewhere; here it does nothing. Enter goes on.
  if (message == kWmKeyDown && wParam == kVkEscape) handled = true;
  return 0;
}

std::unique_ptr<Control> WindowImplBase::CreateControl(std::wstring_view) {
  return nullptr;
}

std::optional<std::wstring> WindowImplBase::QueryControlText(std::wstring_view) {
  return std::nullopt;
}

intptr_t WindowImplBase::HandleCustomMessage(uint32_t, uintptr_t, intptr_t, bool& handled) {
  handled = false;
  return 0;
}

intptr_t WindowImplBase::OnCreate(uintptr_t, intptr_t, bool& handled) {
  InitWindow();
  handled = true;
  return 0;
}

intptr_t WindowImplBase::OnClose(uintptr_t, intptr_t, bool& handled) {
  handled = false;
  return 0;
}

intptr_t WindowImplBase::OnDestroy(uintptr_t, intptr_t, bool& handled) {
  handled = false;
  return 0;
}

intptr_t WindowImplBase::OnSysCommand(uintptr_t, intptr_t, bool& handled) {
  handled = false;
  return 0;
}

intptr_t WindowImplBase::HandleMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  bool handled = false;
  intptr_t result = 0;
  switch (message) {
    case kWmCreate:
      tree_.AttachHost(GetHostWindow());
      result = OnCreate(wParam, lParam, handled);
      break;
    case kWmClose:
      result = OnClose(wParam, lParam, handled);
      break;
    case kWmDestroy:
      result = OnDestroy(wParam, lParam, handled);
      break;
    case kWmSysCommand:
      result = OnSysCommand(wParam, lParam, handled);
      break;
    default:
      break;
  }
  if (handled) return result;
  result = HandleCustomMessage(message, wParam, lParam, handled);
  if (handled) return result;
  return CWindowWnd::HandleMessage(message, wParam, lParam);
}

bool WindowImplBase::PrepareCreate(WindowCreateParams& params) {
  tree_.SetScale(CurrentHost().DisplayScalePercent());
  const std::wstring skin = GetSkinFile();
  std::unique_ptr<Control> root = LayoutBuilder(tree_, this).Build(skin);
  if (!root) {
    ReportLoadFailure(skin);
    return false;
  }
  tree_.SetRoot(std::move(root));
  tree_.AddNotifier(this);
  tree_.AddMessageFilter(this);

  const WindowAttributes& window = tree_.Attributes();
  const int shadow = tree_.Scaled(window.shadowSize);
  auto outer = [&](Size size) {
    return Size{size.cx > 0 ? tree_.Scaled(size.cx) + 2 * shadow : 0,
                size.cy > 0 ? tree_.Scaled(size.cy) + 2 * shadow : 0};
  };
  if (window.size.cx > 0 && window.size.cy > 0) {
    const Size size = outer(window.size);
    params.rect.right = params.rect.left + size.cx;
    params.rect.bottom = params.rect.top + size.cy;
  }
  params.minSize = outer(window.minSize);
  params.maxSize = outer(window.maxSize);
  // A layout whose minimum exceeds its size opens at the minimum, on every host alike
  // (the system does not enforce it on a popup when the window is made).
  auto clamp = [](int value, int least, int most) {
    if (least > 0 && value < least) value = least;
    if (most > 0 && value > most) value = most;
    return value;
  };
  params.rect.right = params.rect.left + clamp(params.rect.Width(), params.minSize.cx, params.maxSize.cx);
  params.rect.bottom = params.rect.top + clamp(params.rect.Height(), params.minSize.cy, params.maxSize.cy);
  params.captionHeight = window.caption.bottom > 0 ? shadow + tree_.Scaled(window.caption.bottom) : 0;
  params.resizable = tree_.IsResizable();
  const Rect& box = window.sizeBox;
  params.resizeBorder = {shadow + tree_.Scaled(box.left), shadow + tree_.Scaled(box.top),
                         shadow + tree_.Scaled(box.right), shadow + tree_.Scaled(box.bottom)};
  return true;
}

void WindowImplBase::ReportLoadFailure(const std::wstring& skin) {
  CurrentHost().ShowMessageBox(nullptr, L"加载资源文件失败：" + skin, L"Duilib", kMbIconError);
  ExitHook()(1);
}

intptr_t WindowImplBase::HitTestClient(Point client) const {
  return tree_.HitTest(client);
}

void WindowImplBase::OnPaint(Canvas& canvas, const Rect& dirty) {
  DispatchScope scope(*this);
  tree_.Paint(canvas, dirty);
}

void WindowImplBase::OnMouse(const MouseEvent& event) {
  DispatchScope scope(*this);
  tree_.OnMouse(event);
}

void WindowImplBase::OnKey(const KeyEvent& event) {
  DispatchScope scope(*this);
  const uint32_t message =
      event.alt ? (event.down ? kWmSysKeyDown : kWmSysKeyUp) : (event.down ? kWmKeyDown : kWmKeyUp);
  if (tree_.FilterMessage(message, event.key, 0)) return;
  bool handled = false;
  HandleCustomMessage(message, event.key, 0, handled);
  if (handled || !IsWindow()) return;
  tree_.OnKey(event);
}

void WindowImplBase::OnText(const std::wstring& text) {
  DispatchScope scope(*this);
  tree_.OnText(text);
}

void WindowImplBase::OnTimer(int timerId) {
  DispatchScope scope(*this);
  tree_.OnTimer(timerId);
}

void WindowImplBase::OnResize(Size clientSize) {
  tree_.OnResize(clientSize);
}

void WindowImplBase::OnFocusChanged(bool focused) {
  tree_.OnFocusChanged(focused);
}

void WindowImplBase::OnScaleChanged(int scalePercent) {
  // Sizes, fonts and image variants all follow the tree's scale at the next layout and paint.
  tree_.SetScale(scalePercent);
  tree_.InvalidateAll();
}

void WindowImplBase::OnDestroyed() {
  tree_.AttachHost(nullptr);
  CWindowWnd::OnDestroyed();
}

}  // namespace ui
