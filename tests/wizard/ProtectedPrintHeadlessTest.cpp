// Windows protected print mode seen from the install wizard on the headless main window:
// the summary page's note, the worker's red line before the driver stage and the console
// program's message, with the switch of the simulated machine on and off, in English and
// in Chinese.
#include <gtest/gtest.h>

#include <string>

#include "base/WideText.h"
#include "base/WindowsErrorCodes.h"
#include "engine/ProtectedPrintWarning.h"
#include "shell/EmbeddedPackage.h"
#include "shell/HeadlessMainWindow.h"
#include "shell/Languages.h"
#include "shell/app/MainWnd.h"
#include "simulated/SimulatedMachine.h"
#include "ui/controls/RichEdit.h"
#include "ui/core/ResourceManager.h"
#include "ui/core/SystemConstants.h"
#include "ui/core/WindowTree.h"
#include "ui/headless/HostHeadless.h"
#include "wizard/ProtectedPrintNote.h"
#include "wizard/WizardContext.h"

namespace {

constexpr wchar_t kSettingEnglish[] =
    L"Settings > Bluetooth & devices > Printers & scanners > Windows protected print mode";
constexpr wchar_t kSettingChinese[] = L"设置 > 蓝牙和其他设备 > 打印机和扫描仪 > Windows 受保护的打印模式";

class ProtectedPrintWizard : public HeadlessMainWindow {
 protected:
  void TearDown() override {
    HeadlessMainWindow::TearDown();
    ui::ResourceManager::Instance().LoadLanguage(L"lan_en.xml");
  }

  // The main window started in a language, as the program starts it.
  void Open(uint16_t language, bool protectedPrint) {
    SimulatedMachine::Current()->SetProtectedPrintMode(protectedPrint);
    ASSERT_NE(OpenMainWindow(language), nullptr);
    pane_ = window_->FindControl<ui::RichEdit>(L"wordedit_installInfo");
    ASSERT_NE(pane_, nullptr);
  }

  ui::RichEdit* pane_ = nullptr;
};

}  // namespace

TEST_F(ProtectedPrintWizard, OnInEnglishTheNoteTheRedLineAndTheConsoleMessageNameTheSetting) {
  Open(kLanguageEnglish, true);
  EXPECT_EQ(ProtectedPrintSummaryNote(),
            L"Windows protected print mode is on. In this mode Windows accepts only its own printer drivers, so the "
            L"installation may be refused.");

  EXPECT_TRUE(WarnIfProtectedPrintMode(window_->GetHWND()));
  const std::wstring text = pane_->GetText();
  const auto line = text.find(L"Windows protected print mode is on: Windows may refuse this printer driver.");
  ASSERT_NE(line, std::wstring::npos) << WideToUtf8(text);
  EXPECT_NE(text.find(kSettingEnglish), std::wstring::npos);
  EXPECT_EQ(pane_->ColorAt(line), 0xFFFF0000u) << "red";

  const std::wstring console = ProtectedPrintRefusalText();
  EXPECT_NE(console.find(kSettingEnglish), std::wstring::npos);
  EXPECT_NE(console.find(L"Nothing was changed."), std::wstring::npos);
  EXPECT_EQ(kErrorInstallFailure, 1603u);
}

TEST_F(ProtectedPrintWizard, OnInChineseEveryTextIsChinese) {
  Open(kLanguageChinese, true);
  EXPECT_EQ(
      ProtectedPrintSummaryNote(),
      L"Windows 受保护的打印模式已开启。在此模式下，Windows 只接受其自带的打印机驱动程序，因此安装可能会被拒绝。");
  EXPECT_TRUE(WarnIfProtectedPrintMode(window_->GetHWND()));
  const std::wstring text = pane_->GetText();
  const auto setting = text.find(kSettingChinese);
  ASSERT_NE(setting, std::wstring::npos) << WideToUtf8(text);
  EXPECT_EQ(pane_->ColorAt(setting), 0xFFFF0000u);
  EXPECT_NE(ProtectedPrintRefusalText().find(kSettingChinese), std::wstring::npos);
}

TEST_F(ProtectedPrintWizard, OffNothingChangesInEitherLanguage) {
  for (const uint16_t language : {kLanguageEnglish, kLanguageChinese}) {
    SCOPED_TRACE(language);
    Open(language, false);
    EXPECT_EQ(ProtectedPrintSummaryNote(), L"");
    EXPECT_FALSE(WarnIfProtectedPrintMode(window_->GetHWND()));
    EXPECT_EQ(pane_->GetText(), L"");
    EXPECT_EQ(ProtectedPrintRefusalText(), L"");
    window_->DestroyWindow();
    host_->RunUntilIdle();
    delete window_;
    window_ = nullptr;
  }
}
