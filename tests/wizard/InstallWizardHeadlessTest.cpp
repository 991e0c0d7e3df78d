#include <algorithm>

#include "InstallWizardHarness.h"
#include "base/WideText.h"
#include "engine/spooler/SpoolerOperations.h"
#include "wizard/PopAddPort.h"

using wizardtest::InstallWizard;

namespace {

bool AllContain(const std::vector<std::wstring>& texts, const wchar_t* part) {
  return std::all_of(texts.begin(), texts.end(),
                     [&](const std::wstring& t) { return t.find(part) != std::wstring::npos; });
}

}  // namespace

TEST_F(InstallWizard, ComInstallForwardToTheSummaryAndBackHome) {
  Open();
  Next();
  EXPECT_EQ(MainPage(), 1);
  EXPECT_EQ(InstallPanel(), 0);
  EXPECT_EQ(Context().shownPage, ShownPage::InstallWizard);
  EXPECT_EQ(Context().activeWizard, ActiveWizard::Install);
  EXPECT_EQ(Context().position, 0);
  EXPECT_EQ(Request().portKind, PortKind::Com);
  EXPECT_TRUE(Find<ui::Option>(L"option_port_com")->IsSelected());
  EXPECT_TRUE(Find(L"btn_setup_previous")->IsVisible());

  Next();  // the model comes first for the port-list kinds
  EXPECT_EQ(InstallPanel(), 4);
  EXPECT_EQ(RowTexts(L"listex_install_driver_moudel", 1),
            (std::vector<std::wstring>{L"QuorvelA4-203", L"QuorvelA4-300"}));
  EXPECT_EQ(Selected(L"listex_install_driver_moudel"), 1);
  EXPECT_EQ(Request().modelIndex, 1);
  EXPECT_TRUE(NextShown());

  Next();
  EXPECT_EQ(InstallPanel(), 5);
  const auto ports = RowTexts(L"listex_install_driver_port", 1);
  EXPECT_EQ(ports, (std::vector<std::wstring>{L"COM1:", L"COM2:", L"COM3:", L"COM4:"}));
  EXPECT_EQ(RowTexts(L"listex_install_driver_port", 2)[0], L"Local Port");
  EXPECT_EQ(Selected(L"listex_install_driver_port"), 0);
  EXPECT_EQ(Request().portName, L"COM1:");
  ASSERT_TRUE(ClickRow(L"listex_install_driver_port", 2));
  EXPECT_EQ(Request().portName, L"COM3:");

  Next();
  EXPECT_EQ(InstallPanel(), 7);
  EXPECT_EQ(Find(L"edit_install_printer_name")->GetText(), L"QuorvelA4-300");
  EXPECT_EQ(Request().printerName, L"QuorvelA4-300");
  EXPECT_TRUE(Find<ui::Option>(L"option_selected_defaultPrinter")->IsSelected());
  EXPECT_EQ(Request().setAsDefault, 1);

  Next();
  EXPECT_EQ(InstallPanel(), 8);
  EXPECT_EQ(Context().position, 4);
  EXPECT_EQ(Find(L"label_show_printername_info")->GetText(), L"Printer name: QuorvelA4-300 is available");
  EXPECT_EQ(Find(L"label_ready_driverName")->GetText(), L"QuorvelA4-300");
  EXPECT_EQ(Find(L"label_ready_portName")->GetText(), L"COM3:");
  EXPECT_EQ(Find(L"label_ready_portName")->GetToolTip(), L"COM3:");
  EXPECT_EQ(Find(L"label_ready_printerName")->GetText(), L"QuorvelA4-300");
  EXPECT_EQ(Find(L"label_ready_prinerDefault")->GetText(), ui::GetText(L"tip.yes"));

  Back();
  EXPECT_EQ(InstallPanel(), 7);
  Back();
  EXPECT_EQ(InstallPanel(), 5);
  EXPECT_EQ(Selected(L"listex_install_driver_port"), 2);  // the choice is kept
  Back();
  EXPECT_EQ(InstallPanel(), 4);
  Back();
  EXPECT_EQ(InstallPanel(), 0);
  EXPECT_EQ(Context().position, 0);
  Back();
  EXPECT_EQ(MainPage(), 0);
  EXPECT_EQ(Context().shownPage, ShownPage::Index);
  EXPECT_FALSE(Find(L"btn_setup_previous")->IsVisible());
  EXPECT_EQ(Request().portName, L"COM3:");  // Home keeps the request
}

