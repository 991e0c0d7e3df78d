#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/TextTable.h"
#include "base/WideText.h"
#include "devices/BluetoothRules.h"
#include "engine/spooler/AnsiDirectoryCalls.h"
#include "shell/EmbeddedPackage.h"
#include "shell/HeadlessMainWindow.h"
#include "shell/Languages.h"
#include "shell/ProgramMessageBox.h"
#include "shell/app/MainWnd.h"
#include "simulated/SimulatedMachine.h"
#include "ui/controls/Label.h"
#include "ui/controls/TabLayout.h"
#include "ui/core/Container.h"
#include "ui/core/ResourceManager.h"
#include "ui/core/SystemConstants.h"
#include "ui/core/WindowTree.h"
#include "ui/headless/HostHeadless.h"
#include "wizard/DeviceScan.h"
#include "wizard/WizardContext.h"

namespace {

constexpr const wchar_t* kPrinterId = L"USB\\VID_1A2B&PID_3C4D\\7";

class DeviceScanPanel : public HeadlessMainWindow {
 protected:
  void SetUp() override {
    HeadlessMainWindow::SetUp();
    machine_ = SimulatedMachine::Current();
    ASSERT_NE(OpenMainWindow(1033), nullptr);
  }

  void TearDown() override {
    HeadlessMainWindow::TearDown();
    auto& context = WizardContext::Instance();
    context.request = InstallRequest();
    context.usbPrinters.clear();
    context.bluetoothDevices.clear();
    context.usbScanError = 0;
    context.bluetoothScanError = 0;
  }

  // The install wizard on its search panel with the kind chosen, as the port-kind panel's
  // Next leaves it.
  void EnterSearchPanel(int kind) {
    auto& context = WizardContext::Instance();
    context.mode = WizardMode::Install;
    context.Next();
    context.request.portKind = kind;
    context.Next();
    ASSERT_EQ(context.installTab->GetCurSel(), 1);
  }

  void WaitForPanel(int panel) {
    auto* tab = WizardContext::Instance().installTab;
    host_->RunModalLoop([&] { return tab->GetCurSel() == panel; });
    EXPECT_EQ(tab->GetCurSel(), panel);
  }

  bool Shown(const wchar_t* name) {
    ui::Control* control = window_->FindControl<ui::Control>(name);
    return control != nullptr && control->IsVisible();
  }

  std::wstring AdapterRowText() {
    auto* label = window_->FindControl<ui::Label>(L"label_bluetooth_adapter_info");
    return label ? label->GetText() : L"?";
  }

  std::shared_ptr<SimulatedMachine> machine_;
};

}  // namespace

TEST_F(DeviceScanPanel, UsbScanHidesTheRowThenShowsTheList) {
  SimulatedUsbPrinter first;
  first.instanceId = kPrinterId;
  first.portNumber = 7;
  SimulatedUsbPrinter second;
  second.instanceId = L"USBPRINT\\ABC&DEF\\1";
  machine_->Devices().PlugUsbPrinter(first);
  machine_->Devices().PlugUsbPrinter(second);
  auto& context = WizardContext::Instance();
  context.request.usbIndex = 1;
  context.usbPrinters.push_back({L"stale", L"USB099", L"x"});
  // Entering the search panel starts the scan; its thread waits on its 768 until this
  // thread runs the loop.
  EnterSearchPanel(PortKind::Usb);
  EXPECT_FALSE(Shown(L"btn_setup_next"));
  EXPECT_FALSE(Shown(L"btn_setup_previous"));
  EXPECT_EQ(context.request.usbIndex, -1);
  WaitForPanel(2);
  ASSERT_EQ(context.usbPrinters.size(), 2u);
  EXPECT_EQ(context.usbPrinters[0].pidVid, L"VID_1A2B PID_3C4D");
  EXPECT_EQ(context.usbPrinters[0].portName, L"USB007");
  EXPECT_EQ(context.usbPrinters[1].pidVid, L"ABC DEF");
  EXPECT_EQ(context.usbPrinters[1].portName, L"");
}

TEST_F(DeviceScanPanel, NoPrinterStillMovesOnToAnEmptyList) {
  WizardContext::Instance().usbPrinters.push_back({L"stale", L"USB099", L"x"});
  EnterSearchPanel(PortKind::Usb);
  WaitForPanel(2);
  EXPECT_TRUE(WizardContext::Instance().usbPrinters.empty());
}

