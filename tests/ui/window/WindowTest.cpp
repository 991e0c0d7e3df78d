#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "base/MessageBus.h"
#include "base/WindowMessage.h"
#include "ui/UiTestSupport.h"
#include "ui/controls/Button.h"
#include "ui/controls/Label.h"
#include "ui/controls/Option.h"

using ToolkitWindowTest = uitest::UiTest;

namespace {

using uitest::TestWindow;
using uitest::UiTest;

const wchar_t* kDialog =
    L"<Window size='300,200' caption='0,0,0,40' sizebox='4,4,4,4'>"
    L"<VerticalLayout>"
    L"  <HorizontalLayout height='40' virtualwnd='page'>"
    L"    <Label name='title_lb' text='Title'/>"
    L"    <Button name='minbtn' width='30' glyph='minimize'/><Button name='closebtn' width='30' glyph='close'/>"
    L"  </HorizontalLayout>"
    L"  <Button name='ok' text='OK' height='30'/>"
    L"  <Control/>"
    L"</VerticalLayout></Window>";

class PagePump : public ui::CNotifyPump {
 public:
  PagePump() {
    OnNotify(L"click", [this](ui::TNotifyUI& msg) { clicks.push_back(msg.SenderName()); });
  }
  std::vector<std::wstring> clicks;
};

TEST_F(ToolkitWindowTest, WindowTakesItsSizeFromTheLayoutAndSendsWindowInitOnce) {
  TestWindow* window = Open(kDialog);
  EXPECT_EQ(window->GetHostWindow()->ClientSize(), (ui::Size{300, 200}));
  EXPECT_EQ(std::count(window->notes.begin(), window->notes.end(), L"windowinit:"), 1);
  host_->AdvanceTime(100);
  EXPECT_EQ(std::count(window->notes.begin(), window->notes.end(), L"windowinit:"), 1);
}

TEST_F(ToolkitWindowTest, ClicksReachTheNotifyMapAndVirtualWindows) {
  TestWindow* window = Open(kDialog);
  std::vector<std::wstring> mapped;
  window->OnNotify(L"click", [&](ui::TNotifyUI& msg) { mapped.push_back(msg.SenderName()); });
  PagePump page;
  ASSERT_TRUE(window->AddVirtualWnd(L"page", &page));

  ASSERT_TRUE(host_->ClickControl(window->GetHWND(), L"ok"));
  ASSERT_TRUE(host_->ClickControl(window->GetHWND(), L"minbtn"));
  EXPECT_EQ(mapped, std::vector<std::wstring>{L"ok"});           // the window's own map
  EXPECT_EQ(page.clicks, std::vector<std::wstring>{L"minbtn"});  // routed by "virtualwnd"
  EXPECT_EQ(window->notes.back(), L"click:minbtn");              // Notify sees every one
}

TEST_F(ToolkitWindowTest, PressAndReleaseOutsideIsNoClick) {
  TestWindow* window = Open(kDialog);
  auto* ok = window->FindControl<ui::Button>(L"ok");
  const ui::Rect place = ok->GetPos();
  auto* events = host_->Window(window->GetHWND());
  events->Events().OnMouse({ui::MouseAction::Down, ui::MouseButton::Left, {place.left + 5, place.top + 5}});
  EXPECT_TRUE(ok->IsPushed());
  events->Events().OnMouse({ui::MouseAction::Move, ui::MouseButton::None, {place.left + 5, place.bottom + 40}});
  EXPECT_FALSE(ok->IsPushed());
  events->Events().OnMouse({ui::MouseAction::Up, ui::MouseButton::Left, {place.left + 5, place.bottom + 40}});
  EXPECT_EQ(std::count(window->notes.begin(), window->notes.end(), L"click:ok"), 0);
}

TEST_F(ToolkitWindowTest, KeyFilterSwallowsEscapeAndPassesEnter) {
  TestWindow* window = Open(kDialog);
  std::vector<uintptr_t> keys;
  window->onMessage = [&](uint32_t message, uintptr_t wParam, intptr_t, bool& handled) -> intptr_t {
    if (message == ui::kWmKeyDown) keys.push_back(wParam);
    handled = false;
    return 0;
  };
  window->FindControl<ui::Button>(L"ok")->SetFocus();
  host_->PressKey(window->GetHWND(), ui::kVkEscape);
  host_->PressKey(window->GetHWND(), ui::kVkReturn);
  EXPECT_EQ(keys, std::vector<uintptr_t>{ui::kVkReturn});
  EXPECT_EQ(std::count(window->notes.begin(), window->notes.end(), L"click:ok"), 1);
  EXPECT_TRUE(window->IsWindow());
}

TEST_F(ToolkitWindowTest, HitTestFindsCaptionBordersAndButtons) {
  TestWindow* window = Open(kDialog);
  const ui::Rect bounds = window->GetHostWindow()->Bounds();
  auto hit = [&](int x, int y) {
    const intptr_t packed = ((bounds.top + y) << 16) | ((bounds.left + x) & 0xFFFF);
    return window->GetHostWindow() ? ui::SendWindowMessage(window->GetHWND(), ui::kWmNcHitTest, 0, packed) : 0;
  };
  EXPECT_EQ(hit(100, 20), ui::kHtCaption);  // the title label lets the drag through
  EXPECT_EQ(hit(285, 20), ui::kHtClient);   // the close button takes the click
  EXPECT_EQ(hit(1, 100), ui::kHtLeft);
  EXPECT_EQ(hit(299, 199), ui::kHtBottomRight);
  EXPECT_EQ(hit(150, 120), ui::kHtClient);
}

TEST_F(ToolkitWindowTest, ModalPopupDisablesItsOwnerAndReturnsItsResult) {
  TestWindow* owner = Open(kDialog);
  auto* popup = new TestWindow(kDialog, L"PopAbout");
  popup->deleteOnFinal = true;
  bool finished = false;
  popup->finalFlag = &finished;
  ASSERT_NE(popup->Create(owner->GetHWND(), L"", ui::kWsPopup, ui::kWsExToolWindow | ui::kWsExTopmost), nullptr);
  popup->CenterWindow();
  const ui::WindowHandle popupHandle = popup->GetHWND();
  bool ownerWasDisabled = false;
  host_->QueueIdleAction([&] {
    ownerWasDisabled = !host_->Window(owner->GetHWND())->IsEnabled();
    EXPECT_FALSE(host_->ClickControl(owner->GetHWND(), L"ok"));  // no input while disabled
    popup->Close(7);
  });
  EXPECT_EQ(popup->ShowModal(), 7);
  EXPECT_TRUE(ownerWasDisabled);
  EXPECT_TRUE(finished);  // deleted itself in its final message
  EXPECT_EQ(host_->Window(popupHandle), nullptr);
  EXPECT_TRUE(host_->Window(owner->GetHWND())->IsEnabled());
  EXPECT_EQ(ui::SendWindowMessage(popupHandle, 600, 0, 0), 0);
}

TEST_F(ToolkitWindowTest, CloseButtonOfAPopupEndsTheModalRun) {
  TestWindow* owner = Open(kDialog);
  auto* popup = new TestWindow(kDialog);
  popup->deleteOnFinal = true;
  ASSERT_NE(popup->Create(owner->GetHWND(), L"", ui::kWsPopup, 0), nullptr);
  const ui::WindowHandle handle = popup->GetHWND();
  host_->QueueIdleAction([&] { EXPECT_TRUE(host_->ClickControl(handle, L"closebtn")); });
  EXPECT_EQ(popup->ShowModal(), 0);
  EXPECT_EQ(host_->Window(handle), nullptr);
}

TEST_F(ToolkitWindowTest, SystemCloseGoesThroughTheSystemCommandHandler) {
  TestWindow* owner = Open(kDialog);
  auto* popup = new TestWindow(kDialog);
  popup->deleteOnFinal = true;
  std::vector<uintptr_t> commands;
  popup->onMessage = [&](uint32_t message, uintptr_t wParam, intptr_t, bool& handled) -> intptr_t {
    if (message == ui::kWmSysCommand) {
      commands.push_back(wParam);
      if (wParam == ui::kScClose) {
        ui::CurrentHost().PostQuit(0);  // as the about box does
        handled = true;
        return 0;
      }
    }
    handled = false;
    return 0;
  };
  ASSERT_NE(popup->Create(owner->GetHWND(), L"", ui::kWsPopup, 0), nullptr);
  const ui::WindowHandle handle = popup->GetHWND();
  host_->QueueIdleAction([&] { host_->RequestClose(handle); });
  popup->ShowModal();
  EXPECT_EQ(commands, std::vector<uintptr_t>{ui::kScClose});
  EXPECT_TRUE(host_->QuitPosted());
  EXPECT_NE(host_->Window(handle), nullptr);  // the popup was not closed, the program ends
  EXPECT_TRUE(host_->Window(owner->GetHWND())->IsEnabled());
  popup->DestroyWindow();
}

TEST_F(ToolkitWindowTest, AFailedLayoutShowsTheLoadFailureAndExitsWithOne) {
  int exitCode = -1;
  auto previous = ui::WindowImplBase::SetExitHook([&](int code) { exitCode = code; });
  TestWindow window(L"XML_NOWHERE");
  testing::internal::CaptureStderr();
  EXPECT_EQ(window.Create(nullptr, L"printer driver", ui::kWsOverlappedWindow | ui::kWsVisible, 0), nullptr);
  testing::internal::GetCapturedStderr();
  ui::WindowImplBase::SetExitHook(previous);
  EXPECT_EQ(exitCode, 1);
  const auto boxes = host_->MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].owner, nullptr);
  EXPECT_EQ(boxes[0].text, L"加载资源文件失败：XML_NOWHERE");
  EXPECT_EQ(boxes[0].caption, L"Duilib");
  EXPECT_EQ(boxes[0].flags, ui::kMbIconError);
}

