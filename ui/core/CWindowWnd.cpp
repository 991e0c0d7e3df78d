#include "ui/core/CWindowWnd.h"

#include <map>

#include "base/WindowMessage.h"
#include "ui/core/SystemConstants.h"
#include "ui/core/WindowTree.h"

namespace ui {

namespace {

std::map<WindowHandle, CWindowWnd*>& Registry() {
  static auto* windows = new std::map<WindowHandle, CWindowWnd*>();
  return *windows;
}

}  // namespace

struct CWindowWnd::ModalState {
  bool done = false;
  int result = 0;
};

CWindowWnd::DispatchScope::DispatchScope(CWindowWnd& window) : window_(window) {
  ++window_.depth_;
}

CWindowWnd::DispatchScope::~DispatchScope() {
  // Last statement: Finish may delete the window object.
  if (--window_.depth_ == 0 && window_.destroyed_ && !window_.finished_) window_.Finish();
}

CWindowWnd::CWindowWnd() = default;

CWindowWnd::~CWindowWnd() {
  if (handle_ != nullptr) {
    auto it = Registry().find(handle_);
    if (it != Registry().end() && it->second == this) Registry().erase(it);
  }
  // A window object deleted while its window lives: the host window goes quietly.
  host_.reset();
}

CWindowWnd* CWindowWnd::FromHandle(WindowHandle handle) {
  auto it = Registry().find(handle);
  return it == Registry().end() ? nullptr : it->second;
}

WindowHandle CWindowWnd::Create(WindowHandle owner, const std::wstring& title, uint32_t style, uint32_t exStyle,
                                const Rect& rect) {
  if (host_) return nullptr;
  WindowCreateParams params;
  params.className = GetWindowClassName();
  params.title = title;
  params.owner = owner;
  params.rect = rect;
  params.popup = (style & kWsPopup) != 0;
  params.topmost = (exStyle & kWsExTopmost) != 0;
  params.toolWindow = (exStyle & kWsExToolWindow) != 0;
  params.resizable = (style & kWsThickFrame) != 0;
  // A window that cannot be made is finished at once, so a popup that deletes itself in
  // OnFinalMessage never leaks, whichever step failed.
  if (!PrepareCreate(params) || !(host_ = CurrentHost().CreateHostWindow(*this, params))) {
    finished_ = true;
    OnFinalMessage();  // may delete this
    return nullptr;
  }
  handle_ = host_->Handle();
  owner_ = owner;
  Registry()[handle_] = this;
  WindowHandle created = nullptr;
  {
    DispatchScope scope(*this);
    HandleMessage(kWmCreate, 0, 0);
    if (IsWindow() && (style & kWsVisible)) ShowWindow(true);
    if (IsWindow()) created = handle_;
  }
  return created;
}

void CWindowWnd::ShowWindow(bool show) {
  if (!IsWindow()) return;
  DispatchScope scope(*this);
  host_->Show(show);
  HandleMessage(kWmShowWindow, show ? 1 : 0, 0);
}

int CWindowWnd::ShowModal() {
  if (!IsWindow()) return -1;
  auto state = std::make_shared<ModalState>();
  modal_ = state;
  const WindowHandle owner = owner_;
  if (CWindowWnd* window = FromHandle(owner); window != nullptr && window->IsWindow()) {
    window->host_->SetEnabled(false);
  }
  ShowWindow(true);
  // From here this object may be deleted at any time (its final message): only the
  // shared state is touched.
  if (!state->done) CurrentHost().RunModalLoop([state] { return state->done; });
  if (CWindowWnd* window = FromHandle(owner); window != nullptr && window->IsWindow()) {
    window->host_->SetEnabled(true);
  }
  return state->result;
}

void CWindowWnd::Close(int result) {
  if (!IsWindow()) return;
  DispatchScope scope(*this);
  closeResult_ = result;
  if (modal_) modal_->result = result;
  HandleMessage(kWmClose, static_cast<uintptr_t>(result), 0);
}

void CWindowWnd::DestroyWindow() {
  if (!IsWindow()) return;
  DispatchScope scope(*this);
  host_->Destroy();  // the host calls OnDestroyed
}

void CWindowWnd::CenterWindow() {
  if (IsWindow()) host_->CenterOver(owner_);
}

void CWindowWnd::SetTitle(const std::wstring& text) {
  if (!IsWindow() || host_->Title() == text) return;
  host_->SetTitle(text);
  // The title names the window's root.
  if (WindowTree* tree = AccessibleTree(); tree != nullptr && tree->GetRoot() != nullptr) {
    tree->GetRoot()->RaiseAccessibilityEvent(AccessibleEvent::NameChanged);
  }
}

std::wstring CWindowWnd::GetTitle() const {
  return IsWindow() ? host_->Title() : std::wstring();
}

void CWindowWnd::Minimize() {
  if (IsWindow()) host_->Minimize();
}

intptr_t CWindowWnd::Send(uint32_t message, uintptr_t wParam, intptr_t lParam) const {
  return SendWindowMessage(handle_, message, wParam, lParam);
}

void CWindowWnd::OnCloseRequest() {
  DispatchScope scope(*this);
  HandleMessage(kWmSysCommand, kScClose, 0);
}

void CWindowWnd::OnDestroyed() {
  if (destroyed_) return;
  DispatchScope scope(*this);
  HandleMessage(kWmDestroy, 0, 0);
  destroyed_ = true;
  if (auto it = Registry().find(handle_); it != Registry().end() && it->second == this) Registry().erase(it);
  if (modal_) {
    modal_->done = true;
    modal_->result = closeResult_;
  }
}

intptr_t CWindowWnd::OnWindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  DispatchScope scope(*this);
  return HandleMessage(message, wParam, lParam);
}

bool CWindowWnd::DoAccessibleAction(uint32_t id) {
  DispatchScope scope(*this);
  WindowTree* tree = AccessibleTree();
  return tree != nullptr && tree->DoAccessibleAction(id);
}

bool CWindowWnd::SetAccessibleValue(uint32_t id, const std::wstring& value) {
  DispatchScope scope(*this);
  WindowTree* tree = AccessibleTree();
  return tree != nullptr && tree->SetAccessibleValue(id, value);
}

void CWindowWnd::Finish() {
  finished_ = true;
  host_.reset();
  OnFinalMessage();  // may delete this
}

intptr_t CWindowWnd::HitTestClient(Point) const {
  return kHtClient;
}

intptr_t CWindowWnd::HandleMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  switch (message) {
    case kWmClose:
      DestroyWindow();
      return 0;
    case kWmSysCommand:
      if ((wParam & 0xFFF0) == kScClose) return HandleMessage(kWmClose, 0, 0);
      if ((wParam & 0xFFF0) == kScMinimize) Minimize();
      return 0;
    case kWmNcHitTest: {
      if (!IsWindow()) return 0;
      const Rect bounds = host_->Bounds();
      const Point screen{static_cast<int16_t>(lParam & 0xFFFF), static_cast<int16_t>((lParam >> 16) & 0xFFFF)};
      return HitTestClient({screen.x - bounds.left, screen.y - bounds.top});
    }
    default:
      return 0;
  }
}

}  // namespace ui
