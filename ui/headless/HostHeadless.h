// The headless host (Linux build): windows without an OS window, for tests and for
// rendering any window to a PNG. Install it with ui::InstallHost, create windows as
// usual, then drive them:
//
//   auto host = std::make_unique<ui::HostHeadless>(125);   // display scale in percent
//   auto* headless = host.get();
//   ui::InstallHost(std::move(host));
//   window->Create(nullptr, L"", ui::kWsVisible, 0);
//   headless->RunUntilIdle();                 // messages, layout and paint
//   headless->ClickControl(window->GetHWND(), L"btn_setup_next");
//   headless->AdvanceTime(500);               // timers (animations, caret) fall due
//   headless->RenderToPng(window->GetHWND(), "main.png");
//
// Loops: RunMessageLoop and RunModalLoop pump the message bus (worker threads' window
// messages) and paint invalid windows at most once a frame (16 ms of real time), until
// quit or done. When nothing is left to do they run the next queued idle action (that
// is how a test scripts a modal popup), else they wait for another thread; after the
// idle timeout they give up with a quit of -1 and a line on stderr.
// Time is virtual: timers fire only inside AdvanceTime.
//
// Threads: UI thread only (the thread that runs the loops), except ShowMessageBox,
// which any thread may call.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "ui/core/Host.h"
#include "ui/headless/HostWindowHeadless.h"

namespace ui {

class HostHeadless final : public Host {
 public:
  struct MessageBoxRecord {
    WindowHandle owner = nullptr;
    std::wstring text;
    std::wstring caption;
    unsigned flags = 0;
  };

  explicit HostHeadless(int scalePercent = 100);
  ~HostHeadless() override;
  HostHeadless(const HostHeadless&) = delete;
  HostHeadless& operator=(const HostHeadless&) = delete;

  // ---- Host
  std::unique_ptr<HostWindow> CreateHostWindow(HostWindowEvents& events, const WindowCreateParams& params) override;
  int RunMessageLoop() override;
  void RunModalLoop(const std::function<bool()>& done) override;
  void PostQuit(int exitCode) override;
  bool QuitPosted() const override { return quitPosted_; }
  int ShowMessageBox(WindowHandle owner, const std::wstring& text, const std::wstring& caption,
                     unsigned flags) override;
  int DisplayScalePercent() const override { return scale_; }
  std::wstring ClipboardText() const override { return clipboard_; }
  void SetClipboardText(const std::wstring& text) override { clipboard_ = text; }
  bool IsHighContrast() const override { return highContrast_; }
  SystemColors HighContrastColors() const override { return highContrastColors_; }

  // As the system's setting changes: every window paints again.
  void SetHighContrast(bool on, const SystemColors& colors = {});

  // ---- loops and time
  // Window messages and paints until nothing is left (never waits).
  void RunUntilIdle();
  // Moves the virtual clock on, firing the timers that fall due in time order.
  void AdvanceTime(int milliseconds);
  int64_t Now() const { return now_; }
  void QueueIdleAction(std::function<void()> action);
  void SetIdleTimeout(std::chrono::milliseconds timeout) { idleTimeout_ = timeout; }
  int ExitCode() const { return exitCode_; }

  // ---- input; false when the window is gone, hidden or disabled (as a modal owner)
  bool Click(WindowHandle window, Point point, MouseButton button = MouseButton::Left);
  bool MoveMouse(WindowHandle window, Point point);
  bool Wheel(WindowHandle window, Point point, int delta);
  bool PressKey(WindowHandle window, unsigned key, bool shift = false, bool control = false, bool alt = false);
  bool TypeText(WindowHandle window, const std::wstring& text);
  // The system's close command (Alt+F4, the title bar's close).
  bool RequestClose(WindowHandle window);
  // Clicks the centre of a named control of a toolkit window; false when the window or
  // a shown control of that name is missing.
  bool ClickControl(WindowHandle window, std::wstring_view name);

  // ---- windows and pictures
  HostWindowHeadless* Window(WindowHandle window) const;  // live windows only
  std::vector<WindowHandle> Windows() const;              // live, in creation order
  bool RenderToPng(WindowHandle window, const std::string& path);
  // A pixel of the window's picture after painting it: premultiplied 0xAARRGGBB.
  uint32_t PixelAt(WindowHandle window, Point point);

  // ---- message boxes
  // Answers for the next message boxes, in order; without one a box answers kIdOk.
  void QueueMessageBoxAnswer(int answer);
  std::vector<MessageBoxRecord> MessageBoxes() const;

  // Called by its windows.
  void Forget(HostWindowHeadless* window);
  void Focus(HostWindowHeadless* window);

 private:
  struct Wake {
    std::mutex lock;
    std::condition_variable signal;
    bool woken = false;
  };
  using Clock = std::chrono::steady_clock;

  void Loop(const std::function<bool()>& done);
  // Paints invalid windows; with paced, only when a frame's time has passed.
  bool PaintInvalid(bool paced);
  bool Usable(HostWindowHeadless* window) const;

  int scale_;
  bool quitPosted_ = false;
  int exitCode_ = 0;
  int64_t now_ = 0;
  std::wstring clipboard_;
  bool highContrast_ = false;
  SystemColors highContrastColors_;
  std::vector<HostWindowHeadless*> windows_;
  HostWindowHeadless* focused_ = nullptr;
  std::deque<std::function<void()>> idleActions_;
  std::chrono::milliseconds idleTimeout_{10000};
  Clock::time_point lastPaint_{};
  std::shared_ptr<Wake> wake_ = std::make_shared<Wake>();
  mutable std::mutex boxLock_;
  std::deque<int> boxAnswers_;
  std::vector<MessageBoxRecord> boxes_;
};

}  // namespace ui
