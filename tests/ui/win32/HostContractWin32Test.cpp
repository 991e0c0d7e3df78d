#include <windows.h>

#include <vector>

#include "WaitUntil.h"
#include "ui/HostContract.h"
#include "ui/win32/HostWin32.h"
#include "ui/win32/Win32BoxAnswerer.h"

namespace {

class Win32Harness final : public HostHarness {
 public:
  ui::Host& Host() override { return host_; }
  bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) override {
    return WaitUntil(
        [&] {
          MSG message;
          while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
          }
          return done();
        },
        limit);
  }
  void PassTime(std::chrono::milliseconds span) override {
    const auto end = std::chrono::steady_clock::now() + span;
    PumpUntil([&] { return std::chrono::steady_clock::now() >= end; }, span + std::chrono::seconds(1));
  }
  void AnswerNextBox(const std::wstring& caption, int button) override {
    answerers_.push_back(std::make_unique<BoxAnswerer>(button, caption));
  }
  bool FocusWindow(ui::HostWindow& window) override {
    const HWND handle = static_cast<HWND>(window.Handle());
    SetForegroundWindow(handle);
    SetFocus(handle);
    return true;
  }

 private:
  ui::HostWin32 host_{GetModuleHandleW(nullptr)};
  std::vector<std::unique_ptr<BoxAnswerer>> answerers_;  // joined before the host goes
};

std::unique_ptr<HostHarness> MakeWin32Harness(std::string& whyNot) {
  if (GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) == 0) {
    whyNot = "DISPLAY is not set: windows under Wine need an X display (run under Xvfb)";
    return nullptr;
  }
  return std::make_unique<Win32Harness>();
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(Win32, HostContract, testing::Values(HostUnderTest{"Win32", MakeWin32Harness}),
                         HostContractName);
