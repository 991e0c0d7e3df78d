#include "wizard/DeviceScan.h"

#include <cstdio>
#include <system_error>
#include <thread>

#include "base/TextTable.h"
#include "base/WindowMessage.h"
#include "devices/BluetoothDiscovery.h"
#include "devices/UsbPrinterScan.h"
#include "engine/spooler/AnsiDirectoryCalls.h"
#include "engine/spooler/FileOperations.h"
#include "shell/MainWindowMessages.h"
#include "shell/MessageBoxes.h"
#include "wizard/WizardContext.h"

namespace {

// ESC "J" 120: print what came before and feed 120 dots.
constexpr uint8_t kTestPrintTrailer[] = {27, 74, 120};

// Runs the scan on a thread of its own that is never joined. Should no thread be had,
// the wizard still moves on, to an empty list, rather than waiting on a hidden row.
template <typename Scan>
void StartScanThread(Scan scan) {
  const ui::WindowHandle window = WizardContext::Instance().mainWindow;
  auto body = [window, scan] {
    scan();
    ui::SendWindowMessage(window, kMsgWizardNext, 0, 0);
  };
  try {
    std::thread(body).detach();
  } catch (const std::system_error& error) {
    std::fprintf(stderr, "device scan: no thread (%s)\n", error.what());
    ui::SendWindowMessage(window, kMsgWizardNext, 0, 0);
  }
}

}  // namespace

void StartDeviceScan() {
  auto& context = WizardContext::Instance();
  ui::SendWindowMessage(context.mainWindow, kMsgNextButton, 0, 0);
  ui::SendWindowMessage(context.mainWindow, kMsgPreviousButton, 0, 0);
  if (context.request.portKind == PortKind::Usb) {
    context.request.usbIndex = -1;
    StartScanThread([] {
      auto& context = WizardContext::Instance();
      context.usbPrinters.clear();
      ScanResult<UsbPrinterEntry> scan = ScanUsbPrinters();
      context.usbPrinters = std::move(scan.found);
      context.usbScanError = scan.error;
    });
  } else if (context.request.portKind == PortKind::Bluetooth) {
    StartBluetoothScan();
  }
}

void StartBluetoothScan() {
  auto& context = WizardContext::Instance();
  context.request.bluetoothIndex = -1;
  context.request.portName.clear();
  StartScanThread([] {
    auto& context = WizardContext::Instance();
    context.bluetoothDevices.clear();
    ScanResult<BluetoothDeviceRecord> scan = ScanBluetoothPrinters();
    context.bluetoothDevices = std::move(scan.found);
    context.bluetoothScanError = scan.error;
  });
}

bool CheckBluetoothAdapter(bool warn) {
  const BluetoothAdapterState state = QueryBluetoothAdapter();
  WizardContext::Instance().SetBluetoothBar(true, BluetoothAdapterStateKey(state));
  if (state == BluetoothAdapterState::On) return true;
  if (warn) ShowNotice(GetText(L"tip.btadapter.pleasechecked"));
  return false;
}

void UsbTestPrint() {
  auto& context = WizardContext::Instance();
  const std::vector<UsbPrinterEntry> printers = context.usbPrinters;
  const int index = context.request.usbIndex;
  if (index == -1) {
    ShowNotice(GetText(L"tip.notselectusbport"));
    return;
  }
  if (index < 0 || static_cast<size_t>(index) >= printers.size()) return;
  const UsbPrinterEntry& printer = printers[static_cast<size_t>(index)];
  auto& buffer = context.usbTestBuffer;
  buffer.clear();
  const std::string text = ToAnsiCodePage(GetText(L"tip.currentportis")) + ToAnsiCodePage(printer.portName);
  buffer.assign(text.begin(), text.end());
  buffer.insert(buffer.end(), std::begin(kTestPrintTrailer), std::end(kTestPrintTrailer));
  // The user sees nothing of the outcome; the printer either prints or not.
  WriteDeviceBytes(printer.devicePath, buffer.data(), static_cast<uint32_t>(buffer.size()));
}
