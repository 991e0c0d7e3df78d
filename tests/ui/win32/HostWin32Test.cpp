// The Windows host on real windows under Wine: creation, painting, the numbered window
// messages across threads, timers, the loops and their quit, message boxes, input.
//
// Destroying a shown window costs two seconds under Wine without a window manager: Wine
// manages popups with a system menu and waits for their withdrawal. Few tests show one.
#include <gtest/gtest.h>

#include "ui/win32/WindowsHeaders.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "WaitUntil.h"
#include "base/WindowMessage.h"
#include "ui/RecordingWindowEvents.h"
#include "ui/win32/HostWin32.h"
#include "ui/win32/Win32BoxAnswerer.h"
#include "ui/win32/WindowDc.h"

namespace {

using namespace std::chrono_literals;

constexpr wchar_t kBoxCaption[] = L"Quorvel host test box";

bool HasDisplay() {
  return GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) > 0;
}

// Posts a quit to the UI thread unless stopped in time, so a loop that fails to end
// fails the test instead of hanging it.
class Watchdog {
 public:
  explicit Watchdog(std::chrono::milliseconds timeout)
      : thread_([this, timeout, ui = GetCurrentThreadId()] {
          std::unique_lock guard(lock_);
          if (!stopped_.wait_for(guard, timeout, [this] { return stop_; })) {
            fired = true;
            PostThreadMessageW(ui, WM_QUIT, 99, 0);
          }
        }) {}
  ~Watchdog() {
    {
      std::lock_guard guard(lock_);
      stop_ = true;
    }
    stopped_.notify_all();
    thread_.join();
  }
  std::atomic<bool> fired{false};

 private:
  std::mutex lock_;
  std::condition_variable stopped_;
  bool stop_ = false;
  std::thread thread_;
};

class Win32HostTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!HasDisplay()) GTEST_SKIP() << "DISPLAY is not set: windows under Wine need an X display (run under Xvfb)";
    host = std::make_unique<ui::HostWin32>(GetModuleHandleW(nullptr));
  }
  void TearDown() override {
    events.window.reset();
    host.reset();
    // A quit left behind by a test must not end the next test's loop.
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
  }

  // At 100,100, 300 × 200, resize margins 4,4,6,6, caption 30.
  static ui::WindowCreateParams Params() {
    ui::WindowCreateParams params;
    params.className = L"MainWnd";
    params.title = L"Quorvel host test";
    params.rect = {100, 100, 400, 300};
    params.resizeBorder = {4, 4, 6, 6};
    params.captionHeight = 30;
    // Any range: the host has none of its own.
    params.firstOwnMessage = 600;
    params.lastOwnMessage = 620;
    return params;
  }
  HWND Open(const ui::WindowCreateParams& params = Params()) {
    events.window = host->CreateHostWindow(events, params);
    return events.window ? events.window->Handle() : nullptr;
  }
  // The modal loop until done(); false when it had to be ended by force after 5 s.
  bool PumpUntil(const std::function<bool()>& done) {
    Watchdog watchdog(5s);
    host->RunModalLoop(done);
    return done() && !watchdog.fired;
  }
  static LRESULT HitTest(HWND window, int screenX, int screenY) {
    return SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(screenX, screenY));
  }

  std::unique_ptr<ui::HostWin32> host;
  RecordingWindowEvents events;
};

// ---- windows --------------------------------------------------------------------------

TEST_F(Win32HostTest, WindowsHaveTheirClassTitleBorderlessStyleAndOwner) {
  HWND main = Open();
  ASSERT_NE(main, nullptr);
  wchar_t name[64] = {};
  GetClassNameW(main, name, 64);
  EXPECT_STREQ(name, L"MainWnd");
  EXPECT_EQ(events.window->Title(), L"Quorvel host test");
  const LONG_PTR style = GetWindowLongPtrW(main, GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_VISIBLE));
  EXPECT_TRUE(GetClassLongPtrW(main, GCL_STYLE) & CS_DBLCLKS);

  ui::WindowCreateParams params = Params();
  params.className = L"PopAbout";
  params.owner = main;
  params.popup = params.topmost = params.toolWindow = true;
  RecordingWindowEvents first, second;  // two windows of one class
  auto popup = host->CreateHostWindow(first, params);
  auto another = host->CreateHostWindow(second, params);
  ASSERT_TRUE(popup && another);
  GetClassNameW(popup->Handle(), name, 64);
  EXPECT_STREQ(name, L"PopAbout");
  EXPECT_EQ(GetWindow(popup->Handle(), GW_OWNER), main);
  EXPECT_EQ(GetWindowLongPtrW(popup->Handle(), GWL_EXSTYLE) & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST),
            WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
  another->SetTitle(L"标题 ภาษาไทย");
  wchar_t title[64] = {};
  GetWindowTextW(another->Handle(), title, 64);
  EXPECT_STREQ(title, L"标题 ภาษาไทย");
}

