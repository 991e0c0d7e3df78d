// The end of a run in the real main window on the headless host: which button bar shows
// while an installation or removal goes on and after it, the Bluetooth adapter row after
// Home, and the printer applet's windows that the finish bar opens.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "InstallWizardHarness.h"
#include "WaitUntil.h"
#include "base/WindowMessage.h"
#include "devices/RemovalTestSpooler.h"
#include "engine/spooler/InstallationLock.h"
#include "shell/MainWindowMessages.h"

namespace {

class RunEnd : public wizardtest::InstallWizard {
 protected:
  void SetUp() override {
    InstallWizard::SetUp();
    auto& context = Context();
    context.selectedPrinters.clear();
    context.selectedDrivers.clear();
    context.request.showAllPrinters = -1;
    context.request.printerSearchText.clear();
  }

  // Runs the window's loop until done(); the worker's messages arrive meanwhile.
  bool PumpUntil(const std::function<bool()>& done) {
    return WaitUntil(
        [&] {
          host_->RunUntilIdle();
          return done();
        },
        std::chrono::seconds(30));
  }
  // The worker lets go of the installation lock after its last message.
  void WaitForTheWorkerToEnd() {
    EXPECT_TRUE(PumpUntil([] { return InstallationLock::TryAcquire().Held(); }));
    Settle();
  }
  bool Visible(const wchar_t* name) { return Find(name)->IsVisible(); }
  // Home on the finish bar: the index page with the wizard bar alone.
  void LeaveThroughHome() {
    ASSERT_TRUE(Click(L"btn_setup_index"));
    EXPECT_EQ(MainPage(), 0);
    EXPECT_FALSE(Visible(L"hor_btn_h1"));
    EXPECT_TRUE(Visible(L"hor_btn_h2"));
  }
  std::wstring Text(const wchar_t* name) { return Find(name)->GetText(); }