TEST_F(InstallWizard, PortListFiltersByKindAndProposesOnlyAPortThatIsThere) {
  std::wstring error;
  ASSERT_TRUE(Machine().DeletePort(L"COM1:"));
  Machine().AddDialogAnswer({true, L"XCOMPORT", L""});
  ASSERT_TRUE(AddPortThroughMonitor(L"Local Port", nullptr, error));
  Open();
  Next();
  Next();
  Next();
  ASSERT_EQ(InstallPanel(), 5);
  EXPECT_EQ(RowTexts(L"listex_install_driver_port", 1),
            (std::vector<std::wstring>{L"COM2:", L"COM3:", L"COM4:", L"XCOMPORT"}));
  EXPECT_EQ(Selected(L"listex_install_driver_port"), -1);
  EXPECT_FALSE(Find(L"btn_setup_next")->IsVisible());
  EXPECT_EQ(Request().portName, L"");
  ASSERT_TRUE(ClickRow(L"listex_install_driver_port", 3));
  EXPECT_EQ(Request().portName, L"XCOMPORT");
  EXPECT_TRUE(NextShown());

  // LPT lists its own ports and proposes LPT1:; a choice of another kind stays unlisted.
  Back();
  Back();
  ASSERT_TRUE(Click(L"option_port_lpt"));
  EXPECT_EQ(Request().portKind, PortKind::Lpt);
  Next();
  Next();
  EXPECT_TRUE(AllContain(RowTexts(L"listex_install_driver_port", 1), L"LPT"));
  EXPECT_EQ(Selected(L"listex_install_driver_port"), -1);
  Request().portName.clear();
  Back();
  Back();
  ASSERT_TRUE(Click(L"option_port_custom"));
  Next();
  Next();
  EXPECT_EQ(Find<ui::List>(L"listex_install_driver_port")->GetRowCount(), 10);
  Back();
  Back();
  ASSERT_TRUE(Click(L"option_port_lpt"));
  Next();
  Next();
  EXPECT_EQ(Request().portName, L"LPT1:");
}

TEST_F(InstallWizard, NetworkPanelProposesAFreePortAndChecksTheAddress) {
  ASSERT_TRUE(AddStandardTcpIpPort(L"192.168.1.100", L"192.168.1.100"));
  ASSERT_TRUE(AddStandardTcpIpPort(L"192.168.1.100_1", L"192.168.1.100"));
  Open();
  Next();
  ASSERT_TRUE(Click(L"option_port_net"));
  EXPECT_EQ(Request().portKind, PortKind::Network);
  EXPECT_FALSE(Find(L"hor_bluetooth_adapter")->IsVisible());
  Next();
  EXPECT_EQ(InstallPanel(), 4);
  Next();
  EXPECT_EQ(InstallPanel(), 6);
  EXPECT_EQ(Find(L"edit_install_lan_ip")->GetText(), L"192.168.1.100");
  EXPECT_EQ(Find(L"edit_install_lan_portName")->GetText(), L"192.168.1.100_2");
  EXPECT_EQ(Request().portName, L"192.168.1.100_2");
  EXPECT_EQ(Request().ipAddress, L"192.168.1.100");

  TypeInto(L"edit_install_lan_ip", L"192.168.1.256");
  EXPECT_EQ(Request().ipAddress, L"192.168.1.256");
  Next();
  EXPECT_EQ(InstallPanel(), 6);
  EXPECT_EQ(Context().position, 2);
  EXPECT_EQ(Find(L"label_show_lanPort_info")->GetText(), L"The IP address is not valid");

  TypeInto(L"edit_install_lan_ip", L"10.0.0.7");
  // The spooler refuses a port name that differs only in case.
  TypeInto(L"edit_install_lan_portName", L"com1:");
  Next();
  EXPECT_EQ(InstallPanel(), 6);
  EXPECT_EQ(Find(L"label_show_lanPort_info")->GetText(), L"The port exists already, please enter another name");
  EXPECT_TRUE(Find(L"edit_install_lan_portName")->IsFocused());

  TypeInto(L"edit_install_lan_portName", L"IP_10.0.0.7");
  Next();
  EXPECT_EQ(InstallPanel(), 7);
  EXPECT_EQ(Find(L"label_show_lanPort_info")->GetText(), L"");
  EXPECT_EQ(Request().portName, L"IP_10.0.0.7");
  Back();
  Back();
  EXPECT_EQ(InstallPanel(), 4);
  Next();  // a later visit shows what was typed
  EXPECT_EQ(Find(L"edit_install_lan_ip")->GetText(), L"10.0.0.7");
  EXPECT_EQ(Find(L"edit_install_lan_portName")->GetText(), L"IP_10.0.0.7");
}

