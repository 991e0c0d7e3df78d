// Placeholder until device discovery exists: every scan finds nothing, no adapter.
#include "wizard/DeviceScan.h"

#include <thread>

#include "shell/MainWindowMessages.h"
#include "base/WindowMessage.h"
#include "wizard/WizardContext.h"

void StartDeviceScan() {
  auto& context = WizardContext::Instance();
  context.usbPrinters.clear();
  context.bluetoothDevices.clear();
  const ui::WindowHandle window = context.mainWindow;
  std::thread([window] { ui::SendWindowMessage(window, kMsgWizardNext, 0, 0); }).detach();
}

bool CheckBluetoothAdapter(bool /*warn*/) {
  WizardContext::Instance().SetBluetoothBar(true, L"tip.btadapter.none");
  return false;
}

void UsbTestPrint() {}