TEST_F(Win32HostTest, DestroyReportsOnceAndDeletingALiveWindowReportsNothing) {
  HWND window = Open();
  ASSERT_NE(window, nullptr);
  events.window->Destroy();  // OnDestroyed deletes the host window, inside WM_DESTROY
  EXPECT_EQ(events.destroyed, 1);
  EXPECT_FALSE(IsWindow(window));

  window = Open();
  events.window.reset();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(events.destroyed, 1);
}

TEST_F(Win32HostTest, PaintsDoubleBufferedOntoTheWindowOnlyWhereInvalid) {
  HWND window = Open();
  ASSERT_NE(window, nullptr);
  ui::Argb colour = 0xFF2040C0;
  events.paint = [&](ui::Canvas& canvas) { canvas.FillRect({10, 10, 60, 40}, colour); };
  events.window->Show(true);
  UpdateWindow(window);
  ASSERT_GE(events.paints, 1);
  EXPECT_EQ(events.lastDirty, (ui::Rect{0, 0, 300, 200}));
  {
    ui::WindowDc dc(window);
    EXPECT_EQ(GetPixel(dc.Get(), 20, 20), RGB(0x20, 0x40, 0xC0));
    EXPECT_EQ(GetPixel(dc.Get(), 5, 5), RGB(255, 255, 255));  // the body is white
  }
  colour = 0xFFFF0000;
  events.window->Invalidate({10, 10, 15, 15});
  UpdateWindow(window);
  EXPECT_EQ(events.lastDirty, (ui::Rect{10, 10, 15, 15}));
  ui::WindowDc dc(window);
  EXPECT_EQ(GetPixel(dc.Get(), 12, 12), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc.Get(), 20, 20), RGB(0x20, 0x40, 0xC0));  // outside the invalid part
}

TEST_F(Win32HostTest, BoundsClientSizeAndCentringOverTheOwner) {
  HWND window = Open();
  ASSERT_NE(window, nullptr);
  const ui::Rect bounds{50, 60, 50 + 700, 60 + 500};  // left, top, right, bottom
  events.window->SetBounds(bounds);
  EXPECT_EQ(events.window->Bounds(), bounds);
  EXPECT_EQ(events.window->ClientSize(), (ui::Size{700, 500}));
  ASSERT_FALSE(events.sizes.empty());
  EXPECT_EQ(events.sizes.back(), (ui::Size{700, 500}));

  RecordingWindowEvents popupEvents;
  ui::WindowCreateParams params = Params();
  params.owner = window;
  params.rect = {0, 0, 430, 150};
  auto popup = host->CreateHostWindow(popupEvents, params);
  ASSERT_TRUE(popup);
  popup->CenterOver(window);
  EXPECT_EQ(popup->Bounds(), (ui::Rect{185, 235, 615, 385}));
}

// Moved to a monitor at 200 %: the toolkit hears the new scale, the window takes the
// system's suggested rectangle, and the limits and bands grow with the scale.
TEST_F(Win32HostTest, AnotherMonitorsScaleReachesTheToolkitAndTheWindowTakesTheSuggestedRect) {
  ui::WindowCreateParams params = Params();
  params.minSize = {250, 150};
  HWND window = Open(params);
  ASSERT_NE(window, nullptr);
  const ui::WindowDc screen(nullptr);
  ASSERT_EQ(GetDeviceCaps(screen.Get(), LOGPIXELSX), 96) << "the test counts on a 100 % primary monitor";
  RECT suggested{1300, 100, 1900, 500};
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(events.scales, std::vector<int>{200});
  EXPECT_EQ(events.window->Bounds(), (ui::Rect{1300, 100, 1900, 500}));
  ASSERT_FALSE(events.sizes.empty());
  EXPECT_EQ(events.sizes.back(), (ui::Size{600, 400}));
  MINMAXINFO limits{};
  SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  EXPECT_EQ(limits.ptMinTrackSize.x, 500);
  EXPECT_EQ(limits.ptMinTrackSize.y, 300);
  events.hitTestAnswer = 0;
  EXPECT_EQ(HitTest(window, 1400, 150), HTCAPTION);  // the caption band is 60 now
  EXPECT_EQ(HitTest(window, 1306, 300), HTLEFT);     // and the left margin 8

  // The same scale again changes nothing.
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(events.scales.size(), 1u);
}