TEST_F(InstallWizard, PrinterNameIsProposedFreeAndCheckedAsTheSpoolerDecides) {
  AddPrinterNamed(L"QuorvelA4-300");
  AddPrinterNamed(L"QuorvelA4-300 (1)");
  Open();
  Next();
  Next();
  Next();
  Next();
  ASSERT_EQ(InstallPanel(), 7);
  EXPECT_EQ(Find(L"edit_install_printer_name")->GetText(), L"QuorvelA4-300 (2)");

  // Only letter case differs: the spooler would refuse it with 1802.
  TypeInto(L"edit_install_printer_name", L"quorvela4-300 (1)");
  EXPECT_EQ(Request().printerName, L"quorvela4-300 (1)");
  Next();
  EXPECT_EQ(InstallPanel(), 7);
  EXPECT_EQ(Context().position, 3);
  EXPECT_EQ(Find(L"label_show_printername_info")->GetText(),
            L"*Printer name: quorvela4-300 (1) cannot be used, please choose another name");

  TypeInto(L"edit_install_printer_name", L"Label printer");
  ASSERT_TRUE(Click(L"option_selected_defaultPrinter"));
  EXPECT_EQ(Request().setAsDefault, 0);
  Next();
  EXPECT_EQ(InstallPanel(), 8);
  EXPECT_EQ(Find(L"label_ready_printerName")->GetText(), L"Label printer");
  EXPECT_EQ(Find(L"label_ready_prinerDefault")->GetText(), ui::GetText(L"tip.no"));

  // Back keeps the typed name, the default choice and none of the last check's line.
  Back();
  EXPECT_EQ(Find(L"edit_install_printer_name")->GetText(), L"Label printer");
  EXPECT_EQ(Request().printerName, L"Label printer");
  EXPECT_EQ(Find(L"label_show_printername_info")->GetText(), L"");
  EXPECT_FALSE(Find<ui::Option>(L"option_selected_defaultPrinter")->IsSelected());

  // Another model: its own proposal replaces the typed name.
  Back();
  Back();
  ASSERT_EQ(InstallPanel(), 4);
  ASSERT_TRUE(ClickRow(L"listex_install_driver_moudel", 0));
  Next();
  Next();
  ASSERT_EQ(InstallPanel(), 7);
  EXPECT_EQ(Find(L"edit_install_printer_name")->GetText(), L"QuorvelA4-203");
  // An untouched proposal follows what the spooler holds when the panel is entered again.
  AddPrinterNamed(L"QuorvelA4-203");
  Back();
  Next();
  EXPECT_EQ(Find(L"edit_install_printer_name")->GetText(), L"QuorvelA4-203 (1)");
}

TEST_F(InstallWizard, TheModelChoiceIsKeptAcrossVisitsAndHome) {
  Open();
  Next();
  Next();
  ASSERT_TRUE(ClickRow(L"listex_install_driver_moudel", 0));
  EXPECT_EQ(Request().modelIndex, 0);
  Next();
  Next();
  EXPECT_EQ(Find(L"edit_install_printer_name")->GetText(), L"QuorvelA4-203");
  ASSERT_TRUE(Click(L"btn_setup_previous"));
  ASSERT_TRUE(Click(L"btn_setup_previous"));
  EXPECT_EQ(Selected(L"listex_install_driver_moudel"), 0);
  Back();
  Back();
  Next();
  Next();
  EXPECT_EQ(Selected(L"listex_install_driver_moudel"), 0);
}

