#include <windows.h>

#include "shell/MainWindowMessages.h"
#include "shell/console/MessageSink.h"

struct MessageSinkAccess {
  static void Deliver(MessageSink& sink, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    sink.handler_(message, wParam, lParam);
  }
};

namespace {

constexpr const wchar_t* kClassName = L"QuorvelSetupMessageSink";

LRESULT CALLBACK SinkProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* sink = reinterpret_cast<MessageSink*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (sink != nullptr && message >= kFirstMainWindowMessage && message <= kLastMainWindowMessage) {
    MessageSinkAccess::Deliver(*sink, message, wParam, lParam);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

MessageSink::MessageSink(Handler handler) : handler_(std::move(handler)) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = SinkProcedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kClassName;
  // A second sink finds the class registered already (ERROR_CLASS_ALREADY_EXISTS).
  RegisterClassExW(&windowClass);
  // A message-only window: never shown, not enumerated, receives sent messages.
  window_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this);
}

MessageSink::~MessageSink() {
  if (window_ != nullptr) DestroyWindow(window_);
}