// A search that could not look at every device says so under the list, with the reason,
// and keeps what it found; the next search that can clears the line.
TEST_F(DeviceScanPanel, AFailedSearchShowsARedLineWithTheReason) {
  machine_->Devices().PlugUsbPrinter({kPrinterId, L"", 7});
  machine_->Devices().PlugUsbPrinter({L"USBPRINT\\ABC&DEF\\1", L"", std::nullopt, true, false});  // no detail
  EnterSearchPanel(PortKind::Usb);
  WaitForPanel(2);
  auto& context = WizardContext::Instance();
  ASSERT_EQ(context.usbPrinters.size(), 1u);
  EXPECT_EQ(context.usbScanError, 13u);
  ASSERT_TRUE(Shown(L"label_install_usb_failed"));
  EXPECT_EQ(window_->FindControl<ui::Label>(L"label_install_usb_failed")->GetText(),
            FormatText(GetText(L"search.usb.failed"), L"Code: 13 - The data is invalid."));
  EXPECT_FALSE(Shown(L"label_install_usb_none"));

  machine_->Devices().UnplugUsbPrinter(L"USBPRINT\\ABC&DEF\\1");
  context.Back();
  context.Next();
  WaitForPanel(2);
  EXPECT_EQ(context.usbScanError, 0u);
  EXPECT_FALSE(Shown(L"label_install_usb_failed"));
}

TEST_F(DeviceScanPanel, BluetoothScanListsOnlyPrinters) {
  auto& devices = machine_->Devices();
  devices.SetAdapter(SimulatedAdapter::On);
  devices.AddBluetoothDevice({L"QV-A4", 0x1122AABBCCDD, 0x040680, true, L"9371", false, L""});
  devices.AddBluetoothDevice({L"Phone", 0x000000000001, 0x5A020C, false, L"9371", false, L""});
  auto& context = WizardContext::Instance();
  context.request.bluetoothIndex = 0;
  context.request.portName = L"COM9:";
  EnterSearchPanel(PortKind::Bluetooth);
  EXPECT_FALSE(Shown(L"btn_setup_next"));
  EXPECT_EQ(context.request.bluetoothIndex, -1);
  EXPECT_EQ(context.request.portName, L"");
  WaitForPanel(3);
  ASSERT_EQ(context.bluetoothDevices.size(), 1u);
  EXPECT_EQ(DeviceName(context.bluetoothDevices[0]), L"QV-A4");
  EXPECT_EQ(context.bluetoothDevices[0].authenticated, 1);
}

TEST_F(DeviceScanPanel, AdapterRowShowsTheStateAndTheWarningRefuses) {
  auto& devices = machine_->Devices();
  const std::wstring pleaseCheck = ui::GetText(L"tip.btadapter.pleasechecked");

  EXPECT_FALSE(CheckBluetoothAdapter(false));
  host_->RunUntilIdle();
  EXPECT_TRUE(Shown(L"hor_bluetooth_adapter"));
  EXPECT_EQ(AdapterRowText(), L"Bluetooth adapter: Not found");

  devices.SetAdapter(SimulatedAdapter::Off);
  EXPECT_FALSE(CheckBluetoothAdapter(false));
  EXPECT_EQ(AdapterRowText(), L"Bluetooth adapter: OFF");
  EXPECT_TRUE(host_->MessageBoxes().empty());

  EXPECT_FALSE(CheckBluetoothAdapter(true));
  ASSERT_EQ(host_->MessageBoxes().size(), 1u);
  ExpectProgramBox(host_->MessageBoxes()[0], pleaseCheck, 0x40u);

  devices.SetAdapter(SimulatedAdapter::On);
  EXPECT_TRUE(CheckBluetoothAdapter(true));
  EXPECT_EQ(AdapterRowText(), L"Bluetooth adapter: ON");
  EXPECT_EQ(host_->MessageBoxes().size(), 1u);
}

TEST_F(DeviceScanPanel, TestPrintWritesTheLineAndTheFeed) {
  SimulatedUsbPrinter printer;
  printer.instanceId = kPrinterId;
  printer.portNumber = 7;
  machine_->Devices().PlugUsbPrinter(printer);
  auto& context = WizardContext::Instance();
  context.usbPrinters = {{L"VID_1A2B PID_3C4D", L"USB007", SimulatedDeviceTree::UsbDevicePathOf(kPrinterId)}};

  context.request.usbIndex = -1;
  UsbTestPrint();
  ASSERT_EQ(host_->MessageBoxes().size(), 1u);
  ExpectProgramBox(host_->MessageBoxes()[0], ui::GetText(L"tip.notselectusbport"), 0x40u);
  EXPECT_TRUE(machine_->Devices().Received(kPrinterId).empty());

  context.request.usbIndex = 1;  // beyond the list
  UsbTestPrint();
  EXPECT_TRUE(machine_->Devices().Received(kPrinterId).empty());

  context.request.usbIndex = 0;
  UsbTestPrint();
  const std::string line = ToAnsiCodePage(ui::GetText(L"tip.currentportis") + L"USB007");
  std::vector<uint8_t> expected(line.begin(), line.end());
  expected.insert(expected.end(), {27, 74, 120});
  EXPECT_EQ(machine_->Devices().Received(kPrinterId), expected);
  EXPECT_EQ(context.usbTestBuffer, expected);
  EXPECT_EQ(host_->MessageBoxes().size(), 1u);
}