TEST_F(ToolkitWindowTest, AFailedLayoutEndsTheProcessByDefault) {
  EXPECT_EXIT(
      {
        TestWindow window(L"XML_NOWHERE");
        window.Create(nullptr, L"", 0, 0);
      },
      testing::ExitedWithCode(1), "");
}

TEST_F(ToolkitWindowTest, MessagesFromWorkersRunOnTheUiThreadInOrder) {
  TestWindow* window = Open(kDialog);
  const auto uiThread = std::this_thread::get_id();
  std::vector<std::pair<uintptr_t, intptr_t>> seen;
  bool offThread = false;
  window->onMessage = [&](uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled) -> intptr_t {
    if (message == 602) {
      offThread = offThread || std::this_thread::get_id() != uiThread;
      seen.emplace_back(wParam, lParam);
      window->FindControl<ui::Label>(L"title_lb")->SetText(std::to_wstring(lParam));
    }
    handled = false;
    return 0;
  };
  const ui::WindowHandle handle = window->GetHWND();
  std::atomic<int> done{0};
  std::vector<std::thread> workers;
  for (uintptr_t w = 0; w < 2; ++w) {
    workers.emplace_back([&, w] {
      for (intptr_t i = 0; i < 300; ++i) ui::SendWindowMessage(handle, 602, w, i);
      if (++done == 2) ui::SendWindowMessage(handle, ui::kWmSysCommand, ui::kScMinimize, 0);
    });
  }
  host_->RunModalLoop([&] { return host_->Window(handle)->IsMinimized(); });
  for (auto& worker : workers) worker.join();
  EXPECT_FALSE(offThread);
  ASSERT_EQ(seen.size(), 600u);
  intptr_t next[2] = {0, 0};
  for (auto [sender, sequence] : seen) EXPECT_EQ(sequence, next[sender]++);
}

