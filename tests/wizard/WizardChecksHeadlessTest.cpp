// The install wizard where a user could be trapped or misled: an empty search, names the
// spooler would refuse, another kind's port on the network page, check lines that outlive
// their panel or speak the wrong language, and a run that gets no thread.
#include <string>

#include "InstallWizardHarness.h"
#include "engine/spooler/SpoolerOperations.h"
#include "shell/ProgramMessageBox.h"
#include "ui/controls/RichEdit.h"
#include "wizard/WorkerThread.h"

using wizardtest::InstallWizard;

namespace {

constexpr const wchar_t* kPortLine = L"label_show_lanPort_info";
constexpr const wchar_t* kNameLine = L"label_show_printername_info";

// Every start of a worker fails while one lives.
struct NoThreads {
  NoThreads() { WorkerThreadsRefused() = true; }
  ~NoThreads() { WorkerThreadsRefused() = false; }
};

}  // namespace

TEST_F(InstallWizard, AnEmptyBluetoothSearchSaysWhatToCheckAndBackLeadsToThePortKinds) {
  Machine().Devices().SetAdapter(SimulatedAdapter::On);
  Open();
  Next();
  ASSERT_TRUE(Click(L"option_port_bluetooth"));
  Next();  // the search
  WaitForPanel(3);
  ASSERT_EQ(Find<ui::List>(L"listex_install_show_blue")->GetRowCount(), 0);
  EXPECT_FALSE(Find(L"btn_setup_next")->IsVisible());
  EXPECT_TRUE(Find(L"label_install_blue_none")->IsShownInTree());
  EXPECT_EQ(Find(L"label_install_blue_none")->GetText(),
            L"No Bluetooth printer was found. Check that the printer is switched on, within range and discoverable, "
            L"then press Back and Next to search again.");
  Back();
  EXPECT_EQ(InstallPanel(), 0);
  EXPECT_EQ(Context().position, 0);
  EXPECT_TRUE(Find<ui::Option>(L"option_port_bluetooth")->IsSelected());

  // A printer in range now: Next searches again and the line is gone.
  Machine().Devices().AddBluetoothDevice({L"QV-A4", 0x1122AABBCCDD, 0x040680, false, L"9371", false, L""});
  Next();
  WaitForPanel(3);
  EXPECT_EQ(Find<ui::List>(L"listex_install_show_blue")->GetRowCount(), 1);
  EXPECT_FALSE(Find(L"label_install_blue_none")->IsVisible());
}

TEST_F(InstallWizard, TheNetworkPageShowsOnlyANetworkPortNameThatFollowsTheAddressUntilTyped) {
  ASSERT_TRUE(AddStandardTcpIpPort(L"10.0.0.6", L"10.0.0.6"));
  Open();
  GoTo(L"option_port_net", 6);
  // A refused address leaves its line; the next visit starts without it.
  TypeInto(L"edit_install_lan_ip", L"10.0.0");
  Next();
  EXPECT_EQ(Find(kPortLine)->GetText(), L"The IP address is not valid");
  TypeInto(L"edit_install_lan_ip", L"192.168.1.100");
  Back();
  Back();
  // COM with COM3: chosen, then the network page again.
  GoTo(L"option_port_com", 5);
  ASSERT_TRUE(ClickRow(L"listex_install_driver_port", 2));
  ASSERT_EQ(Request().portName, L"COM3:");
  Back();
  Back();
  GoTo(L"option_port_net", 6);
  EXPECT_EQ(Find(kPortLine)->GetText(), L"");
  EXPECT_EQ(Find(L"edit_install_lan_portName")->GetText(), L"192.168.1.100");
  EXPECT_EQ(Request().portName, L"192.168.1.100");

  // Untouched, the port name follows the address as typed, with the proposal's rule.
  TypeInto(L"edit_install_lan_ip", L"10.0.0.6");
  EXPECT_EQ(Find(L"edit_install_lan_portName")->GetText(), L"10.0.0.6_1");
  EXPECT_EQ(Request().portName, L"10.0.0.6_1");
  // Typed, it stays.
  TypeInto(L"edit_install_lan_portName", L"Dock");
  TypeInto(L"edit_install_lan_ip", L"10.0.0.8");
  EXPECT_EQ(Find(L"edit_install_lan_portName")->GetText(), L"Dock");
  Next();
  ASSERT_EQ(InstallPanel(), 7);
  Next();
  EXPECT_EQ(Find(L"label_ready_portName")->GetText(), L"Dock");
  Back();
  Back();
  EXPECT_EQ(Find(L"edit_install_lan_ip")->GetText(), L"10.0.0.8");
  EXPECT_EQ(Find(L"edit_install_lan_portName")->GetText(), L"Dock");
}

