// The removal wizard in the real main window on the headless host, driven by clicks and
// typing as a user would: the lists, their filters, the check logic, the summary and a
// whole run against the simulated spooler.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "WaitUntil.h"
#include "base/TextTable.h"
#include "base/WideText.h"
#include "devices/RemovalTestSpooler.h"
#include "engine/spooler/DriverEnvironment.h"
#include "engine/spooler/InstallationLock.h"
#include "engine/spooler/SpoolerOperations.h"
#include "shell/EmbeddedPackage.h"
#include "shell/HeadlessMainWindow.h"
#include "shell/Languages.h"
#include "shell/ProgramMessageBox.h"
#include "shell/app/MainWnd.h"
#include "simulated/SimulatedMachine.h"
#include "ui/controls/AnimatedImage.h"
#include "ui/controls/Button.h"
#include "ui/controls/Edit.h"
#include "ui/controls/List.h"
#include "ui/controls/ListRow.h"
#include "ui/controls/Option.h"
#include "ui/controls/RichEdit.h"
#include "ui/controls/TabLayout.h"
#include "ui/core/ResourceManager.h"
#include "ui/core/SystemConstants.h"
#include "ui/core/WindowTree.h"
#include "ui/headless/HostHeadless.h"
#include "wizard/WizardContext.h"
#include "wizard/WorkerThread.h"

namespace {

class RemovalPage : public HeadlessMainWindow {
 protected:
  void SetUp() override {
    HeadlessMainWindow::SetUp();
    auto& context = WizardContext::Instance();
    // The context lives for the process: start each test from a first visit.
    context.selectedPrinters.clear();
    context.selectedDrivers.clear();
    context.request.showAllPrinters = -1;
    context.request.showAllDrivers = -1;
    context.request.printerSearchText.clear();
    context.request.driverSearchText.clear();

    ASSERT_TRUE(InstallTestDriver(L"QuorvelA4-203"));
    ASSERT_TRUE(InstallTestDriver(L"QuorvelA4-300"));
    ASSERT_TRUE(InstallTestDriver(L"QuorvelA4-300 Plus"));
    ASSERT_TRUE(AddTestPrinter(L"Front desk", L"QuorvelA4-203"));
    ASSERT_TRUE(AddTestPrinter(L"Back office", L"QuorvelA4-300"));
    ASSERT_TRUE(AddTestPrinter(L"Plus printer", L"QuorvelA4-300 Plus"));
  }

  void TearDown() override {
    HeadlessMainWindow::TearDown();
    ui::ResourceManager::Instance().LoadLanguage(L"lan_en.xml");
  }

  void Open(uint16_t language = 1033) { ASSERT_NE(OpenMainWindow(language, 900, 640), nullptr); }

  // Panels slide in on timers of the virtual clock; the next click lands where the
  // controls come to rest, and is not taken for the second half of a double click.
  void Settle() {
    host_->RunUntilIdle();
    host_->AdvanceTime(1000);
    host_->RunUntilIdle();
  }

  template <class T = ui::Control>
  T* Find(const wchar_t* name) {
    return window_->FindControl<T>(name);
  }

  void Click(const wchar_t* name) {
    ASSERT_TRUE(host_->ClickControl(window_->GetHWND(), name)) << "no shown control " << name;
    Settle();
  }

  // From the index page into the removal wizard's printer panel.
  void EnterRemoval(uint16_t language = 1033) {
    Open(language);
    Click(L"option_delete");
    Click(L"btn_setup_next");
  }

  // On the summary with one printer chosen.
  void SummaryOf(const std::wstring& printer) {
    EnterRemoval();
    ClickRow(L"listex_delete_printer", printer, true);
    Click(L"btn_setup_next");
    Click(L"btn_setup_next");
  }

  std::vector<std::wstring> Rows(const wchar_t* list) {
    std::vector<std::wstring> rows;
    auto* rowsList = Find<ui::List>(list);
    for (int i = 0; i < rowsList->GetRowCount(); ++i) rows.push_back(rowsList->GetRow(i)->GetColumnText(1));
    return rows;
  }

