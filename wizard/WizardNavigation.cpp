// Home, Next and Back of the install and removal wizards, the routing of clicks and
// notifications to the pages, and the requests they send to the main window.
#include <cwchar>

#include "base/WideText.h"
#include "base/WindowMessage.h"
#include "engine/spooler/ShellCommands.h"
#include "engine/spooler/SpoolerOperations.h"
#include "shell/MainWindowMessages.h"
#include "shell/UiTextMessage.h"
#include "ui/controls/Edit.h"
#include "ui/controls/ListRow.h"
#include "ui/controls/Option.h"
#include "ui/controls/TabLayout.h"
#include "ui/core/TNotifyUI.h"
#include "wizard/DeviceScan.h"
#include "wizard/InstallPanels.h"
#include "wizard/RemovalPage.h"
#include "wizard/RunLockStep.h"
#include "wizard/WizardContext.h"

namespace {

constexpr int kRemovalPanels = 4;
// The panels whose entry starts a worker.
constexpr int kInstallingPanel = 9;
constexpr int kSearchPanel = 1;
constexpr int kRemovalStartPanel = 3;

void Send(ui::WindowHandle window, uint32_t message, uintptr_t wParam, const UiTextMessage* payload = nullptr) {
  ui::SendWindowMessage(window, message, wParam, reinterpret_cast<intptr_t>(payload));
}

// The install panels visited for the chosen port kind.
const std::vector<int>& StepsOf(const WizardContext& context) {
  switch (context.request.portKind) {
    case PortKind::Usb:
      return context.usbSteps;
    case PortKind::Bluetooth:
      return context.bluetoothSteps;
    case PortKind::Network:
      return context.networkSteps;
    default:
      return context.portListSteps;
  }
}

void Select(ui::TabLayout* tab, int index) {
  if (tab) tab->SelectItem(index);
}

// The check that must pass before the install wizard steps onto panel target.
bool CheckBeforeInstallPanel(int portKind, int target) {
  if (portKind == PortKind::Bluetooth && target == 1) return CheckBluetoothAdapter(true);
  if (portKind == PortKind::Bluetooth && target == 4) return CheckPin();
  if (portKind == PortKind::Network && target == 7) return CheckNetworkChoice();
  if (target == 8) return CheckPrinterNameFree();
  if (target == kInstallingPanel) return ReserveRunLock();
  return true;
}

// The state an option takes by this click: the opposite of its state now.
int NewOptionState(ui::Control* sender) {
  auto* option = dynamic_cast<ui::Option*>(sender);
  return option && option->IsSelected() ? 0 : 1;
}

int RowIndex(ui::Control* sender) {
  auto* row = dynamic_cast<ui::ListRow*>(sender);
  return row ? row->GetIndex() : -1;
}

std::wstring EditText(ui::Control* sender) {
  return sender ? sender->GetText() : std::wstring();
}

}  // namespace

void WizardContext::SetNextButton(bool visible, std::wstring label, bool enabled) {
  UiTextMessage payload{std::move(label), 0, 0, static_cast<uint8_t>(enabled)};
  Send(mainWindow, kMsgNextButton, visible ? 1 : 0, &payload);
}

void WizardContext::SetBluetoothBar(bool visible, std::wstring text) {
  UiTextMessage payload{std::move(text), 0, 0, 1};
  Send(mainWindow, kMsgBluetoothBar, visible ? 1 : 0, payload.text.empty() ? nullptr : &payload);
}

void WizardContext::SetNameInfo(std::wstring text, bool error) {
  UiTextMessage payload{std::move(text), static_cast<uint8_t>(error), 0, 1};
  Send(mainWindow, kMsgPrinterNameInfo, 0, &payload);
}

void WizardContext::EndRun(ShownPage runPage, bool withActions) {
  if (shownPage != runPage) return;
  Send(mainWindow, kMsgFinishBar, 1);
  Send(mainWindow, kMsgWizardBar, 0);
  Send(mainWindow, kMsgFinishActions, withActions ? 1 : 0);
}

