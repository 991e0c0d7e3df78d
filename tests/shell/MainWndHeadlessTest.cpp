#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "base/WindowMessage.h"
#include "shell/EmbeddedPackage.h"
#include "shell/HeadlessMainWindow.h"
#include "shell/Languages.h"
#include "shell/MainWindowMessages.h"
#include "shell/UiTextMessage.h"
#include "shell/app/MainWnd.h"
#include "simulated/SimulatedMachine.h"
#include "ui/controls/AnimatedImage.h"
#include "ui/controls/Button.h"
#include "ui/controls/Label.h"
#include "ui/controls/Option.h"
#include "ui/controls/RichEdit.h"
#include "ui/core/Container.h"
#include "ui/core/ResourceManager.h"
#include "ui/core/SystemConstants.h"
#include "ui/core/WindowTree.h"
#include "ui/headless/HostHeadless.h"
#include "wizard/WizardContext.h"

namespace {

class MainWindow : public HeadlessMainWindow {
 protected:
  CMainWnd* Open(uint16_t language) { return OpenMainWindow(language); }

  template <class T = ui::Control>
  T* Find(const wchar_t* name) {
    return window_->FindControl<T>(name);
  }

  intptr_t SendText(uint32_t message, uintptr_t wParam, UiTextMessage payload) {
    return ui::SendWindowMessage(window_->GetHWND(), message, wParam, reinterpret_cast<intptr_t>(&payload));
  }
};

}  // namespace

TEST_F(MainWindow, StartsOnTheIndexPageWithTitleAndBars) {
  Open(1033);
  const std::wstring title = ui::GetText(L"mainTitle") + L"  V1.0.01";
  EXPECT_EQ(window_->GetTitle(), title);
  ASSERT_NE(Find<ui::Label>(L"title_lb"), nullptr);
  EXPECT_EQ(Find<ui::Label>(L"title_lb")->GetText(), title);
  EXPECT_NE(title.find(L"V1.0.01"), std::wstring::npos);

  auto& context = WizardContext::Instance();
  EXPECT_EQ(context.mainWindow, window_->GetHWND());
  EXPECT_EQ(context.mode, WizardMode::Install);
  EXPECT_EQ(context.shownPage, ShownPage::Index);
  EXPECT_NE(context.mainTab, nullptr);
  EXPECT_TRUE(Find(L"hor_btn_h2")->IsVisible());
  EXPECT_FALSE(Find(L"hor_btn_h1")->IsVisible());
  EXPECT_TRUE(Find<ui::Option>(L"option_install")->IsSelected());
  EXPECT_FALSE(Find<ui::Option>(L"option_delete")->IsSelected());
  EXPECT_EQ(std::count(context.familyNames.begin(), context.familyNames.end(), L"Quorvel-A4(300)"), 1);
  EXPECT_EQ(window_->Tree().GetFont(-1).size, 14);
}

TEST_F(MainWindow, ThaiUsesTheLargerFonts) {
  Open(1054);
  EXPECT_EQ(window_->Tree().GetFont(-1).size, 20);
  EXPECT_EQ(Find(L"title_lb")->GetFont(), 22);
  EXPECT_EQ(MessageLanguageId(), 1054);
}