  // A press on the name of a removal list's row.
  void ChooseRemovalRow(const wchar_t* listName, const std::wstring& text) {
    host_->RunUntilIdle();
    auto* list = Find<ui::List>(listName);
    for (int i = 0; i < list->GetRowCount(); ++i) {
      if (list->GetRow(i)->GetColumnText(1) != text) continue;
      const ui::Rect cell = list->ColumnRect(1, list->GetRow(i)->GetPos());
      ASSERT_TRUE(host_->Click(Window(), {(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2}));
      Settle();
      return;
    }
    FAIL() << "no row " << WideToUtf8(text);
  }

  // What an applet window showed when the finish bar's button opened it; closed by key.
  struct AppletSeen {
    std::wstring title, printer, driver, port, message;
  };
  AppletSeen OpenApplet(const wchar_t* button, unsigned closingKey) {
    AppletSeen seen;
    const size_t windows = host_->Windows().size();
    host_->QueueIdleAction([&] {
      auto* applet = TopWindowObject();
      if (applet == nullptr || host_->Windows().size() != windows + 1) return;
      auto text = [&](const wchar_t* name) {
        auto* control = applet->FindControl(name);
        return control != nullptr ? control->GetText() : std::wstring();
      };
      seen = {applet->GetTitle(), text(L"label_printui_printer"), text(L"label_printui_driver"),
              text(L"label_printui_port"), text(L"label_printui_message")};
      host_->PressKey(TopWindow(), closingKey);
    });
    EXPECT_TRUE(Click(button));  // returns when the applet's window is gone
    EXPECT_EQ(host_->Windows().size(), windows);
    return seen;
  }
};

TEST_F(RunEnd, ARemovalOffersNoWayOutWhileItRunsAndTheFinishBarOnItsPageAfter) {
  ASSERT_TRUE(InstallTestDriver(L"QuorvelA4-203"));
  ASSERT_TRUE(AddTestPrinter(L"Front desk", L"QuorvelA4-203"));
  // The pause after each printer takes its real time, so the run is seen half-way.
  Machine().SetTimeScale(1.0);
  Open();
  ASSERT_TRUE(Click(L"option_delete"));
  Next();
  ChooseRemovalRow(L"listex_delete_printer", L"Front desk");
  Next();                                                         // the drivers
  Next();                                                         // the summary
  ASSERT_TRUE(host_->ClickControl(Window(), L"btn_setup_next"));  // starts the run
  ASSERT_TRUE(PumpUntil([&] {
    return Text(L"wordedit_deleteInfo_start").find(L"Delete: Front desk successfully") != std::wstring::npos;
  })) << WideToUtf8(Text(L"wordedit_deleteInfo_start"));
  EXPECT_FALSE(Visible(L"hor_btn_h1")) << "Home in the middle of the run";
  EXPECT_FALSE(Visible(L"hor_btn_h2"));
  EXPECT_FALSE(host_->ClickControl(Window(), L"btn_setup_index"));

  ASSERT_TRUE(PumpUntil([&] { return Visible(L"hor_btn_h1"); }));
  WaitForTheWorkerToEnd();
  EXPECT_EQ(MainPage(), 2);
  EXPECT_FALSE(Visible(L"hor_btn_h2"));
  EXPECT_FALSE(Visible(L"btn_setup_testpage"));
  LeaveThroughHome();
}

// A run's end that finds the user on another page leaves that page's bars alone: never
// both bars, never two Close buttons.
TEST_F(RunEnd, TheEndOfARunShowsNothingOverAnotherPage) {
  Open();
  const auto runEnded = [&](ShownPage page) {
    ui::SendWindowMessage(Window(), kMsgRunEnded, 1, static_cast<intptr_t>(page));
    host_->RunUntilIdle();
  };
  runEnded(ShownPage::RemovalWizard);
  EXPECT_FALSE(Visible(L"hor_btn_h1"));
  Next();
  runEnded(ShownPage::RemovalWizard);
  EXPECT_FALSE(Visible(L"hor_btn_h1"));
  EXPECT_TRUE(Visible(L"hor_btn_h2"));
  runEnded(ShownPage::InstallWizard);
  EXPECT_TRUE(Visible(L"hor_btn_h1"));
  EXPECT_FALSE(Visible(L"hor_btn_h2"));
}

TEST_F(RunEnd, AfterAnInstallationTheFinishBarOpensTheAppletsWindowsAndHomeLeavesIt) {
  Open();
  for (int press = 0; press < 5; ++press) Next();  // COM: kinds, model, ports, name, summary
  ASSERT_EQ(InstallPanel(), 8);
  ASSERT_TRUE(host_->ClickControl(Window(), L"btn_setup_next"));
  ASSERT_TRUE(PumpUntil([&] { return Visible(L"hor_btn_h1"); }));
  WaitForTheWorkerToEnd();
  EXPECT_FALSE(Visible(L"hor_btn_h2"));
  EXPECT_TRUE(Visible(L"btn_setup_preferences"));
  EXPECT_EQ(host_->Windows().size(), 1u) << "the worker's own test page opens no window";

  const AppletSeen preferences = OpenApplet(L"btn_setup_preferences", ui::kVkEscape);
  EXPECT_EQ(preferences.title, L"QuorvelA4-300 Printing Preferences");
  EXPECT_EQ(preferences.printer, L"Printer: QuorvelA4-300");
  EXPECT_EQ(preferences.driver, L"Driver: QuorvelA4-300");
  EXPECT_EQ(preferences.port, L"Port: COM1:");
  const AppletSeen properties = OpenApplet(L"btn_setup_properties", ui::kVkReturn);
  EXPECT_EQ(properties.title, L"QuorvelA4-300 Properties");
  EXPECT_EQ(properties.port, L"Port: COM1:");
  const size_t jobs = Machine().Snapshot().printers.at(L"quorvela4-300").jobs.size();
  const AppletSeen testPage = OpenApplet(L"btn_setup_testpage", ui::kVkReturn);
  EXPECT_NE(testPage.message.find(L"A test page has been sent"), std::wstring::npos) << WideToUtf8(testPage.message);
  EXPECT_EQ(Machine().Snapshot().printers.at(L"quorvela4-300").jobs.size(), jobs + 1) << "the job is still queued";
  const auto events = Machine().ShellEvents();
  ASSERT_GE(events.size(), 3u);
  EXPECT_NE(events.back().parameters.find(L"/k /n\"QuorvelA4-300\""), std::wstring::npos);

  LeaveThroughHome();
}

TEST_F(RunEnd, HomeHidesTheBluetoothAdapterRowAndAKeptBluetoothChoiceShowsItAgain) {
  Open();
  Next();
  ASSERT_TRUE(Click(L"option_port_bluetooth"));
  EXPECT_TRUE(Visible(L"hor_bluetooth_adapter"));
  Back();
  EXPECT_EQ(MainPage(), 0);
  EXPECT_FALSE(Visible(L"hor_bluetooth_adapter"));
  ASSERT_TRUE(Click(L"option_delete"));
  Next();
  EXPECT_FALSE(Visible(L"hor_bluetooth_adapter")) << "the removal wizard";
  Back();
  ASSERT_TRUE(Click(L"option_install"));
  Next();
  EXPECT_EQ(Request().portKind, PortKind::Bluetooth);
  EXPECT_TRUE(Visible(L"hor_bluetooth_adapter"));
}

}  // namespace
