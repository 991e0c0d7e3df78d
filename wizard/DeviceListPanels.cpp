// Panels 2 and 3: the USB printers and the Bluetooth devices that the search found, and
// the pairing code of a Bluetooth printer.
#include <string>

#include "devices/BluetoothOperations.h"
#include "engine/PinText.h"
#include "shell/MessageBoxes.h"
#include "ui/controls/Edit.h"
#include "ui/controls/List.h"
#include "ui/controls/ListRow.h"
#include "ui/core/ResourceManager.h"
#include "wizard/FailureLine.h"
#include "wizard/InstallControls.h"
#include "wizard/InstallPanels.h"
#include "wizard/WizardContext.h"

namespace {

std::wstring DeviceName(const BluetoothDeviceRecord& device) {
  std::wstring name;
  for (char16_t c : device.name) {
    if (c == 0) break;
    name.push_back(static_cast<wchar_t>(c));
  }
  return name;
}

// The line under a list that says what to check when the search found nothing.
void ShowNothingFound(const wchar_t* labelName, bool nothing) {
  if (auto* label = FindInstallControl(labelName)) label->SetVisible(nothing);
}

}  // namespace

void EnterUsbListPanel() {
  auto& context = WizardContext::Instance();
  // Next comes with a chosen row: none when the search found nothing.
  context.SetNextButton(false, L"", true);
  auto* list = FindInstallControl<ui::List>(L"listex_install_show_usb");
  if (list == nullptr) return;
  PrepareInstallList(*list, L"listex_install_show_usb_group", L"listex_install_show_usb_item");
  const std::vector<UsbPrinterEntry> printers = context.usbPrinters;
  ShowNothingFound(L"label_install_usb_none", printers.empty());
  ShowFailureLine(FindInstallControl(L"label_install_usb_failed"), L"search.usb.failed", context.usbScanError);
  auto& request = context.request;
  for (size_t i = 0; i < printers.size(); ++i) {
    const int index = list->AddItem({{L"", printers[i].portName, printers[i].pidVid}});
    if (request.usbIndex < 0) {
      request.usbIndex = 0;
      request.portName = printers[0].portName;
    }
    if (request.usbIndex == index) {
      list->SelectRow(index);
      context.SetNextButton(true, L"", true);
    }
  }
}

void EnterBluetoothListPanel() {
  auto& context = WizardContext::Instance();
  if (auto* pin = FindInstallControl<ui::Edit>(L"edit_usecustom_pin")) pin->SetText(context.request.pin);
  auto* list = FindInstallControl<ui::List>(L"listex_install_show_blue");
  if (list == nullptr) return;
  const std::vector<BluetoothDeviceRecord> devices = context.bluetoothDevices;
  ShowNothingFound(L"label_install_blue_none", devices.empty());
  ShowFailureLine(FindInstallControl(L"label_install_blue_failed"), L"search.bluetooth.failed",
                  context.bluetoothScanError);
  std::vector<bool> paired;
  for (const auto& device : devices) paired.push_back(device.authenticated != 0);
  PrepareInstallList(*list, L"listex_install_show_blue_group", L"listex_install_show_blue_item",
                     [paired](ui::ListRow& row, int index) {
                       if (auto* badge = row.FindSubControl(L"label1_icon")) badge->SetVisible(paired[index]);
                     });
  // The user picks the printer anew after every search; with none found there is no Next.
  context.SetNextButton(false, L"", true);
  for (const auto& device : devices) {
    list->AddItem({{L"", DeviceName(device), FormatBluetoothAddress(device.address, true)}});
  }
}

bool CheckPin() {
  if (IsValidPin(WizardContext::Instance().request.pin)) return true;
  ShowNotice(ui::GetText(L"tip.pinerror"));
  return false;
}

void OnPinTextChanged(ui::Edit& edit) {
  const std::wstring text = edit.GetText();
  const std::wstring kept = FilterPin(text);
  if (kept != text) {
    edit.SetText(kept);
    edit.MoveCaretToEnd();
  }
  WizardContext::Instance().request.pin = kept;
}