TEST_F(MainWindow, MessagesShowHideAndRelabel) {
  Open(1033);
  auto* next = Find<ui::Button>(L"btn_setup_next");
  ASSERT_NE(next, nullptr);
  const std::wstring before = next->GetText();
  // Visible, empty text, enabled flag clear: disabled with the old label.
  EXPECT_EQ(SendText(kMsgNextButton, 1, {L"", 0, 0, 0}), 0);
  EXPECT_TRUE(next->IsVisible());
  EXPECT_FALSE(next->IsEnabled());
  EXPECT_EQ(next->GetText(), before);
  SendText(kMsgNextButton, 1, {L"main.btn.startDelete", 0, 0, 1});
  EXPECT_TRUE(next->IsEnabled());
  EXPECT_EQ(next->GetText(), ui::GetText(L"main.btn.startDelete"));

  ui::SendWindowMessage(window_->GetHWND(), kMsgFinishBar, 1, 0);
  ui::SendWindowMessage(window_->GetHWND(), kMsgWizardBar, 0, 0);
  ui::SendWindowMessage(window_->GetHWND(), kMsgFinishActions, 1, 0);
  ui::SendWindowMessage(window_->GetHWND(), kMsgPreviousButton, 2, 0);  // only 1 means visible
  EXPECT_TRUE(Find(L"hor_btn_h1")->IsVisible());
  EXPECT_FALSE(Find(L"hor_btn_h2")->IsVisible());
  EXPECT_TRUE(Find(L"btn_setup_testpage")->IsVisible());
  EXPECT_FALSE(Find(L"btn_setup_previous")->IsVisible());

  ui::SendWindowMessage(window_->GetHWND(), kMsgInstallAnimation, 1, 0);
  EXPECT_TRUE(Find<ui::AnimatedImage>(L"ani_gif_install")->IsPlaying());
  ui::SendWindowMessage(window_->GetHWND(), kMsgInstallAnimation, 0, 0);
  EXPECT_FALSE(Find<ui::AnimatedImage>(L"ani_gif_install")->IsPlaying());
  EXPECT_FALSE(Find(L"ani_gif_install")->IsVisible());

  SendText(kMsgBluetoothBar, 1, {L"tip.btadapter.on", 0, 0, 1});
  EXPECT_TRUE(Find(L"hor_bluetooth_adapter")->IsVisible());
  EXPECT_EQ(Find(L"label_bluetooth_adapter_info")->GetText(), L"Bluetooth adapter: ON");
}

TEST_F(MainWindow, PrinterNameResultIsRedOrGreenAndShownAsItStands) {
  Open(1033);
  auto* label = Find<ui::Label>(L"label_show_printername_info");
  ASSERT_NE(label, nullptr);
  SendText(kMsgPrinterNameInfo, 0, {L"main.btn.next", 1, 0, 1});
  EXPECT_EQ(label->GetText(), L"main.btn.next");  // not a text id here
  EXPECT_EQ(label->GetTextColor(), 0xFFFF0000u);
  SendText(kMsgPrinterNameInfo, 0, {L"free", 0, 0, 1});
  EXPECT_EQ(label->GetTextColor(), 0xFF0EED1Eu);
}

TEST_F(MainWindow, LogLinesAreStampedColouredAndCleared) {
  Open(1033);
  auto* pane = Find<ui::RichEdit>(L"wordedit_installInfo");
  ASSERT_NE(pane, nullptr);
  auto& context = WizardContext::Instance();
  context.AppendInstallLog(L"", false, true);
  context.AppendInstallLog(L"first", true, false);
  context.AppendInstallLog(L"second", false, false);
  const std::wstring text = pane->GetText();
  ASSERT_GE(text.size(), 15u);
  EXPECT_EQ(text.substr(2, 1), L":");
  EXPECT_EQ(text.substr(12, 3), L" : ");
  EXPECT_EQ(text.substr(15, 5), L"first");
  EXPECT_EQ(pane->ColorAt(15), 0xFFFF0000u);
  const auto second = text.find(L"second");
  ASSERT_NE(second, std::wstring::npos);
  EXPECT_EQ(pane->ColorAt(second), 0xFF0000FFu);

  // A clear call empties the pane and writes nothing of its text.
  context.AppendInstallLog(L"not shown", false, true);
  EXPECT_EQ(pane->GetText(), L"");
}

TEST_F(MainWindow, LinesFromTwoWorkersNeverInterleave) {
  Open(1033);
  auto* pane = Find<ui::RichEdit>(L"wordedit_deleteInfo_start");
  ASSERT_NE(pane, nullptr);
  std::atomic<int> done{0};
  std::vector<std::thread> workers;
  for (int w = 0; w < 2; ++w) {
    workers.emplace_back([&, w] {
      for (int i = 0; i < 50; ++i)
        WizardContext::Instance().AppendRemoveLog(std::wstring(40, w ? L'b' : L'a'), false, false);
      ++done;
    });
  }
  while (done < 2) host_->RunUntilIdle();
  for (auto& t : workers) t.join();
  const std::wstring text = pane->GetText();
  size_t lines = 0;
  for (size_t at = 0; (at = text.find(L" : ", at)) != std::wstring::npos; at += 3) {
    const std::wstring body = text.substr(at + 3, 40);
    EXPECT_TRUE(body == std::wstring(40, L'a') || body == std::wstring(40, L'b'));
    ++lines;
  }
  EXPECT_EQ(lines, 100u);
}