  ui::ListRow* Row(const wchar_t* list, const std::wstring& text) {
    auto* rowsList = Find<ui::List>(list);
    for (int i = 0; i < rowsList->GetRowCount(); ++i) {
      if (rowsList->GetRow(i)->GetColumnText(1) == text) return rowsList->GetRow(i);
    }
    ADD_FAILURE() << "no row " << WideToUtf8(text);
    return nullptr;
  }

  // A press on the row's check box, or on its text.
  void ClickRow(const wchar_t* list, const std::wstring& text, bool onCheckBox) {
    host_->RunUntilIdle();  // laid out
    ui::ListRow* row = Row(list, text);
    ASSERT_NE(row, nullptr);
    auto* owner = Find<ui::List>(list);
    const ui::Rect cell =
        onCheckBox ? owner->ColumnRect(owner->CheckColumn(), row->GetPos()) : owner->ColumnRect(1, row->GetPos());
    ASSERT_FALSE(cell.IsEmpty());
    ASSERT_TRUE(host_->Click(window_->GetHWND(), {(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2}));
    Settle();
  }

  void Type(const wchar_t* edit, const std::wstring& text) {
    Click(edit);
    ASSERT_TRUE(host_->TypeText(window_->GetHWND(), text));
    host_->RunUntilIdle();
  }

  void RunUntilRemovalEnds() {
    auto* animation = Find<ui::AnimatedImage>(L"ani_gif_delete");
    auto* log = Find<ui::RichEdit>(L"wordedit_deleteInfo_start");
    // The animation starts before the first line and stops after the last.
    const auto ended = [&] {
      host_->RunUntilIdle();
      return !animation->IsPlaying() && !log->GetText().empty();
    };
    ASSERT_TRUE(WaitUntil(ended, std::chrono::seconds(20))) << "the removal did not end";
    // The thread's tail (finish bar) follows the last message of the worker; the thread
    // lets go of the lock last, so the next test's machine is not pulled from under it.
    ASSERT_TRUE(WaitUntil([&] {
      host_->RunUntilIdle();
      return InstallationLock::TryAcquire().Held();
    })) << "the removal thread did not end";
    host_->RunUntilIdle();
  }
};

constexpr const wchar_t* kPrinters = L"listex_delete_printer";
constexpr const wchar_t* kDrivers = L"listex_delete_driver";

using Names = std::vector<std::wstring>;

TEST_F(RemovalPage, FamilyFilterShowsTheFamilyAndShowAllEverything) {
  EnterRemoval();
  auto& context = WizardContext::Instance();
  EXPECT_EQ(context.request.showAllPrinters, 0);
  EXPECT_EQ(Rows(kPrinters), (Names{L"Back office", L"Front desk"}));
  auto* first = Find<ui::List>(kPrinters)->GetRow(0);
  EXPECT_EQ(first->GetName(), L"listex_delete_printer_item");
  EXPECT_EQ(first->GetUserData(), L"0");
  EXPECT_EQ(first->GetFixedHeight(), 30);

  Click(L"option_showAll_deletePrinter");
  EXPECT_EQ(context.request.showAllPrinters, 1);
  EXPECT_TRUE(Find<ui::Option>(L"option_showAll_deletePrinter")->IsSelected());
  const Names all = Rows(kPrinters);
  EXPECT_EQ(all.size(), 6u);
  EXPECT_NE(std::find(all.begin(), all.end(), L"Plus printer"), all.end());

  // The option keeps its state across the panels.
  // The test drivers are registered for x86 too, as a 32-bit installer leaves them.
  Click(L"btn_setup_next");
  EXPECT_EQ(Rows(kDrivers), (Names{L"QuorvelA4-203", L"QuorvelA4-300", L"QuorvelA4-203 [Windows NT x86]",
                                   L"QuorvelA4-300 [Windows NT x86]"}));
  Click(L"btn_setup_previous");
  EXPECT_TRUE(Find<ui::Option>(L"option_showAll_deletePrinter")->IsSelected());
  EXPECT_EQ(Rows(kPrinters).size(), 6u);
  Click(L"option_showAll_deletePrinter");
  EXPECT_EQ(Rows(kPrinters), (Names{L"Back office", L"Front desk"}));
}

// A list the spooler does not give is not "nothing to remove": a red line says why.
TEST_F(RemovalPage, AListTheSpoolerCannotGiveShowsARedLineWithTheReason) {
  const std::wstring reason = L"Code: 1722 - The RPC server is unavailable.";
  Open();
  Click(L"option_delete");
  ASSERT_TRUE(SimulatedMachine::Current()->InjectFault("EnumPrintersW", 1722, FaultMode::Once));
  Click(L"btn_setup_next");
  EXPECT_TRUE(Rows(kPrinters).empty());
  ASSERT_TRUE(Find(L"label_delete_printer_failed")->IsVisible());
  EXPECT_EQ(Find(L"label_delete_printer_failed")->GetText(), FormatText(GetText(L"list.printers.unreadable"), reason));

  ASSERT_TRUE(SimulatedMachine::Current()->InjectFault("EnumPrinterDriversW", 1722, FaultMode::Once));
  Click(L"btn_setup_next");
  ASSERT_TRUE(Find(L"label_delete_driver_failed")->IsVisible());
  EXPECT_EQ(Find(L"label_delete_driver_failed")->GetText(), FormatText(GetText(L"list.drivers.unreadable"), reason));

  // Back on the printers, which answer now: the line is gone.
  Click(L"btn_setup_previous");
  EXPECT_FALSE(Find(L"label_delete_printer_failed")->IsVisible());
  EXPECT_EQ(Rows(kPrinters), (Names{L"Back office", L"Front desk"}));
}

TEST_F(RemovalPage, SearchIgnoresCaseAndFindsPrinterNames) {
  EnterRemoval();
  Type(L"edit_find_deletePrinter", L"FRONT");
  EXPECT_EQ(WizardContext::Instance().request.printerSearchText, L"FRONT");
  EXPECT_EQ(Rows(kPrinters), (Names{L"Front desk"}));
  Find<ui::Edit>(L"edit_find_deletePrinter")->SetText(L"");
  Type(L"edit_find_deletePrinter", L"a4-3");  // part of a driver name
  EXPECT_EQ(Rows(kPrinters), (Names{L"Back office"}));
  // Emptying the field lists everything of the family again.
  for (int i = 0; i < 4; ++i) host_->PressKey(window_->GetHWND(), ui::kVkBack);
  host_->RunUntilIdle();
  EXPECT_EQ(WizardContext::Instance().request.printerSearchText, L"");
  EXPECT_EQ(Rows(kPrinters), (Names{L"Back office", L"Front desk"}));

  Click(L"btn_setup_next");
  Click(L"option_showAll_deleteDriver");
  Type(L"edit_find_deleteDriver", L"plus");
  EXPECT_EQ(Rows(kDrivers), (Names{L"QuorvelA4-300 Plus"}));
}

TEST_F(RemovalPage, ALongListKeepsItsChecksAcrossKeysAndSearches) {
  ASSERT_EQ(SimulatedMachine::Current()->FillPrinters(L"QuorvelA4-300", 400), 400u);
  EnterRemoval();
  auto* list = Find<ui::List>(kPrinters);
  ASSERT_GT(list->GetRowCount(), 400);
  EXPECT_LT(list->GetBuiltRowCount(), 40) << "controls only for the rows in view";
  const std::wstring first = list->GetItem(0)->columns.at(1);
  const std::wstring last = list->GetItem(list->GetRowCount() - 1)->columns.at(1);
  ClickRow(kPrinters, first, true);
  host_->PressKey(window_->GetHWND(), ui::kVkEnd);
  host_->PressKey(window_->GetHWND(), ui::kVkSpace);
  Settle();
  EXPECT_EQ(WizardContext::Instance().selectedPrinters, (Names{first, last}));
  EXPECT_TRUE(list->GetRow(list->GetRowCount() - 1)->IsChecked());

  // The search rebuilds the list from the spooler; the chosen rows come back checked.
  Type(L"edit_find_deletePrinter", last.substr(last.size() - 3));
  ASSERT_GT(list->GetRowCount(), 0);
  for (int i = 0; i < list->GetRowCount(); ++i) {
    EXPECT_EQ(list->GetItem(i)->checked, list->GetItem(i)->columns.at(1) == last) << i;
  }
  for (size_t i = 0; i < 3; ++i) host_->PressKey(window_->GetHWND(), ui::kVkBack);
  host_->RunUntilIdle();
  EXPECT_TRUE(list->GetRow(0)->IsChecked());
  EXPECT_EQ(list->GetRow(0)->GetColumnText(1), first);
}

TEST_F(RemovalPage, CheckBoxAndTextClicksChangeTheChoiceOnce) {
  EnterRemoval();
  auto& chosen = WizardContext::Instance().selectedPrinters;
  ClickRow(kPrinters, L"Front desk", true);
  EXPECT_EQ(chosen, (Names{L"Front desk"}));
  EXPECT_TRUE(Row(kPrinters, L"Front desk")->IsChecked());
  EXPECT_EQ(Row(kPrinters, L"Front desk")->GetUserData(), L"0");
  ClickRow(kPrinters, L"Back office", false);
  EXPECT_EQ(chosen, (Names{L"Front desk", L"Back office"}));
  EXPECT_TRUE(Row(kPrinters, L"Back office")->IsChecked());
  ClickRow(kPrinters, L"Front desk", false);
  EXPECT_EQ(chosen, (Names{L"Back office"}));
  EXPECT_FALSE(Row(kPrinters, L"Front desk")->IsChecked());

  // A rebuild by the search keeps the checks of the chosen names.
  Type(L"edit_find_deletePrinter", L"o");
  EXPECT_TRUE(Row(kPrinters, L"Back office")->IsChecked());
  EXPECT_FALSE(Row(kPrinters, L"Front desk")->IsChecked());
}

TEST_F(RemovalPage, SummaryWithNothingChosenCannotStart) {
  EnterRemoval();
  Click(L"btn_setup_next");
  Click(L"btn_setup_next");
  auto* next = Find<ui::Button>(L"btn_setup_next");
  EXPECT_TRUE(next->IsVisible());
  EXPECT_FALSE(next->IsEnabled());
  EXPECT_EQ(next->GetText(), L"Start deleting");
  EXPECT_EQ(Find<ui::RichEdit>(L"wordedit_deleteInfo")->GetText(), L"Printer:\r\nDriver:\r\n");
  Click(L"btn_setup_previous");
  EXPECT_TRUE(next->IsEnabled());
  EXPECT_EQ(next->GetText(), L"Next");
}

TEST_F(RemovalPage, AChosenDriverPullsInExactlyItsPrintersAndTheRunDeletesThem) {
  EnterRemoval();
  Click(L"btn_setup_next");
  ClickRow(kDrivers, L"QuorvelA4-300", true);
  Click(L"btn_setup_next");
  auto& context = WizardContext::Instance();
  // "Plus printer" uses "QuorvelA4-300 Plus", whose name merely contains the chosen one.
  EXPECT_EQ(context.selectedPrinters, (Names{L"Back office"}));
  EXPECT_EQ(Find<ui::RichEdit>(L"wordedit_deleteInfo")->GetText(),
            L"Printer:\r\n     Back office\r\nDriver:\r\n     QuorvelA4-300\r\n");
  EXPECT_TRUE(Find<ui::Button>(L"btn_setup_next")->IsEnabled());

  Click(L"btn_setup_next");
  RunUntilRemovalEnds();
  EXPECT_FALSE(PrinterListed(L"Back office"));
  EXPECT_FALSE(DriverListed(L"QuorvelA4-300"));
  EXPECT_TRUE(PrinterListed(L"Plus printer"));
  EXPECT_TRUE(PrinterListed(L"Front desk"));
  const std::wstring log = Find<ui::RichEdit>(L"wordedit_deleteInfo_start")->GetText();
  EXPECT_NE(log.find(L"Delete: Back office successfully"), std::wstring::npos) << WideToUtf8(log);
  EXPECT_NE(log.find(L"Delete: QuorvelA4-300 successfully"), std::wstring::npos);
  EXPECT_LT(log.find(L"Back office"), log.find(L"QuorvelA4-300"));
  EXPECT_TRUE(Find(L"hor_btn_h1")->IsVisible());
  EXPECT_FALSE(Find(L"hor_btn_h2")->IsVisible());
  EXPECT_FALSE(Find(L"btn_setup_testpage")->IsVisible());

  // Back through Home: nothing is checked any more.
  EXPECT_TRUE(context.selectedPrinters.empty());
  EXPECT_TRUE(context.selectedDrivers.empty());
  Click(L"btn_setup_index");
  Click(L"option_delete");
  Click(L"btn_setup_next");
  ClickRow(kPrinters, L"Front desk", true);
  Click(L"btn_setup_previous");
  Click(L"btn_setup_next");
  EXPECT_TRUE(Row(kPrinters, L"Front desk")->IsChecked()) << "a choice outlives the panels";
  Click(L"btn_setup_next");
  for (const auto& row : Rows(kDrivers)) EXPECT_FALSE(Row(kDrivers, row)->IsChecked());
}

TEST_F(RemovalPage, SummaryAndLogReadInTheLanguageInUse) {
  EnterRemoval(1054);
  ClickRow(kPrinters, L"Front desk", false);
  Click(L"btn_setup_next");
  Click(L"btn_setup_next");
  const std::wstring thaiPrinter = ui::GetText(L"gb.title.printer");
  ASSERT_NE(thaiPrinter, L"Printer");
  EXPECT_EQ(Find<ui::RichEdit>(L"wordedit_deleteInfo")->GetText(),
            thaiPrinter + L":\r\n     Front desk\r\n" + ui::GetText(L"gb.title.driver") + L":\r\n");
  EXPECT_EQ(Find<ui::Button>(L"btn_setup_next")->GetText(), ui::GetText(L"main.btn.startDelete"));
  Click(L"btn_setup_next");
  RunUntilRemovalEnds();
  const std::wstring log = Find<ui::RichEdit>(L"wordedit_deleteInfo_start")->GetText();
  EXPECT_NE(log.find(FormatText(ui::GetText(L"tip.deletesuccess"), L"Front desk")), std::wstring::npos)
      << WideToUtf8(log);
  EXPECT_FALSE(PrinterListed(L"Front desk"));
}

// Another run (another wizard, the console program) holds the machine's installation lock:
// the start is refused with a notice and the summary stays as it was, choice and all.
TEST_F(RemovalPage, AnotherRunHoldingTheLockKeepsTheSummaryAndDeletesNothing) {
  SummaryOf(L"Front desk");
  auto& context = WizardContext::Instance();
  auto* next = Find<ui::Button>(L"btn_setup_next");
  const size_t boxes = host_->MessageBoxes().size();
  {
    const InstallationLock other = InstallationLock::TryAcquire();
    ASSERT_TRUE(other.Held());
    Click(L"btn_setup_next");
    ASSERT_EQ(host_->MessageBoxes().size(), boxes + 1);
    ExpectProgramBox(host_->MessageBoxes().back(), ui::GetText(L"tip.anotherrun"), 0x40u);
    EXPECT_EQ(context.position, 2);
    EXPECT_EQ(context.removalTab->GetCurSel(), 2);
    EXPECT_EQ(next->GetText(), L"Start deleting");
    EXPECT_TRUE(next->IsEnabled());
    EXPECT_EQ(context.selectedPrinters, (Names{L"Front desk"}));
    EXPECT_FALSE(Find(L"hor_btn_h1")->IsVisible());
    EXPECT_TRUE(PrinterListed(L"Front desk"));
  }

  Click(L"btn_setup_next");
  RunUntilRemovalEnds();
  EXPECT_FALSE(PrinterListed(L"Front desk"));
  EXPECT_EQ(host_->MessageBoxes().size(), boxes + 1);
  // The worker's last messages wait for the window; then it lets go of the lock.
  EXPECT_TRUE(WaitUntil([&] {
    host_->RunUntilIdle();
    return InstallationLock::TryAcquire().Held();
  })) << "released when the worker ended";
}

// On 64-bit Windows the family's drivers that a 32-bit installer registered for x86 are
// rows of their own; such a row deletes the x86 driver alone and pulls in no printer.
TEST_F(RemovalPage, AnX86LeftoverGoesInItsOwnEnvironmentAndKeepsThePrinters) {
  EnterRemoval();
  Click(L"btn_setup_next");
  ClickRow(kDrivers, L"QuorvelA4-300 [Windows NT x86]", true);
  Click(L"btn_setup_next");
  auto& context = WizardContext::Instance();
  EXPECT_TRUE(context.selectedPrinters.empty());
  EXPECT_EQ(Find<ui::RichEdit>(L"wordedit_deleteInfo")->GetText(),
            L"Printer:\r\nDriver:\r\n     QuorvelA4-300 [Windows NT x86]\r\n");
  Click(L"btn_setup_next");
  RunUntilRemovalEnds();
  EXPECT_FALSE(DriverInstalled(L"QuorvelA4-300", kEnvironmentX86));
  EXPECT_TRUE(DriverInstalled(L"QuorvelA4-300", kEnvironmentX64));
  EXPECT_TRUE(DriverInstalled(L"QuorvelA4-203", kEnvironmentX86));
  EXPECT_TRUE(PrinterListed(L"Back office"));
  const std::wstring log = Find<ui::RichEdit>(L"wordedit_deleteInfo_start")->GetText();
  EXPECT_NE(log.find(L"Delete: QuorvelA4-300 [Windows NT x86] successfully"), std::wstring::npos) << WideToUtf8(log);

  // Both rows of one name: the native one pulls in its printer, each goes in its own.
  Click(L"btn_setup_index");
  Click(L"option_delete");
  Click(L"btn_setup_next");
  Click(L"btn_setup_next");
  EXPECT_EQ(Rows(kDrivers), (Names{L"QuorvelA4-203", L"QuorvelA4-300", L"QuorvelA4-203 [Windows NT x86]"}));
  ClickRow(kDrivers, L"QuorvelA4-203", true);
  ClickRow(kDrivers, L"QuorvelA4-203 [Windows NT x86]", true);
  Click(L"btn_setup_next");
  EXPECT_EQ(context.selectedPrinters, (Names{L"Front desk"}));
  Click(L"btn_setup_next");
  RunUntilRemovalEnds();
  EXPECT_FALSE(DriverInstalled(L"QuorvelA4-203", kEnvironmentX86));
  EXPECT_FALSE(DriverInstalled(L"QuorvelA4-203", kEnvironmentX64));
  EXPECT_FALSE(PrinterListed(L"Front desk"));
}

// No thread for the run: nothing is deleted, the choice stays, the lock is free and the
// wizard can go back to the summary and start again.
TEST_F(RemovalPage, ARemovalWithoutAThreadGivesTheButtonsAndTheLockBack) {
  SummaryOf(L"Front desk");
  WorkerThreadsRefused() = true;
  Click(L"btn_setup_next");
  WorkerThreadsRefused() = false;
  auto& context = WizardContext::Instance();
  EXPECT_EQ(context.position, 3);
  const std::wstring log = Find<ui::RichEdit>(L"wordedit_deleteInfo_start")->GetText();
  EXPECT_NE(log.find(L"The run could not be started"), std::wstring::npos) << WideToUtf8(log);
  EXPECT_TRUE(PrinterListed(L"Front desk"));
  EXPECT_TRUE(InstallationLock::TryAcquire().Held());
  EXPECT_TRUE(Find(L"btn_setup_previous")->IsVisible());
  EXPECT_FALSE(Find(L"btn_setup_next")->IsVisible());

  Click(L"btn_setup_previous");
  EXPECT_EQ(context.selectedPrinters, (Names{L"Front desk"}));
  Click(L"btn_setup_next");
  RunUntilRemovalEnds();
  EXPECT_FALSE(PrinterListed(L"Front desk"));
}

}  // namespace
