#include "wizard/InstallationStart.h"

#include "base/TextTable.h"
#include "base/WindowMessage.h"
#include "engine/RunInstallation.h"
#include "shell/MainWindowMessages.h"
#include "wizard/RunLockStep.h"
#include "wizard/WizardContext.h"
#include "wizard/WorkerThread.h"

namespace {

// The network panel's port name and address made their port; a next installation
// starts with new ones.
void ResetNetworkChoice(InstallRequest& request) {
  request.portName.clear();
  request.ipAddress.clear();
}

}  // namespace

InstallationInputs InstallationInputsFromWizard() {
  const WizardContext& context = WizardContext::Instance();
  InstallationInputs inputs;
  inputs.request = context.request;
  inputs.mainWindow = context.mainWindow;
  const int model = context.request.modelIndex;
  if (model >= 0 && model < static_cast<int>(context.driverModels.size())) inputs.model = context.driverModels[model];
  const int device = context.request.bluetoothIndex;
  if (context.request.portKind == PortKind::Bluetooth && device >= 0 &&
      device < static_cast<int>(context.bluetoothDevices.size())) {
    inputs.bluetoothDevice = context.bluetoothDevices[device];
  }
  // A USB printer's queue goes on the port the scan found for it.
  const int usb = context.request.usbIndex;
  if (context.request.portKind == PortKind::Usb && inputs.request.portName.empty() && usb >= 0 &&
      usb < static_cast<int>(context.usbPrinters.size())) {
    inputs.request.portName = context.usbPrinters[usb].portName;
  }
  return inputs;
}

bool StartInstallation() {
  InstallationLock lock = TakeRunLock();
  if (!lock.Held()) return false;
  const ui::WindowHandle window = WizardContext::Instance().mainWindow;
  ui::SendWindowMessage(window, kMsgInstallAnimation, 1, 0);
  ui::SendWindowMessage(window, kMsgFinishBar, 0, 0);
  ui::SendWindowMessage(window, kMsgFinishActions, 0, 0);
  ui::SendWindowMessage(window, kMsgWizardBar, 0, 0);
  // The lock goes with the thread's function and is released when it returns, or at
  // once when no thread could be had.
  const bool started = StartWorkerThread([inputs = InstallationInputsFromWizard(), lock = std::move(lock)] {
    InstallResult result;
    RunInstallation(inputs, result);
    FinishInstallation(inputs.mainWindow, result);
  });
  if (!started) {
    // Nothing changed: Back leads to the summary again, Cancel ends the program.
    auto& context = WizardContext::Instance();
    context.AppendInstallLog(L"", false, true);
    context.AppendInstallLog(GetText(L"tip.nothread"), true, false);
    ui::SendWindowMessage(window, kMsgInstallAnimation, 0, 0);
    ui::SendWindowMessage(window, kMsgWizardBar, 1, 0);
    context.SetNextButton(false, L"", true);
  }
  return started;
}

void FinishInstallation(ui::WindowHandle window, const InstallResult& result) {
  WizardContext& context = WizardContext::Instance();
  // The request changes before the finish row appears: once it shows, the UI thread may
  // read or refill the request.
  if (!result.bluetoothPortName.empty()) context.request.portName = result.bluetoothPortName;
  if (result.networkPortCreated) ResetNetworkChoice(context.request);
  ui::SendWindowMessage(window, kMsgInstallAnimation, 0, 0);
  ui::SendWindowMessage(window, kMsgRunEnded, result.succeeded ? 1 : 0,
                        static_cast<intptr_t>(ShownPage::InstallWizard));
}