// ---- window messages ------------------------------------------------------------------

TEST_F(Win32HostTest, MessageFromAnotherThreadRunsOnTheUiThreadWhileTheSenderWaits) {
  HWND window = Open();
  ASSERT_NE(window, nullptr);
  std::atomic<bool> handled{false};
  events.answer = [&](uint32_t, uintptr_t, intptr_t) -> intptr_t {
    Sleep(50);  // a handler that takes time: the sender must still wait for its answer
    handled = true;
    return 42;
  };
  intptr_t result = -1;
  bool handledBeforeReturn = false;
  std::thread worker([&] {
    result = ui::SendWindowMessage(window, 602, 1, 0x1234);
    handledBeforeReturn = handled;
  });
  const bool done = PumpUntil([&] { return handled.load(); });
  worker.join();
  ASSERT_TRUE(done);
  EXPECT_EQ(result, 42);
  EXPECT_TRUE(handledBeforeReturn);
  ASSERT_EQ(events.messages.size(), 1u);
  EXPECT_EQ(events.messages[0].message, 602u);
  EXPECT_EQ(events.messages[0].wParam, 1u);
  EXPECT_EQ(events.messages[0].lParam, 0x1234);
  EXPECT_EQ(events.messages[0].thread, std::this_thread::get_id());
}

TEST_F(Win32HostTest, OnlyTheNumberedRangeReachesTheToolkitAndItsExceptionsStayInside) {
  HWND window = Open();
  ASSERT_NE(window, nullptr);
  events.answer = [](uint32_t message, uintptr_t, intptr_t) -> intptr_t {
    if (message == 610) throw std::runtime_error("handler failed");
    return message;
  };
  EXPECT_EQ(SendMessageW(window, 600, 0, 0), 600);
  EXPECT_EQ(SendMessageW(window, 620, 0, 0), 620);
  EXPECT_EQ(SendMessageW(window, 599, 0, 0), 0);
  EXPECT_EQ(SendMessageW(window, 621, 0, 0), 0);
  EXPECT_EQ(events.messages.size(), 2u);
  EXPECT_EQ(SendMessageW(window, 610, 1, 0), 0);
  EXPECT_TRUE(IsWindow(window));
}

TEST_F(Win32HostTest, SendAfterDestroyReturnsZeroAtOnce) {
  HWND window = Open();
  ASSERT_NE(window, nullptr);
  events.window->Destroy();
  // Not pumping: a send that waited for the UI thread would not end.
  auto send = std::async(std::launch::async, [&] { return ui::SendWindowMessage(window, 602, 0, 0); });
  const bool returned = send.wait_for(2s) == std::future_status::ready;
  if (!returned) PumpUntil([&] { return send.wait_for(0s) == std::future_status::ready; });
  EXPECT_TRUE(returned);
  EXPECT_EQ(send.get(), 0);
  EXPECT_TRUE(events.messages.empty());
}

// ---- timers and loops -----------------------------------------------------------------

TEST_F(Win32HostTest, TimersFireUntilKilled) {
  ASSERT_NE(Open(), nullptr);
  events.window->SetTimer(7, 15);
  ASSERT_TRUE(PumpUntil([&] { return events.timers.size() >= 3; }));
  events.window->KillTimer(7);
  const size_t fired = events.timers.size();
  events.window->SetTimer(8, 150);  // long after timer 7's interval
  ASSERT_TRUE(PumpUntil([&] { return events.timers.back() == 8; }));
  EXPECT_EQ(events.timers.size(), fired + 1);
  EXPECT_FALSE(host->QuitPosted());
}