TEST_F(InstallWizard, UsbSearchAndListRebuildOnBack) {
  Open();
  Next();
  ASSERT_TRUE(Click(L"option_port_usb"));
  Next();
  WaitForPanel(2);  // the search finds nothing and moves on
  EXPECT_EQ(Context().position, 2);
  EXPECT_EQ(Find<ui::List>(L"listex_install_show_usb")->GetRowCount(), 0);
  EXPECT_FALSE(Find(L"btn_setup_next")->IsVisible());

  // The explanation is what stands there; Back leads to the port kinds, Next searches again.
  EXPECT_TRUE(Find(L"label_install_usb_none")->IsShownInTree());
  EXPECT_EQ(Find(L"label_install_usb_none")->GetText(),
            L"No USB printer was found. Check that the printer is switched on and its USB cable is plugged in, then "
            L"press Back and Next to search again.");
  Back();
  EXPECT_EQ(InstallPanel(), 0);
  EXPECT_EQ(Context().position, 0);
  EXPECT_TRUE(NextShown());
  Next();
  WaitForPanel(2);
  EXPECT_EQ(Context().position, 2);

  Context().usbPrinters = {{L"PID_0001 VID_1234", L"USB001", L"\\\\?\\usb#1"},
                           {L"PID_0002 VID_1234", L"USB002", L"\\\\?\\usb#2"}};
  Context().ShowInstallStep(2);
  Settle();
  EXPECT_FALSE(Find(L"label_install_usb_none")->IsVisible());
  EXPECT_EQ(RowTexts(L"listex_install_show_usb", 2)[1], L"PID_0002 VID_1234");
  EXPECT_EQ(Selected(L"listex_install_show_usb"), 0);
  EXPECT_EQ(Request().usbIndex, 0);
  EXPECT_EQ(Request().portName, L"USB001");
  EXPECT_TRUE(NextShown());
  ASSERT_TRUE(ClickRow(L"listex_install_show_usb", 1));
  EXPECT_EQ(Request().usbIndex, 1);
  EXPECT_EQ(Request().portName, L"USB002");
  Next();
  EXPECT_EQ(InstallPanel(), 4);
  Back();  // the list again, without a new search, the choice kept
  EXPECT_EQ(InstallPanel(), 2);
  EXPECT_EQ(Selected(L"listex_install_show_usb"), 1);
}

TEST_F(InstallWizard, BluetoothNeedsAnAdapterAndAPin) {
  Open();
  Next();
  ASSERT_TRUE(Click(L"option_port_bluetooth"));
  EXPECT_EQ(Request().portKind, PortKind::Bluetooth);
  EXPECT_TRUE(Find(L"hor_bluetooth_adapter")->IsVisible());
  const size_t boxes = host_->MessageBoxes().size();
  Next();  // no adapter: the check refuses the search panel
  EXPECT_EQ(InstallPanel(), 0);
  EXPECT_EQ(Context().position, 0);
  ASSERT_TRUE(Click(L"option_port_com"));
  EXPECT_FALSE(Find(L"hor_bluetooth_adapter")->IsVisible());
  ASSERT_TRUE(Click(L"option_port_bluetooth"));

  // On the device list (as after a search that found one printer).
  BluetoothDeviceRecord device;
  device.address = 0x001122334455;
  device.authenticated = 1;
  const char16_t name[] = u"QPrinter";
  std::copy(std::begin(name), std::end(name), device.name);
  Context().bluetoothDevices = {device};
  Context().position = 2;
  Context().installTab->SelectItem(3);
  Context().ShowInstallStep(3);
  Settle();
  EXPECT_EQ(Find(L"edit_usecustom_pin")->GetText(), L"9371");
  EXPECT_EQ(RowTexts(L"listex_install_show_blue", 1), std::vector<std::wstring>{L"QPrinter"});
  EXPECT_EQ(Selected(L"listex_install_show_blue"), -1);
  EXPECT_FALSE(Find(L"btn_setup_next")->IsVisible());
  ASSERT_TRUE(ClickRow(L"listex_install_show_blue", 0));
  EXPECT_EQ(Request().bluetoothIndex, 0);
  EXPECT_TRUE(NextShown());

  TypeInto(L"edit_usecustom_pin", L"12-ab c!");
  EXPECT_EQ(Find(L"edit_usecustom_pin")->GetText(), L"12abc");
  EXPECT_EQ(Find<ui::Edit>(L"edit_usecustom_pin")->GetCaret(), 5);
  EXPECT_EQ(Request().pin, L"12abc");
  TypeInto(L"edit_usecustom_pin", L"- -");
  EXPECT_EQ(Request().pin, L"");
  Next();
  EXPECT_EQ(InstallPanel(), 3);
  EXPECT_EQ(Context().position, 2);
  ASSERT_GT(host_->MessageBoxes().size(), boxes);
  EXPECT_EQ(host_->MessageBoxes().back().text, ui::GetText(L"tip.pinerror"));
  EXPECT_EQ(host_->MessageBoxes().back().flags, 0x40u);

  TypeInto(L"edit_usecustom_pin", L"0000");
  Next();
  EXPECT_EQ(InstallPanel(), 4);
  Back();  // the list is rebuilt without a choice
  EXPECT_EQ(Selected(L"listex_install_show_blue"), -1);
  EXPECT_FALSE(Find(L"btn_setup_next")->IsVisible());
}