void WizardContext::Home() {
  shownPage = ShownPage::Index;
  position = 0;
  Send(mainWindow, kMsgPreviousButton, 0);
  SetNextButton(true, L"main.btn.next", true);
  ListPrinters(printerEntries, SystemDriverEnvironment());
  Select(mainTab, 0);
  Select(installTab, 0);
  Select(removalTab, 0);
  Send(mainWindow, kMsgFinishBar, 0);
  Send(mainWindow, kMsgFinishActions, 0);
  Send(mainWindow, kMsgWizardBar, 1);
  // The adapter row belongs to the install wizard's Bluetooth choice.
  SetBluetoothBar(false, L"");
}

void WizardContext::Next() {
  if (shownPage == ShownPage::Index) {
    shownPage = mode == WizardMode::Install ? ShownPage::InstallWizard : ShownPage::RemovalWizard;
    Select(mainTab, static_cast<int>(shownPage));
    if (shownPage == ShownPage::InstallWizard) {
      ShowInstallStep(0);
    } else {
      ShowRemovalStep(0);
    }
  } else {
    ++position;
    if (activeWizard == ActiveWizard::Install && installTab) {
      const auto& steps = StepsOf(*this);
      // Past the last panel (a stray Next from a finished search) nothing moves.
      if (position >= static_cast<int>(steps.size()) || !CheckBeforeInstallPanel(request.portKind, steps[position])) {
        --position;
      } else {
        Select(installTab, steps[position]);
        ShowInstallStep(steps[position]);
      }
    } else if (activeWizard == ActiveWizard::Removal) {
      if (position >= kRemovalPanels || (position == kRemovalStartPanel && !ReserveRunLock())) {
        --position;
      } else {
        Select(removalTab, position);
        ShowRemovalStep(position);
      }
    }
  }
  // A lock reserved for a panel that was not entered after all.
  DropRunLock();
  if (shownPage == ShownPage::Index) {
    activeWizard = ActiveWizard::None;
  } else {
    activeWizard = mode != WizardMode::Remove ? ActiveWizard::Install : ActiveWizard::Removal;
  }
}

void WizardContext::Back() {
  if (position == 0) {
    shownPage = ShownPage::Index;
    Select(mainTab, 0);
    Home();
    return;
  }
  --position;
  if (activeWizard == ActiveWizard::Install) {
    const auto& steps = StepsOf(*this);
    if (position >= static_cast<int>(steps.size())) return;
    // Back never lands on the search, which would only search again and come back to the
    // same list: it goes on to the port kinds, whose Next searches again.
    if (steps[position] == kSearchPanel && position > 0) --position;
    Select(installTab, steps[position]);
    ShowInstallStep(steps[position]);
  } else if (activeWizard == ActiveWizard::Removal) {
    Select(removalTab, position);
    ShowRemovalStep(position);
  }
}

void WizardContext::ShowInstallStep(int panel) {
  Send(mainWindow, kMsgPreviousButton, 1);
  if (!installTab) return;
  switch (panel) {
    case 0:
      EnterPortKindPanel();
      break;
    case 1:
      StartDeviceScan();
      break;
    case 2:
      EnterUsbListPanel();
      break;
    case 3:
      EnterBluetoothListPanel();
      break;
    case 4:
      EnterModelPanel();
      break;
    case 5:
      EnterPortListPanel();
      break;
    case 6:
      EnterNetworkPanel();
      break;
    case 7:
      EnterPrinterNamePanel();
      break;
    case 8:
      EnterSummaryPanel();
      break;
    case 9:
      EnterInstallingPanel();
      break;
    default:
      break;
  }
  // Its choices are filled in now: the chosen one takes the focus.
  installTab->FocusShownPanel();
}

void WizardContext::ShowRemovalStep(int panel) {
  Send(mainWindow, kMsgPreviousButton, 1);
  SetNextButton(true, L"main.btn.next", true);
  EnterRemovalPanel(panel);
  if (removalTab) removalTab->FocusShownPanel();
}