TEST_F(Win32HostTest, ModalLoopEndsWhenAMessageSentFromAnotherThreadMakesItDone) {
  HWND window = Open();
  ASSERT_NE(window, nullptr);
  bool closed = false;
  events.answer = [&](uint32_t, uintptr_t, intptr_t) -> intptr_t { return closed = true; };
  MSG message;  // nothing posted may wake the loop: only the sent message
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  std::thread worker([&] { ui::SendWindowMessage(window, 618, 0, 0); });
  const bool done = PumpUntil([&] { return closed; });
  worker.join();
  EXPECT_TRUE(done);
}

TEST_F(Win32HostTest, QuitPostedInsideAModalLoopEndsItAndTheOuterLoop) {
  ASSERT_NE(Open(), nullptr);
  bool modalReturned = false;
  events.timer = [&](int id) {
    events.window->KillTimer(id);
    if (id == 2) {
      host->PostQuit(5);
      return;
    }
    events.window->SetTimer(2, 10);
    host->RunModalLoop([] { return false; });
    modalReturned = host->QuitPosted();
    host->RunModalLoop([] { return false; });  // the quit stays: returns at once
  };
  events.window->SetTimer(1, 10);
  Watchdog watchdog(5s);
  EXPECT_EQ(host->RunMessageLoop(), 5);
  EXPECT_TRUE(modalReturned);
  EXPECT_FALSE(host->QuitPosted());  // the outer loop took it
}

TEST_F(Win32HostTest, ModalLoopPutsBackAQuitPostedBehindTheHostsBack) {
  ASSERT_NE(Open(), nullptr);
  events.timer = [&](int id) {
    events.window->KillTimer(id);
    PostQuitMessage(6);
  };
  events.window->SetTimer(1, 10);
  EXPECT_FALSE(PumpUntil([] { return false; }));
  EXPECT_TRUE(host->QuitPosted());
  Watchdog watchdog(5s);
  EXPECT_EQ(host->RunMessageLoop(), 6);
}

// ---- message boxes (each box costs two seconds, see the top) --------------------------

TEST_F(Win32HostTest, MessageBoxesAreOwnedAndAnswerOneOrTwoOnEitherThread) {
  HWND window = Open();
  ASSERT_NE(window, nullptr);
  {
    BoxAnswerer answerer(IDCANCEL, kBoxCaption);
    EXPECT_EQ(host->ShowMessageBox(window, L"Continue?", kBoxCaption, MB_OKCANCEL | MB_ICONQUESTION), 2);
    EXPECT_EQ(answerer.owner.load(), window);
  }
  BoxAnswerer answerer(IDOK, kBoxCaption);
  auto box = std::async(std::launch::async, [&] {
    const int answer = host->ShowMessageBox(window, L"安装完成", kBoxCaption, MB_OK | MB_ICONINFORMATION);
    PostMessageW(window, WM_NULL, 0, 0);  // wakes the UI thread's loop to look at the answer
    return answer;
  });
  ASSERT_TRUE(PumpUntil([&] { return box.wait_for(0s) == std::future_status::ready; }));
  EXPECT_EQ(box.get(), 1);
  EXPECT_EQ(answerer.owner.load(), window);
}

// ---- caption, borders, input ----------------------------------------------------------

