// The main window on the headless host against the test's fresh simulated machine, with
// the wizard's process-wide state put back to a fresh request, and helpers that drive it
// as a user would: clicks on named controls and rows, keys and typed text.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "WaitUntil.h"
#include "engine/spooler/InstallationLock.h"
#include "shell/EmbeddedPackage.h"
#include "shell/HeadlessMainWindow.h"
#include "shell/Languages.h"
#include "shell/app/MainWnd.h"
#include "simulated/SimulatedMachine.h"
#include "ui/controls/Edit.h"
#include "ui/controls/Label.h"
#include "ui/controls/List.h"
#include "ui/controls/ListRow.h"
#include "ui/controls/Option.h"
#include "ui/controls/TabLayout.h"
#include "ui/core/ResourceManager.h"
#include "ui/core/SystemConstants.h"
#include "ui/core/WindowTree.h"
#include "ui/headless/HostHeadless.h"
#include "wizard/WizardContext.h"

namespace wizardtest {

class InstallWizard : public HeadlessMainWindow {
 protected:
  void SetUp() override {
    HeadlessMainWindow::SetUp();
    auto& context = WizardContext::Instance();
    // The context outlives every test: each starts from a fresh request.
    context.request = InstallRequest{};
    context.networkPortName.clear();
    context.networkPortNameTyped = false;
    context.proposedPrinterName.clear();
    context.proposedForModel = -1;
    context.usbPrinters.clear();
    context.bluetoothDevices.clear();
    context.activeWizard = ActiveWizard::None;
  }

  void Open(uint16_t language = 1033) {
    ASSERT_NE(OpenMainWindow(language, 900, 640), nullptr);
    Settle();
  }

  static SimulatedMachine& Machine() { return *SimulatedMachine::Current(); }
  static WizardContext& Context() { return WizardContext::Instance(); }
  static InstallRequest& Request() { return WizardContext::Instance().request; }
  ui::WindowHandle Window() const { return window_->GetHWND(); }

  template <class T = ui::Control>
  T* Find(const wchar_t* name) {
    return window_->FindControl<T>(name);
  }

  // Lets tab animations end and pending messages run.
  void Settle() {
    host_->RunUntilIdle();
    host_->AdvanceTime(2000);
    host_->RunUntilIdle();
  }

  bool Click(const wchar_t* name) {
    const bool clicked = host_->ClickControl(Window(), name);
    Settle();
    return clicked;
  }
  void Next() { ASSERT_TRUE(Click(L"btn_setup_next")); }
  // Enter is Next: the index page, the port kinds with COM proposed, the models, the ports.
  void ToPortListByKeys() {
    for (int i = 0; i < 3; ++i) Key(ui::kVkReturn);
  }
  void Back() { ASSERT_TRUE(Click(L"btn_setup_previous")); }
  void Key(unsigned key, bool shift = false) {
    host_->PressKey(Window(), key, shift);
    Settle();
  }

  bool ClickRow(const wchar_t* listName, int index) {
    const bool clicked = ClickRowIn(Window(), listName, index);
    Settle();
    return clicked;
  }
  bool ClickRowIn(ui::WindowHandle window, const wchar_t* listName, int index) {
    auto* owner = dynamic_cast<ui::WindowImplBase*>(ui::CWindowWnd::FromHandle(window));
    auto* list = owner ? owner->FindControl<ui::List>(listName) : nullptr;
    if (list == nullptr || list->GetRow(index) == nullptr) return false;
    // Scrolled into view first, as a user would with the wheel (selecting a row without
    // a notification brings it into view; the click then chooses it again).
    list->SelectRow(index);
    host_->RunUntilIdle();
    list->SelectRow(-1);
    host_->RunUntilIdle();
    const ui::Rect place = list->GetRow(index)->GetPos();
    const bool clicked = host_->Click(window, {place.left + place.Width() / 2, place.top + place.Height() / 2});
    host_->RunUntilIdle();
    return clicked;
  }
  // The window opened last (a popup over the main window).
  ui::WindowHandle TopWindow() const { return host_->Windows().back(); }
  ui::WindowImplBase* TopWindowObject() const {
    return dynamic_cast<ui::WindowImplBase*>(ui::CWindowWnd::FromHandle(TopWindow()));
  }
  // Types into an edit of any window, replacing its text.
  void TypeIn(ui::WindowHandle window, const wchar_t* editName, const std::wstring& text) {
    ASSERT_TRUE(host_->ClickControl(window, editName));
    host_->PressKey(window, 'A', false, true);
    host_->TypeText(window, text);
  }

  // Replaces the text of an edit as a user does: click, select all, type.
  void TypeInto(const wchar_t* name, const std::wstring& text) {
    ASSERT_TRUE(Click(name));
    host_->PressKey(Window(), 'A', false, true);
    if (text.empty()) {
      host_->PressKey(Window(), ui::kVkDelete);
    } else {
      host_->TypeText(Window(), text);
    }
    Settle();
  }

  // From the port kinds (or the index page) with that kind chosen, Next until the panel.
  void GoTo(const wchar_t* kindOption, int panel) {
    if (MainPage() == 0) Next();
    ASSERT_EQ(InstallPanel(), 0);
    ASSERT_TRUE(Click(kindOption));
    for (int i = 0; i < 6 && InstallPanel() != panel; ++i) Next();
    ASSERT_EQ(InstallPanel(), panel);
  }

  int InstallPanel() const { return Context().installTab ? Context().installTab->GetCurSel() : -1; }
  int MainPage() const { return Context().mainTab ? Context().mainTab->GetCurSel() : -1; }
  bool NextShown() { return Find(L"btn_setup_next")->IsShownInTree() && Find(L"btn_setup_next")->IsEnabled(); }

  // Waits for a search thread's request to move on (768) to be carried out.
  void WaitForPanel(int panel) {
    EXPECT_TRUE(WaitUntil(
        [&] {
          host_->RunUntilIdle();
          return InstallPanel() == panel;
        },
        std::chrono::seconds(10)))
        << "panel " << panel << " was not reached; at " << InstallPanel();
    Settle();
  }

  // Until a started run's thread has ended: it lets go of the installation lock last, so
  // the next test's fresh machine is not pulled from under it.
  void WaitForRunToEnd() {
    ASSERT_TRUE(WaitUntil(
        [&] {
          host_->RunUntilIdle();
          return InstallationLock::TryAcquire().Held();
        },
        std::chrono::seconds(30)))
        << "the run did not end";
    Settle();
  }

  std::vector<std::wstring> RowTexts(const wchar_t* listName, int column) {
    std::vector<std::wstring> texts;
    auto* list = Find<ui::List>(listName);
    for (int i = 0; list && i < list->GetRowCount(); ++i) texts.push_back(list->GetRow(i)->GetColumnText(column));
    return texts;
  }
  int Selected(const wchar_t* listName) { return Find<ui::List>(listName)->GetCurSel(); }

  // A printer that only needs what a fresh machine has.
  static void AddPrinterNamed(const std::wstring& name) {
    ASSERT_TRUE(Machine().AddPrinter({name, L"Microsoft Software Printer Driver", L"nul:", L"winprint", 0, {}}));
  }
};

}  // namespace wizardtest