TEST_F(MainWindow, SendAfterTheWindowIsGoneReturnsAtOnce) {
  Open(1033);
  const auto handle = window_->GetHWND();
  host_->ClickControl(handle, L"closebtn");
  host_->RunUntilIdle();
  EXPECT_FALSE(window_->IsWindow());
  EXPECT_TRUE(host_->QuitPosted());
  std::thread([&] { EXPECT_EQ(ui::SendWindowMessage(handle, kMsgInstallLog, 0, 0), 0); }).join();
}

TEST_F(MainWindow, EscapeDoesNothing) {
  Open(1033);
  host_->PressKey(window_->GetHWND(), ui::kVkEscape);
  host_->RunUntilIdle();
  EXPECT_TRUE(window_->IsWindow());
  EXPECT_FALSE(host_->QuitPosted());
}

TEST_F(MainWindow, LanguageChooserListsByIdAndSwitchesEverything) {
  Open(2052);
  bool checked = false;
  host_->QueueIdleAction([&] {
    auto windows = host_->Windows();
    ASSERT_EQ(windows.size(), 2u);
    auto* chooser = ui::CWindowWnd::FromHandle(windows.back());
    auto* base = dynamic_cast<ui::WindowImplBase*>(chooser);
    ASSERT_NE(base, nullptr);
    auto* list = base->FindControl<ui::Container>(L"verLanList");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->GetChildCount(), 7);
    EXPECT_EQ(list->GetChildAt(0)->GetUserData(), L"1033");
    EXPECT_EQ(list->GetChildAt(6)->GetUserData(), L"2070");
    EXPECT_TRUE(dynamic_cast<ui::Option*>(list->GetChildAt(5))->IsSelected());  // 2052, the current one
    EXPECT_FALSE(window_->GetHostWindow()->IsEnabled());                        // modal over the main window
    host_->Click(windows.back(), {0, 0});                                       // nothing under the corner
    // Choose Thai by clicking its option.
    auto* thai = list->GetChildAt(4);
    const auto rect = thai->GetPos();
    host_->Click(windows.back(), {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
    checked = true;
    chooser->Close(0);
  });
  host_->ClickControl(window_->GetHWND(), L"btnLan");
  host_->RunUntilIdle();
  EXPECT_TRUE(checked);
  EXPECT_EQ(WizardContext::Instance().currentLanguageId, 1054);
  EXPECT_EQ(MessageLanguageId(), 1054);
  EXPECT_EQ(window_->GetTitle(), ui::GetText(L"mainTitle") + L"  V1.0.01");
  EXPECT_EQ(window_->Tree().GetFont(-1).size, 20);
  EXPECT_EQ(Find(L"btn_setup_next")->GetText(), ui::GetText(L"main.btn.next"));
  EXPECT_TRUE(window_->GetHostWindow()->IsEnabled());
  ui::ResourceManager::Instance().LoadLanguage(L"lan_en.xml");
}

TEST_F(MainWindow, APackageWithoutTheIndexEndsWithTheLoadFailure) {
  ui::ResourceManager::Instance().SetPackage(nullptr);
  ui::ResourceManager::Instance().LoadResourceIndex("res.xml");  // fails: no package
  int exitCode = -1;
  auto previous = ui::WindowImplBase::SetExitHook([&](int code) { exitCode = code; });
  auto* window = new CMainWnd();
  EXPECT_EQ(window->Create(nullptr, L"printer driver", ui::kWsOverlappedWindow | ui::kWsVisible, 0, {0, 0, 560, 400}),
            nullptr);
  delete window;
  ui::WindowImplBase::SetExitHook(previous);
  EXPECT_EQ(exitCode, 1);
  const auto boxes = host_->MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, L"加载资源文件失败：XML_MAIN");
  EXPECT_EQ(boxes[0].caption, L"Duilib");
  EXPECT_EQ(boxes[0].owner, nullptr);
  EXPECT_EQ(boxes[0].flags & 0x10u, 0x10u);
}
