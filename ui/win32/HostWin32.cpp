#include "ui/win32/HostWin32.h"

#include <cstring>

#include "ui/win32/ClipboardSession.h"
#include "ui/win32/GlobalMemoryLock.h"
#include "ui/win32/HostWindowWin32.h"
#include "ui/win32/WindowDc.h"

namespace ui {

namespace {

constexpr int kBaseDpi = 96;

struct GlobalFreeDeleter {
  void operator()(void* memory) const { GlobalFree(memory); }
};

}  // namespace

HostWin32::HostWin32(HINSTANCE instance) : classes_(instance, HostWindowWin32::WindowProc) {
  // The manifest already asks for per-monitor DPI awareness (system awareness before
  // Windows 10, where this call then does nothing); this covers a missing manifest.
  SetProcessDPIAware();
}

HostWin32::~HostWin32() {
  if (clipboardOwner_ != nullptr) DestroyWindow(clipboardOwner_);
}

std::unique_ptr<HostWindow> HostWin32::CreateHostWindow(HostWindowEvents& events, const WindowCreateParams& params) {
  auto window = std::make_unique<HostWindowWin32>(events, params, classes_, fonts_);
  if (window->Handle() == nullptr) return nullptr;
  return window;
}

int HostWin32::RunMessageLoop() {
  MSG message{};
  for (;;) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  quitPosted_ = false;  // the loop took the quit
  return static_cast<int>(message.wParam);
}

void HostWin32::RunModalLoop(const std::function<bool()>& done) {
  while (!quitPosted_ && !done()) {
    MSG message{};
    if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        // Put it back, so the outer loop ends too.
        PostQuitMessage(static_cast<int>(message.wParam));
        quitPosted_ = true;
        return;
      }
      TranslateMessage(&message);
      DispatchMessageW(&message);
      continue;
    }
    // PeekMessageW also runs messages that other threads send, and then reports nothing:
    // one of them may have finished the loop (GetMessageW would wait for a posted one).
    if (done()) return;
    MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

void HostWin32::PostQuit(int exitCode) {
  PostQuitMessage(exitCode);
  quitPosted_ = true;
}

int HostWin32::ShowMessageBox(WindowHandle owner, const std::wstring& text, const std::wstring& caption,
                              unsigned flags) {
  const int answer = MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
  return answer == IDOK || answer == IDYES ? IDOK : IDCANCEL;
}

int HostWin32::DisplayScalePercent() const {
  WindowDc screen(nullptr);
  if (screen.Get() == nullptr) return 100;
  const int dpi = GetDeviceCaps(screen.Get(), LOGPIXELSX);
  return dpi > 0 ? dpi * 100 / kBaseDpi : 100;
}

std::wstring HostWin32::ClipboardText() const {
  ClipboardSession session(nullptr);
  if (!session) return {};
  GlobalMemoryLock lock(GetClipboardData(CF_UNICODETEXT));
  const auto* text = static_cast<const wchar_t*>(lock.Data());
  if (text == nullptr) return {};
  // The block may be larger than the text, and need not be terminated within it.
  const size_t capacity = lock.Bytes() / sizeof(wchar_t);
  size_t length = 0;
  while (length < capacity && text[length] != L'\0') ++length;
  return std::wstring(text, length);
}

HWND HostWin32::ClipboardOwner() {
  // EmptyClipboard gives the clipboard to the window that opened it; without one,
  // SetClipboardData fails.
  if (clipboardOwner_ == nullptr) {
    clipboardOwner_ =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, classes_.Instance(), nullptr);
  }
  return clipboardOwner_;
}

void HostWin32::SetClipboardText(const std::wstring& text) {
  HWND owner = ClipboardOwner();
  if (owner == nullptr) return;
  ClipboardSession session(owner);
  if (!session || !EmptyClipboard()) return;
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  std::unique_ptr<void, GlobalFreeDeleter> memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
  if (!memory) return;
  {
    GlobalMemoryLock lock(memory.get());
    if (lock.Data() == nullptr) return;
    std::memcpy(lock.Data(), text.c_str(), bytes);
  }
  // The system owns the block once it is on the clipboard, and only then.
  if (SetClipboardData(CF_UNICODETEXT, memory.get()) != nullptr) static_cast<void>(memory.release());
}

std::unique_ptr<Host> CreateWin32Host(HINSTANCE instance) {
  return std::make_unique<HostWin32>(instance);
}

}  // namespace ui