TEST_F(InstallWizard, DeletingThePortAsksAndReportsWhyItFailed) {
  ASSERT_TRUE(Machine().AddPrinter({L"On COM2", L"Microsoft Software Printer Driver", L"COM2:", L"winprint", 0, {}}));
  Open();
  Next();
  Next();
  Next();
  ASSERT_EQ(Request().portName, L"COM1:");

  host_->QueueMessageBoxAnswer(2);  // Cancel
  ASSERT_TRUE(Click(L"btn_port_delete"));
  auto boxes = host_->MessageBoxes();
  ASSERT_FALSE(boxes.empty());
  EXPECT_EQ(boxes.back().text, FormatText(ui::GetText(L"tip.isdeleteport"), L"COM1:"));
  EXPECT_EQ(boxes.back().flags, 0x41u);
  EXPECT_TRUE(PortExists(L"COM1:"));

  ASSERT_TRUE(Click(L"btn_port_delete"));  // OK
  EXPECT_FALSE(PortExists(L"COM1:"));
  EXPECT_EQ(Request().portName, L"");
  EXPECT_EQ(RowTexts(L"listex_install_driver_port", 1), (std::vector<std::wstring>{L"COM2:", L"COM3:", L"COM4:"}));
  EXPECT_EQ(Selected(L"listex_install_driver_port"), -1);

  // A port that a printer uses is not deleted; the reason is shown.
  ASSERT_TRUE(ClickRow(L"listex_install_driver_port", 0));
  ASSERT_TRUE(Click(L"btn_port_delete"));
  boxes = host_->MessageBoxes();
  EXPECT_EQ(boxes.back().flags, 0x40u);
  EXPECT_NE(boxes.back().text.find(L"Code: 170"), std::wstring::npos);
  EXPECT_EQ(Request().portName, L"COM2:");
  EXPECT_EQ(Selected(L"listex_install_driver_port"), 0);
}

TEST_F(InstallWizard, AComInstallByKeyboardAlone) {
  Open();
  auto focused = [&] {
    const ui::Control* focus = window_->Tree().GetFocus();
    return focus ? focus->GetName() : std::wstring();
  };
  auto tabTo = [&](const wchar_t* name, bool backwards = false) {
    for (int i = 0; i < 40 && focused() != name; ++i) Key(ui::kVkTab, backwards);
    ASSERT_EQ(focused(), name);
  };
  Key(ui::kVkReturn);  // nothing focused: Enter is Next
  ASSERT_EQ(InstallPanel(), 0);

  tabTo(L"option_port_lpt");
  Key(ui::kVkSpace);
  EXPECT_EQ(Request().portKind, PortKind::Lpt);
  tabTo(L"option_port_com", true);
  Key(ui::kVkSpace);
  EXPECT_EQ(Request().portKind, PortKind::Com);
  EXPECT_TRUE(Find<ui::Option>(L"option_port_com")->IsSelected());
  Key(ui::kVkReturn);  // Enter on an option is Next too
  ASSERT_EQ(InstallPanel(), 4);

  tabTo(L"listex_install_driver_moudel");
  Key(ui::kVkUp);
  EXPECT_EQ(Request().modelIndex, 0);
  Key(ui::kVkDown);
  EXPECT_EQ(Request().modelIndex, 1);
  Key(ui::kVkReturn);
  ASSERT_EQ(InstallPanel(), 5);

  tabTo(L"listex_install_driver_port");
  Key(ui::kVkDown);
  EXPECT_EQ(Request().portName, L"COM2:");
  tabTo(L"btn_port_configure");
  bool configured = false;
  host_->QueueIdleAction([&] {
    configured = true;
    host_->PressKey(TopWindow(), ui::kVkEscape);  // the monitor's dialog: Escape cancels
  });
  Key(ui::kVkReturn);  // the focused button, not Next
  EXPECT_TRUE(configured);
  EXPECT_EQ(InstallPanel(), 5);
  tabTo(L"btn_setup_next");
  Key(ui::kVkSpace);
  ASSERT_EQ(InstallPanel(), 7);

  tabTo(L"option_selected_defaultPrinter");
  Key(ui::kVkSpace);
  EXPECT_EQ(Request().setAsDefault, 0);
  tabTo(L"edit_install_printer_name");
  host_->PressKey(Window(), ui::kVkEnd);
  host_->TypeText(Window(), L"x");
  Key(ui::kVkReturn);
  ASSERT_EQ(InstallPanel(), 8);
  EXPECT_EQ(Find(L"label_ready_printerName")->GetText(), L"QuorvelA4-300x");
  EXPECT_EQ(Find(L"label_ready_portName")->GetText(), L"COM2:");
  EXPECT_EQ(Find(L"label_ready_prinerDefault")->GetText(), ui::GetText(L"tip.no"));
  Key(ui::kVkEscape);  // swallowed
  EXPECT_EQ(InstallPanel(), 8);
  EXPECT_TRUE(window_->IsWindow());
}

