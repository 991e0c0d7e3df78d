#include <gtest/gtest.h>

#include <thread>

#include "base/WindowMessage.h"
#include "ui/UiTestSupport.h"
#include "ui/core/Container.h"

using HeadlessHostTest = uitest::UiTest;

namespace {

using uitest::TestWindow;
using uitest::UiTest;

const wchar_t* kPlain = L"<Window size='120,80'><Button name='b' text='b'/></Window>";

class Ticker : public ui::Control {
 public:
  int ticks = 0;
  bool DoEvent(ui::UiEvent& event) override {
    if (event.type != ui::UiEventType::Timer) return false;
    ++ticks;
    return true;
  }
};

TEST_F(HeadlessHostTest, TimersFireOnlyWhenVirtualTimeAdvances) {
  TestWindow* window = Open(L"<Window size='120,80'><VerticalLayout name='root'/></Window>");
  auto* ticker = window->FindControl<ui::Container>(L"root")->Add(std::make_unique<Ticker>());
  window->Tree().SetTimer(ticker, 1, 30);
  host_->RunUntilIdle();
  EXPECT_EQ(ticker->ticks, 0);
  host_->AdvanceTime(100);
  EXPECT_EQ(ticker->ticks, 3);
  window->Tree().KillTimer(ticker, 1);
  host_->AdvanceTime(100);
  EXPECT_EQ(ticker->ticks, 3);
}

TEST_F(HeadlessHostTest, TheMainLoopEndsWithTheQuitAndReturnsItsCode) {
  TestWindow* window = Open(kPlain);
  window->onMessage = [](uint32_t message, uintptr_t, intptr_t, bool& handled) -> intptr_t {
    if (message == ui::kWmDestroy) ui::CurrentHost().PostQuit(0);
    handled = false;
    return 0;
  };
  const ui::WindowHandle handle = window->GetHWND();
  host_->QueueIdleAction([&] { host_->ClickControl(handle, L"b"); });
  host_->QueueIdleAction([&] { host_->RequestClose(handle); });
  EXPECT_EQ(host_->RunMessageLoop(), 0);
  EXPECT_FALSE(window->IsWindow());
  EXPECT_EQ(window->notes.back(), L"click:b");
  EXPECT_FALSE(host_->QuitPosted());  // the loop took the quit
}

TEST_F(HeadlessHostTest, AnIdleLoopWithNothingToWaitForGivesUp) {
  Open(kPlain);
  host_->SetIdleTimeout(std::chrono::milliseconds(50));
  testing::internal::CaptureStderr();
  EXPECT_EQ(host_->RunMessageLoop(), -1);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("idle"), std::string::npos);
}

TEST_F(HeadlessHostTest, MessageBoxesAreRecordedAndAnsweredFromAnyThread) {
  host_->QueueMessageBoxAnswer(ui::kIdCancel);
  int answer = 0;
  std::thread worker([&] { answer = ui::CurrentHost().ShowMessageBox(nullptr, L"q", L"t", ui::kMbOkCancel); });
  worker.join();
  EXPECT_EQ(answer, ui::kIdCancel);
  EXPECT_EQ(ui::CurrentHost().ShowMessageBox(nullptr, L"n", L"t", ui::kMbIconInformation), ui::kIdOk);
  ASSERT_EQ(host_->MessageBoxes().size(), 2u);
  EXPECT_EQ(host_->MessageBoxes()[1].flags, ui::kMbIconInformation);
}

TEST_F(HeadlessHostTest, HiddenAndGoneWindowsTakeNoInput) {
  TestWindow* window = Open(kPlain);
  const ui::WindowHandle handle = window->GetHWND();
  window->ShowWindow(false);
  EXPECT_FALSE(host_->ClickControl(handle, L"b"));
  window->ShowWindow(true);
  EXPECT_TRUE(host_->ClickControl(handle, L"b"));
  window->DestroyWindow();
  EXPECT_FALSE(host_->Click(handle, {5, 5}));
  EXPECT_FALSE(host_->RenderToPng(handle, "/nonexistent/x.png"));
}

}  // namespace