TEST_F(InstallWizard, NamesTheSpoolerWouldRefuseAreRefusedOnTheirPage) {
  Open();
  GoTo(L"option_port_net", 6);
  const std::vector<std::pair<std::wstring, std::wstring>> ports{
      {L"", L"Enter a name for the port"},
      {std::wstring(64, L'n'), L"The port name is too long: at most 63 characters"},
  };
  for (const auto& [name, line] : ports) {
    TypeInto(L"edit_install_lan_portName", name);
    Next();
    EXPECT_EQ(InstallPanel(), 6) << name.size();
    EXPECT_EQ(Find(kPortLine)->GetText(), line);
    EXPECT_TRUE(Find(L"edit_install_lan_portName")->IsFocused());
  }
  TypeInto(L"edit_install_lan_portName", std::wstring(63, L'n'));
  Next();
  ASSERT_EQ(InstallPanel(), 7);

  const std::wstring badCharacter =
      L"The printer name must not contain a backslash (\\), a comma (,) or a double quote (\")";
  const std::vector<std::pair<std::wstring, std::wstring>> printers{
      {L"", L"Enter a name for the printer"},
      {std::wstring(221, L'p'), L"The printer name is too long: at most 220 characters"},
      {L"Front\\desk", badCharacter},
      {L"Front, desk", badCharacter},
      {L"Front\" /x", badCharacter},
  };
  for (const auto& [name, line] : printers) {
    TypeInto(L"edit_install_printer_name", name);
    Next();
    EXPECT_EQ(InstallPanel(), 7) << WideToUtf8(name);
    EXPECT_EQ(Find(kNameLine)->GetText(), line);
  }
  TypeInto(L"edit_install_printer_name", std::wstring(220, L'p'));
  Next();
  EXPECT_EQ(InstallPanel(), 8);
}

TEST_F(InstallWizard, DeleteAndConfigureWithNoPortChosenAskToChooseOne) {
  ASSERT_TRUE(Machine().DeletePort(L"COM1:"));
  Open();
  GoTo(L"option_port_com", 5);
  ASSERT_EQ(Selected(L"listex_install_driver_port"), -1);
  const size_t windows = host_->Windows().size();
  for (const wchar_t* button : {L"btn_port_delete", L"btn_port_configure"}) {
    const size_t boxes = host_->MessageBoxes().size();
    ASSERT_TRUE(Click(button));
    ASSERT_EQ(host_->MessageBoxes().size(), boxes + 1) << "one notice, no question";
    ExpectProgramBox(host_->MessageBoxes().back(), L"Select an existing printer port", 0x40u);
    EXPECT_EQ(host_->Windows().size(), windows) << "no monitor dialog";
  }
  EXPECT_EQ(RowTexts(L"listex_install_driver_port", 1), (std::vector<std::wstring>{L"COM2:", L"COM3:", L"COM4:"}));
}

TEST_F(InstallWizard, ChecksSpeakTheInterfacesLanguageAndChineseKeepsItsTexts) {
  Open(2052);
  GoTo(L"option_port_net", 6);
  TypeInto(L"edit_install_lan_ip", L"1.2.3.400");
  Next();
  EXPECT_EQ(Find(kPortLine)->GetText(), L"IP地址无效");
  TypeInto(L"edit_install_lan_ip", L"1.2.3.4");
  TypeInto(L"edit_install_lan_portName", L"COM1:");
  Next();
  EXPECT_EQ(Find(kPortLine)->GetText(), L"端口已存在，请重新输入");
  TypeInto(L"edit_install_lan_portName", L"P1");
  Next();
  Next();
  EXPECT_EQ(Find(kNameLine)->GetText(), L"打印机名称:QuorvelA4-300 可以使用");
  AddPrinterNamed(L"QuorvelA4-300");
  Back();
  Next();
  EXPECT_EQ(Find(kNameLine)->GetText(), L"打印机名称:QuorvelA4-300 (1) 可以使用");
  Back();
  TypeInto(L"edit_install_printer_name", L"QuorvelA4-300");
  Next();
  EXPECT_EQ(Find(kNameLine)->GetText(), L"*打印机名称:QuorvelA4-300 不可以使用，请更换名称");

  // Thai, after a switch of the language.
  ui::ResourceManager::Instance().LoadLanguage(L"lan_th.xml");
  ui::ResourceManager::Instance().LoadLanguage(L"lan_th_ext.xml");
  Next();
  EXPECT_EQ(Find(kNameLine)->GetText(), L"*ชื่อเครื่องพิมพ์: QuorvelA4-300 ใช้ไม่ได้ โปรดเลือกชื่ออื่น");
  ui::ResourceManager::Instance().LoadLanguage(L"lan_en.xml");
  ui::ResourceManager::Instance().LoadLanguage(L"lan_en_ext.xml");
}

TEST_F(InstallWizard, AnInstallationWithoutAThreadGivesTheButtonsAndTheLockBack) {
  Open();
  GoTo(L"option_port_com", 8);
  {
    const NoThreads noThreads;
    Next();  // no exception leaves the button's handler
  }
  EXPECT_EQ(InstallPanel(), 9);
  const std::wstring log = Find<ui::RichEdit>(L"wordedit_installInfo")->GetText();
  EXPECT_NE(log.find(L"The run could not be started"), std::wstring::npos) << WideToUtf8(log);
  EXPECT_TRUE(Find(L"hor_btn_h2")->IsVisible());
  EXPECT_TRUE(Find(L"btn_setup_previous")->IsShownInTree());
  EXPECT_FALSE(Find(L"btn_setup_next")->IsVisible());
  EXPECT_TRUE(InstallationLock::TryAcquire().Held());
  EXPECT_FALSE(PrinterNameExists(L"QuorvelA4-300"));

  // Back to the summary, and this time the run starts.
  Back();
  ASSERT_EQ(InstallPanel(), 8);
  Next();
  WaitForRunToEnd();
  EXPECT_TRUE(PrinterNameExists(L"QuorvelA4-300"));
}