TEST_F(Win32HostTest, HitTestTakesTheToolkitsAnswerElseBordersCaptionAndClient) {
  HWND window = Open();
  ASSERT_NE(window, nullptr);
  events.hitTestAnswer = HTCLIENT;  // the toolkit knows where its caption buttons are
  EXPECT_EQ(HitTest(window, 101, 101), HTCLIENT);
  events.hitTestAnswer = 0;  // not handled: the host's own rules
  EXPECT_EQ(HitTest(window, 101, 101), HTTOPLEFT);
  EXPECT_EQ(HitTest(window, 250, 102), HTTOP);
  EXPECT_EQ(HitTest(window, 101, 200), HTLEFT);
  EXPECT_EQ(HitTest(window, 395, 295), HTBOTTOMRIGHT);  // right and bottom margins are 6
  EXPECT_EQ(HitTest(window, 393, 200), HTCLIENT);
  EXPECT_EQ(HitTest(window, 150, 110), HTCAPTION);
  EXPECT_EQ(HitTest(window, 150, 140), HTCLIENT);

  ui::WindowCreateParams fixed = Params();
  fixed.resizable = false;
  fixed.minSize = {560, 400};
  RecordingWindowEvents fixedEvents;
  auto other = host->CreateHostWindow(fixedEvents, fixed);
  ASSERT_TRUE(other);
  EXPECT_EQ(HitTest(other->Handle(), 101, 101), HTCAPTION);
  EXPECT_EQ(HitTest(other->Handle(), 395, 295), HTCLIENT);
  MINMAXINFO limits{};
  limits.ptMaxTrackSize = {5000, 4000};
  SendMessageW(other->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  EXPECT_EQ(limits.ptMinTrackSize.x, 560);
  EXPECT_EQ(limits.ptMinTrackSize.y, 400);
  EXPECT_EQ(limits.ptMaxTrackSize.x, 5000);  // 0: no limit of ours
}

TEST_F(Win32HostTest, MouseEventsCarryClientPositionsButtonsAndModifiers) {
  HWND window = Open();  // client origin at screen 100,100
  ASSERT_NE(window, nullptr);
  SendMessageW(window, WM_MOUSEMOVE, MK_CONTROL, MAKELPARAM(-5, 10));  // captured, left of the window
  SendMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 30));
  SendMessageW(window, WM_RBUTTONUP, 0, MAKELPARAM(21, 31));
  SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, static_cast<WORD>(-120)), MAKELPARAM(150, 130));
  SendMessageW(window, WM_MOUSELEAVE, 0, 0);
  ASSERT_EQ(events.mouse.size(), 5u);
  EXPECT_EQ(events.mouse[0].position, (ui::Point{-5, 10}));
  EXPECT_TRUE(events.mouse[0].control);
  EXPECT_EQ(events.mouse[1].action, ui::MouseAction::DoubleClick);
  EXPECT_EQ(events.mouse[1].button, ui::MouseButton::Left);
  EXPECT_EQ(events.mouse[2].action, ui::MouseAction::Up);
  EXPECT_EQ(events.mouse[2].button, ui::MouseButton::Right);
  EXPECT_EQ(events.mouse[3].action, ui::MouseAction::Wheel);
  EXPECT_EQ(events.mouse[3].position, (ui::Point{50, 30}));
  EXPECT_EQ(events.mouse[3].wheelDelta, -120);
  EXPECT_TRUE(events.mouse[3].shift);
  EXPECT_EQ(events.mouse[4].action, ui::MouseAction::Leave);
}

TEST_F(Win32HostTest, CharactersBecomeTextPairingSurrogatesAndKeysStayKeys) {
  HWND window = Open();
  ASSERT_NE(window, nullptr);
  SendMessageW(window, WM_KEYDOWN, VK_RETURN, 1);
  SendMessageW(window, WM_CHAR, L'\r', 1);  // Enter is a key, not text
  SendMessageW(window, WM_CHAR, L'a', 1);
  SendMessageW(window, WM_CHAR, 0xD83D, 1);
  SendMessageW(window, WM_CHAR, 0xDE00, 1);
  SendMessageW(window, WM_CHAR, 0x0E01, 1);
  SendMessageW(window, WM_KEYUP, 'A', 1);
  ASSERT_EQ(events.keys.size(), 2u);
  EXPECT_TRUE(events.keys[0].down);
  EXPECT_EQ(events.keys[0].key, static_cast<unsigned>(VK_RETURN));
  EXPECT_FALSE(events.keys[1].down);
  EXPECT_EQ(events.texts, (std::vector<std::wstring>{L"a", L"\U0001F600", L"\u0E01"}));
}

TEST_F(Win32HostTest, SystemCloseAndAltF4AskTheToolkitInsteadOfDestroying) {
  HWND window = Open();
  ASSERT_NE(window, nullptr);
  SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(events.closeRequests, 1);
  SendMessageW(window, WM_SYSKEYDOWN, VK_F4, 1 | (1 << 29));  // the system posts SC_CLOSE
  ASSERT_TRUE(PumpUntil([&] { return events.closeRequests == 2; }));
  ASSERT_FALSE(events.keys.empty());
  EXPECT_TRUE(events.keys[0].alt);
  EXPECT_TRUE(IsWindow(window));
  EXPECT_EQ(events.destroyed, 0);
}

TEST_F(Win32HostTest, ClipboardRoundTripsUnicodeText) {
  host->SetClipboardText(L"粘贴 ภาษาไทย text");
  EXPECT_EQ(host->ClipboardText(), L"粘贴 ภาษาไทย text");
}

}  // namespace