TEST_F(InstallWizard, TheSummaryInChinese) {
  Open(2052);
  Next();
  Next();
  Next();
  Next();
  Next();
  ASSERT_EQ(InstallPanel(), 8);
  EXPECT_EQ(Find(L"label_ready_prinerDefault")->GetText(), ui::GetText(L"tip.yes"));
  EXPECT_NE(ui::GetText(L"tip.yes"), L"tip.yes");

  Next();  // the installation starts: no way back while it runs
  EXPECT_EQ(InstallPanel(), 9);
  EXPECT_EQ(Context().position, 5);
  EXPECT_FALSE(Find(L"hor_btn_h2")->IsVisible());
  WaitForRunToEnd();
}

TEST_F(InstallWizard, AddPortHandsOverToTheMonitorsOwnDialog) {
  Open();
  Next();
  Next();
  Next();
  ASSERT_EQ(InstallPanel(), 5);
  std::vector<std::wstring> monitors;
  bool isPopAddPort = false;
  // 1: the add-port dialog; Local Port, whose own dialog asks for the name (2).
  host_->QueueIdleAction([&] {
    auto* popup = TopWindowObject();
    ASSERT_NE(popup, nullptr);
    isPopAddPort = dynamic_cast<CPopAddPort*>(popup) != nullptr;
    auto* list = popup->FindControl<ui::List>(L"listex_addport_type");
    ASSERT_NE(list, nullptr);
    for (int i = 0; i < list->GetRowCount(); ++i) {
      monitors.push_back(list->GetRow(i)->GetColumnText(0) + L" " + list->GetRow(i)->GetColumnText(1));
    }
    const ui::WindowHandle handle = TopWindow();
    ASSERT_TRUE(ClickRowIn(handle, L"listex_addport_type", 2));
    ASSERT_TRUE(host_->ClickControl(handle, L"btn_port_add"));  // returns when the monitor's dialog is gone
    // 3: Standard TCP/IP Port with a host and no name.
    ASSERT_TRUE(ClickRowIn(handle, L"listex_addport_type", 1));
    ASSERT_TRUE(host_->ClickControl(handle, L"btn_port_add"));
    // WSD Port has no dialog of its own: nothing opens, nothing is added.
    ASSERT_TRUE(ClickRowIn(handle, L"listex_addport_type", 0));
    const size_t windows = host_->Windows().size();
    ASSERT_TRUE(host_->ClickControl(handle, L"btn_port_add"));
    EXPECT_EQ(host_->Windows().size(), windows);
    ASSERT_TRUE(host_->ClickControl(handle, L"btn_port_cancel"));
  });
  host_->QueueIdleAction([&] {
    const ui::WindowHandle monitor = TopWindow();
    EXPECT_NE(TopWindowObject()->FindControl(L"edit_monitor_port"), nullptr);
    TypeIn(monitor, L"edit_monitor_port", L"COM7:");
    host_->PressKey(monitor, ui::kVkReturn);  // OK is the dialog's default button
  });
  host_->QueueIdleAction([&] {
    const ui::WindowHandle monitor = TopWindow();
    TypeIn(monitor, L"edit_monitor_host", L"10.1.2.3");
    ASSERT_TRUE(host_->ClickControl(monitor, L"btn_monitor_ok"));
  });
  ASSERT_TRUE(Click(L"btn_port_add"));
  EXPECT_TRUE(isPopAddPort);
  EXPECT_EQ(monitors,
            (std::vector<std::wstring>{L"1 WSD Port", L"2 Standard TCP/IP Port", L"3 Local Port", L"4 Appmon"}));
  EXPECT_TRUE(PortExists(L"COM7:"));
  EXPECT_TRUE(PortExists(L"IP_10.1.2.3"));
  // The list was rebuilt when the dialog closed.
  EXPECT_EQ(RowTexts(L"listex_install_driver_port", 1).back(), L"COM7:");
  EXPECT_EQ(Request().portName, L"COM1:");
  EXPECT_TRUE(window_->IsWindow());
}