TEST_F(ToolkitWindowTest, ASendToAClosedWindowReturnsAtOnce) {
  TestWindow* window = Open(kDialog);
  const ui::WindowHandle handle = window->GetHWND();
  ASSERT_TRUE(host_->ClickControl(handle, L"closebtn"));
  EXPECT_FALSE(window->IsWindow());
  std::thread worker([&] {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ui::SendWindowMessage(handle, 602, 0, 0), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  });
  worker.join();  // nothing pumps messages here: a hang would show
}

TEST_F(ToolkitWindowTest, DestroyFromInsideAClickHandlerFinishesAfterTheHandler) {
  TestWindow* window = Open(kDialog);
  bool finished = false;
  window->finalFlag = &finished;
  bool textReadAfterDestroy = false;
  window->onNotify = [&](ui::TNotifyUI& msg) {
    if (msg.Is(L"click") && msg.SenderName() == L"ok") {
      window->DestroyWindow();
      EXPECT_FALSE(finished);  // the controls are still there for the handler
      textReadAfterDestroy = msg.sender->GetText() == L"OK";
    }
  };
  host_->ClickControl(window->GetHWND(), L"ok");
  EXPECT_TRUE(textReadAfterDestroy);
  EXPECT_TRUE(finished);
}

}  // namespace

