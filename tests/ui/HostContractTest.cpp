#include "ui/HostContract.h"

#include <algorithm>
#include <atomic>
#include <thread>

#include "base/WindowMessage.h"
#include "ui/RecordingWindowEvents.h"

namespace {

using namespace std::chrono_literals;

constexpr wchar_t kBoxCaption[] = L"Quorvel host contract";
constexpr uint32_t kFirstOwn = 600;
constexpr uint32_t kLastOwn = 620;

ui::WindowCreateParams ContractWindow() {
  ui::WindowCreateParams params;
  params.title = L"Quorvel 宋体 contract";
  params.rect = {100, 120, 420, 360};
  params.captionHeight = 40;
  params.firstOwnMessage = kFirstOwn;
  params.lastOwnMessage = kLastOwn;
  return params;
}

}  // namespace

void HostContract::SetUp() {
  std::string whyNot;
  harness_ = GetParam().make(whyNot);
  if (!harness_) GTEST_SKIP() << whyNot;
}

void HostContract::TearDown() {
  harness_.reset();
}

TEST_P(HostContract, AWindowKeepsItsTitleAndBoundsAndReportsItsEndOnce) {
  RecordingWindowEvents events;
  events.window = harness_->Host().CreateHostWindow(events, ContractWindow());
  ASSERT_NE(events.window, nullptr);
  const ui::WindowHandle handle = events.window->Handle();
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(events.window->Title(), L"Quorvel 宋体 contract");
  events.window->SetTitle(L"打印机 two");
  EXPECT_EQ(events.window->Title(), L"打印机 two");

  events.window->Show(true);
  const ui::Rect wanted{50, 60, 450, 360};
  events.window->SetBounds(wanted);
  EXPECT_TRUE(harness_->PumpUntil([&] { return events.window->Bounds() == wanted; }, 5s))
      << "at " << events.window->Bounds().left << "," << events.window->Bounds().top;
  EXPECT_EQ(events.window->ClientSize(), (ui::Size{400, 300}));

  events.window->Destroy();  // the recorder lets go of the host window when told
  EXPECT_EQ(events.destroyed, 1);
  EXPECT_EQ(events.window, nullptr);
  harness_->PassTime(50ms);
  EXPECT_EQ(events.destroyed, 1);
  // A message to a window that is gone answers 0 at once and reaches no one.
  EXPECT_EQ(ui::SendWindowMessage(handle, kFirstOwn, 1, 0), 0);
  EXPECT_TRUE(events.messages.empty());
}

TEST_P(HostContract, TimersRepeatPerIdUntilKilled) {
  RecordingWindowEvents events;
  events.window = harness_->Host().CreateHostWindow(events, ContractWindow());
  ASSERT_NE(events.window, nullptr);
  int sevens = 0;
  events.timer = [&](int id) {
    if (id == 7 && ++sevens == 3) events.window->KillTimer(7);  // killed from its own tick
  };
  events.window->SetTimer(7, 10);
  events.window->SetTimer(8, 15);
  ASSERT_TRUE(harness_->PumpUntil([&] { return sevens == 3; }, 5s));
  events.window->KillTimer(8);
  const size_t ticks = events.timers.size();
  harness_->PassTime(80ms);
  EXPECT_EQ(events.timers.size(), ticks);
  EXPECT_EQ(sevens, 3);
  EXPECT_NE(std::find(events.timers.begin(), events.timers.end(), 8), events.timers.end());
}

TEST_P(HostContract, AMessageFromAnotherThreadRunsOnTheUiThreadWhileTheSenderWaits) {
  RecordingWindowEvents events;
  events.window = harness_->Host().CreateHostWindow(events, ContractWindow());
  ASSERT_NE(events.window, nullptr);
  const ui::WindowHandle handle = events.window->Handle();
  std::atomic<bool> handled{false};
  events.answer = [&](uint32_t, uintptr_t wParam, intptr_t) -> intptr_t {
    handled = true;
    return static_cast<intptr_t>(wParam) * 2;
  };
  std::atomic<bool> finished{false};
  intptr_t result = 0;
  bool handledBeforeReturn = false;
  std::thread worker([&] {
    result = ui::SendWindowMessage(handle, kFirstOwn + 2, 21, 7);
    handledBeforeReturn = handled;
    finished = true;
  });
  const bool done = harness_->PumpUntil([&] { return finished.load(); }, 5s);
  worker.join();
  ASSERT_TRUE(done);
  EXPECT_EQ(result, 42);
  EXPECT_TRUE(handledBeforeReturn);
  ASSERT_EQ(events.messages.size(), 1u);
  EXPECT_EQ(events.messages[0].message, kFirstOwn + 2);
  EXPECT_EQ(events.messages[0].wParam, 21u);
  EXPECT_EQ(events.messages[0].lParam, 7);
  EXPECT_EQ(events.messages[0].thread, std::this_thread::get_id());
}

TEST_P(HostContract, AQuitEndsTheLoopWithItsCodeAndStaysPostedThroughAModalLoop) {
  RecordingWindowEvents events;
  events.window = harness_->Host().CreateHostWindow(events, ContractWindow());
  ASSERT_NE(events.window, nullptr);
  ui::Host& host = harness_->Host();
  events.answer = [&](uint32_t, uintptr_t, intptr_t) -> intptr_t {
    host.PostQuit(5);
    return 0;
  };
  const ui::WindowHandle handle = events.window->Handle();
  std::thread worker([handle] { ui::SendWindowMessage(handle, kFirstOwn, 0, 0); });
  host.RunModalLoop([] { return false; });  // ends only by the quit
  worker.join();
  EXPECT_TRUE(host.QuitPosted());
  EXPECT_EQ(host.RunMessageLoop(), 5);
  EXPECT_FALSE(host.QuitPosted());
}

TEST_P(HostContract, MessageBoxesAnswerOkOrCancel) {
  RecordingWindowEvents events;
  events.window = harness_->Host().CreateHostWindow(events, ContractWindow());
  ASSERT_NE(events.window, nullptr);
  events.window->Show(true);
  harness_->AnswerNextBox(kBoxCaption, 2);
  EXPECT_EQ(harness_->Host().ShowMessageBox(events.window->Handle(), L"Delete COM3:?", kBoxCaption, 0x41), 2);
  harness_->AnswerNextBox(kBoxCaption, 1);
  EXPECT_EQ(harness_->Host().ShowMessageBox(nullptr, L"安装完成", kBoxCaption, 0x40), 1);
}

TEST_P(HostContract, TheClipboardKeepsUnicodeText) {
  ui::Host& host = harness_->Host();
  host.SetClipboardText(L"打印机 COM1: ✓");
  EXPECT_EQ(host.ClipboardText(), L"打印机 COM1: ✓");
  host.SetClipboardText(L"Quorvel-A4(300)");
  EXPECT_EQ(host.ClipboardText(), L"Quorvel-A4(300)");
}

TEST_P(HostContract, AWindowGivenTheFocusIsToldSo) {
  RecordingWindowEvents events;
  events.window = harness_->Host().CreateHostWindow(events, ContractWindow());
  ASSERT_NE(events.window, nullptr);
  events.window->Show(true);
  harness_->PumpUntil([&] { return events.paints > 0; }, 5s);
  if (!harness_->FocusWindow(*events.window)) GTEST_SKIP() << "this host cannot give a window the focus here";
  EXPECT_TRUE(harness_->PumpUntil([&] { return !events.focus.empty() && events.focus.back(); }, 5s));
}