TEST_F(InstallWizard, ConfigurePortShowsTheMonitorsDialogAndKeepsItsAnswer) {
  ASSERT_TRUE(AddStandardTcpIpPort(L"IP_10.0.0.9", L"10.0.0.9"));
  Open();
  Next();
  ASSERT_TRUE(Click(L"option_port_custom"));
  Next();
  Next();
  ASSERT_EQ(InstallPanel(), 5);
  const auto names = RowTexts(L"listex_install_driver_port", 1);
  const int row = static_cast<int>(std::find(names.begin(), names.end(), L"IP_10.0.0.9") - names.begin());
  ASSERT_TRUE(ClickRow(L"listex_install_driver_port", row));
  std::wstring shownHost;
  host_->QueueIdleAction([&] {
    const ui::WindowHandle monitor = TopWindow();
    auto* dialog = TopWindowObject();
    shownHost = dialog->FindControl(L"edit_monitor_host")->GetText();
    TypeIn(monitor, L"edit_monitor_host", L"10.0.0.10");
    ASSERT_TRUE(host_->ClickControl(monitor, L"btn_monitor_ok"));
  });
  ASSERT_TRUE(Click(L"btn_port_configure"));
  EXPECT_EQ(shownHost, L"10.0.0.9");
  const auto snapshot = Machine().Snapshot();
  const SimulatedPort* port = snapshot.ports.Find(L"IP_10.0.0.9");
  ASSERT_NE(port, nullptr);
  EXPECT_EQ(port->hostAddress, L"10.0.0.10");

  // Cancel changes nothing.
  host_->QueueIdleAction([&] {
    TypeIn(TopWindow(), L"edit_monitor_host", L"10.0.0.11");
    ASSERT_TRUE(host_->ClickControl(TopWindow(), L"btn_monitor_cancel"));
  });
  ASSERT_TRUE(Click(L"btn_port_configure"));
  EXPECT_EQ(Machine().Snapshot().ports.Find(L"IP_10.0.0.9")->hostAddress, L"10.0.0.10");
}

// The panel's first input has the focus; Tab goes on through the panel's controls in
// layout order, the button bar and the caption's buttons. The exe's test under Wine counts
// on this order to reach the delete button by keys.
TEST_F(InstallWizard, TabOrderOfThePortList) {
  Open();
  Key(ui::kVkReturn);
  Key(ui::kVkReturn);
  Key(ui::kVkReturn);
  ASSERT_EQ(InstallPanel(), 5);
  EXPECT_EQ(window_->Tree().GetFocus(), Find(L"listex_install_driver_port"));
  std::vector<std::wstring> order;
  for (int i = 0; i < 12; ++i) {
    Key(ui::kVkTab);
    const ui::Control* focus = window_->Tree().GetFocus();
    order.push_back(focus ? focus->GetName() : L"");
  }
  EXPECT_EQ(order, (std::vector<std::wstring>{L"btn_port_add", L"btn_port_delete", L"btn_port_configure",
                                              L"btn_setup_previous", L"btn_setup_next", L"btn_setup_cancel", L"btnLan",
                                              L"btnAbout", L"minbtn", L"closebtn", L"listex_install_driver_port",
                                              L"btn_port_add"}));
  EXPECT_TRUE(window_->Tree().IsFocusVisible());
}