namespace {

TEST_F(ToolkitWindowTest, InitWindowRunsBeforeTheWindowShowsAndMaySendItselfMessages) {
  auto window = std::make_unique<TestWindow>(kDialog);
  std::vector<std::wstring> order;
  window->onInit = [&] {
    order.push_back(window->GetHostWindow()->Handle() ? L"init" : L"init-without-window");
    EXPECT_FALSE(host_->Window(window->GetHWND())->IsVisible());
    window->Send(607, 1, 0);  // the main window hides and shows its bars this way
  };
  window->onMessage = [&](uint32_t message, uintptr_t wParam, intptr_t, bool& handled) -> intptr_t {
    if (message == 607) order.push_back(L"607");
    if (message == ui::kWmShowWindow) order.push_back(wParam ? L"shown" : L"hidden");
    handled = false;
    return 0;
  };
  ASSERT_NE(window->Create(nullptr, L"printer driver", ui::kWsOverlappedWindow | ui::kWsVisible, 0), nullptr);
  EXPECT_EQ(order, (std::vector<std::wstring>{L"init", L"607", L"shown"}));
  EXPECT_EQ(window->GetTitle(), L"printer driver");
  window->SetTitle(L"Printer Driver  V1.0.01");
  EXPECT_EQ(host_->Window(window->GetHWND())->Title(), L"Printer Driver  V1.0.01");
  window->DestroyWindow();
}

TEST_F(ToolkitWindowTest, CaptionButtonsCloseAndMinimiseByDefault) {
  TestWindow* window = Open(kDialog);
  ASSERT_TRUE(host_->ClickControl(window->GetHWND(), L"minbtn"));
  EXPECT_TRUE(host_->Window(window->GetHWND())->IsMinimized());
  window->ShowWindow(false);
  window->ShowWindow(true);
  ASSERT_TRUE(host_->ClickControl(window->GetHWND(), L"closebtn"));
  EXPECT_FALSE(window->IsWindow());
  EXPECT_TRUE(host_->Windows().empty());
}

TEST_F(ToolkitWindowTest, VirtualWindowsCanBeRemoved) {
  TestWindow* window = Open(kDialog);
  PagePump page;
  ASSERT_TRUE(window->AddVirtualWnd(L"page", &page));
  EXPECT_FALSE(window->AddVirtualWnd(L"page", &page));
  ASSERT_TRUE(window->RemoveVirtualWnd(L"page"));
  std::vector<std::wstring> mapped;
  window->OnNotify(L"click", [&](ui::TNotifyUI& msg) { mapped.push_back(msg.SenderName()); });
  host_->ClickControl(window->GetHWND(), L"minbtn");
  EXPECT_TRUE(page.clicks.empty());
  EXPECT_EQ(mapped, std::vector<std::wstring>{L"minbtn"});  // back to the window's own map
}

}  // namespace

namespace {

// A popup whose window cannot be made (its host refuses it before any layout is read).
class RefusedPopup : public uitest::TestWindow {
 public:
  RefusedPopup() : TestWindow(L"<Window/>") {}

 protected:
  bool PrepareCreate(ui::WindowCreateParams&) override { return false; }
};

}  // namespace

// The caller of a failed Create has nothing to delete: the window finished itself (the
// address sanitizer reports the object if it leaked).
TEST_F(ToolkitWindowTest, AWindowThatCannotBeMadeIsFinished) {
  bool finished = false;
  auto* popup = new RefusedPopup();
  popup->deleteOnFinal = true;
  popup->finalFlag = &finished;
  EXPECT_EQ(popup->Create(nullptr, L"", ui::kWsPopup | ui::kWsVisible, 0), nullptr);
  EXPECT_TRUE(finished);
}
