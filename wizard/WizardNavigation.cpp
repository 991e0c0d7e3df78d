// Home, Next and Back of the install and removal wizards, and the requests they send to
// the main window. The panels' own entry actions and checks are added page by page.
#include "engine/spooler/SpoolerOperations.h"
#include "shell/MainWindowMessages.h"
#include "shell/UiTextMessage.h"
#include "ui/controls/TabLayout.h"
#include "base/WindowMessage.h"
#include "wizard/RemovalPage.h"
#include "wizard/WizardContext.h"

namespace {

void Send(ui::WindowHandle window, uint32_t message, uintptr_t wParam, const UiTextMessage* payload = nullptr) {
  ui::SendWindowMessage(window, message, wParam, reinterpret_cast<intptr_t>(payload));
}

// The install panels visited for the chosen port kind.
const std::vector<int>& StepsOf(const WizardContext& context) {
  switch (context.request.portKind) {
    case PortKind::Usb: return context.usbSteps;
    case PortKind::Bluetooth: return context.bluetoothSteps;
    case PortKind::Network: return context.networkSteps;
    default: return context.portListSteps;
  }
}

void Select(ui::TabLayout* tab, int index) {
  if (tab) tab->SelectItem(index);
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

void WizardContext::Home() {
  shownPage = 0;
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
}

void WizardContext::Next() {
  if (shownPage == 0) {
    shownPage = mode == 1 ? 1 : 2;
    Select(mainTab, shownPage);
    if (shownPage == 1) {
      ShowInstallStep(0);
    } else {
      ShowRemovalStep(0);
    }
  } else {
    ++position;
    if (activeWizard == 1 && installTab) {
      const auto& steps = StepsOf(*this);
      if (position >= static_cast<int>(steps.size())) {
        --position;
      } else {
        Select(installTab, steps[position]);
        ShowInstallStep(steps[position]);
      }
    } else if (activeWizard == 2) {
      if (position > 3) {
        --position;
      } else {
        Select(removalTab, position);
        ShowRemovalStep(position);
      }
    }
  }
  activeWizard = shownPage == 0 ? 0 : (mode != 0 ? 1 : 2);
}

void WizardContext::Back() {
  if (position == 0) {
    shownPage = 0;
    Select(mainTab, 0);
    Home();
    return;
  }
  --position;
  if (activeWizard == 1) {
    const auto& steps = StepsOf(*this);
    Select(installTab, steps[position]);
    ShowInstallStep(steps[position]);
  } else if (activeWizard == 2) {
    Select(removalTab, position);
    ShowRemovalStep(position);
  }
}

void WizardContext::ShowInstallStep(int /*panel*/) { Send(mainWindow, kMsgPreviousButton, 1); }

void WizardContext::ShowRemovalStep(int panel) {
  Send(mainWindow, kMsgPreviousButton, 1);
  EnterRemovalPanel(panel);
}

void WizardContext::OnWizardClick(ui::Control* sender) {
  if (OnRemovalClick(sender)) return;
}

void WizardContext::OnWizardNotify(ui::TNotifyUI& msg) {
  if (OnRemovalNotify(msg)) return;
}