void WizardContext::OnWizardClick(ui::Control* sender) {
  if (OnRemovalClick(sender)) return;
  if (sender == nullptr) return;
  const std::wstring name = sender->GetName();
  auto is = [&](const wchar_t* wanted) { return EqualsNoCase(name, wanted); };
  auto choosePortKind = [&](int kind) {
    request.portKind = kind;
    SetBluetoothBar(false, L"");
  };
  if (is(L"option_port_usb")) {
    choosePortKind(PortKind::Usb);
  } else if (is(L"option_port_net")) {
    choosePortKind(PortKind::Network);
  } else if (is(L"option_port_bluetooth")) {
    request.portKind = PortKind::Bluetooth;
    CheckBluetoothAdapter(false);
  } else if (is(L"option_port_lpt")) {
    choosePortKind(PortKind::Lpt);
  } else if (is(L"option_port_com")) {
    choosePortKind(PortKind::Com);
  } else if (is(L"option_port_custom")) {
    choosePortKind(PortKind::Custom);
  } else if (is(L"option_usecustom_pin")) {
    request.useCustomPin = NewOptionState(sender);
  } else if (is(L"btn_test_usb")) {
    UsbTestPrint();
  } else if (is(L"btn_port_add")) {
    AddPortThroughDialog();
  } else if (is(L"btn_port_delete")) {
    DeleteChosenPort();
  } else if (is(L"btn_port_configure")) {
    ConfigureChosenPort();
  } else if (is(L"option_selected_defaultPrinter")) {
    request.setAsDefault = NewOptionState(sender);
  } else if (is(L"btn_setup_preferences")) {
    OpenPrintingPreferences(request.printerName, mainWindow);
  } else if (is(L"btn_setup_properties")) {
    OpenPrinterProperties(request.printerName, mainWindow);
  } else if (is(L"btn_setup_testpage")) {
    PrintTestPage(request.printerName, mainWindow);
  } else if (is(L"btn_checked_printer_name")) {
    CheckPrinterNameFree();
  }
}

void WizardContext::OnWizardNotify(ui::TNotifyUI& msg) {
  if (OnRemovalNotify(msg)) return;
  const std::wstring name = msg.SenderName();
  auto is = [&](const wchar_t* wanted) { return EqualsNoCase(name, wanted); };
  const bool textChanged = EqualsNoCase(msg.type, L"textchanged");
  // The install lists key on the row's name alone: every notification of a row counts.
  if (is(L"listex_install_show_blue_item")) {
    request.bluetoothIndex = RowIndex(msg.sender);
    SetNextButton(true, L"", true);
  } else if (is(L"listex_install_show_usb_item")) {
    request.usbIndex = RowIndex(msg.sender);
    if (auto* row = dynamic_cast<ui::ListRow*>(msg.sender)) request.portName = row->GetColumnText(1);
    SetNextButton(true, L"", true);
  } else if (is(L"listex_install_driver_item")) {
    request.modelIndex = static_cast<int>(std::wcstol(msg.SenderUserData().c_str(), nullptr, 10));
    SetNextButton(true, L"", true);
  } else if (is(L"listex_install_port_item")) {
    request.portName = msg.SenderUserData();
    SetNextButton(true, L"", true);
  } else if (!textChanged) {
    return;
  } else if (is(L"edit_install_printer_name")) {
    request.printerName = EditText(msg.sender);
  } else if (is(L"edit_install_lan_ip")) {
    OnNetworkAddressTyped(EditText(msg.sender));
  } else if (is(L"edit_usecustom_pin")) {
    if (auto* edit = dynamic_cast<ui::Edit*>(msg.sender)) OnPinTextChanged(*edit);
  } else if (is(L"edit_install_lan_portName")) {
    OnNetworkPortNameTyped(EditText(msg.sender));
  }
}
