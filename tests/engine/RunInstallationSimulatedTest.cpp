// The installation worker on the simulated machine, reporting to a headless main window:
// the exact log of each kind of run, every row of the failure table made to happen by
// fault injection, and the finish that follows.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/WideText.h"
#include "engine/DriverModelRecord.h"
#include "engine/RunInstallation.h"
#include "engine/SpoolerMethod.h"
#include "engine/spooler/DriverEnvironment.h"
#include "engine/spooler/FileOperations.h"
#include "engine/spooler/SpoolerOperations.h"
#include "engine/spooler/SystemOperations.h"
#include "shell/EmbeddedPackage.h"
#include "shell/HeadlessMainWindow.h"
#include "shell/Languages.h"
#include "shell/ProgramMessageBox.h"
#include "shell/app/MainWnd.h"
#include "simulated/SimulatedMachine.h"
#include "ui/controls/RichEdit.h"
#include "ui/core/ResourceManager.h"
#include "ui/core/SystemConstants.h"
#include "ui/core/WindowTree.h"
#include "ui/headless/HostHeadless.h"
#include "wizard/InstallationStart.h"
#include "wizard/WizardContext.h"

namespace {

SimulatedMachine& Machine() {
  return *SimulatedMachine::Current();
}

const std::wstring kPrinter = L"Quorvel-A4(203)";

class Installation : public HeadlessMainWindow {
 protected:
  void SetUp() override {
    HeadlessMainWindow::SetUp();
    ASSERT_NE(OpenMainWindow(1033), nullptr);

    inputs_.mainWindow = window_->GetHWND();
    inputs_.request.portKind = PortKind::Com;
    inputs_.request.portName = L"COM1:";
    inputs_.request.modelIndex = 0;
    inputs_.request.printerName = kPrinter;
    inputs_.request.setAsDefault = 1;
    inputs_.model = BuildDriverModelRecords()[0];
  }

  // The run on this thread: its lines reach the window at once. Its test page opens the
  // applet's confirmation, modal on this thread: it is answered as a user would.
  InstallResult Run() {
    host_->QueueIdleAction([this] {
      for (ui::WindowHandle handle : host_->Windows()) host_->ClickControl(handle, L"btn_printui_ok");
    });
    InstallResult result;
    RunInstallation(inputs_, result);
    return result;
  }

  // The install pane, one entry per line, time prefixes removed; errors marked "!".
  std::vector<std::wstring> Log() {
    auto* pane = window_->FindControl<ui::RichEdit>(L"wordedit_installInfo");
    const std::wstring text = pane->GetText();
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start < text.size()) {
      const size_t end = text.find(L"\r\n", start);
      const std::wstring line = text.substr(start, end - start);
      const bool red = pane->ColorAt(start) == 0xFFFF0000u;
      lines.push_back((red ? L"!" : L"") +
                      (line.size() >= 15 && line.substr(12, 3) == L" : " ? line.substr(15) : line));
      start = end == std::wstring::npos ? text.size() : end + 2;
    }
    return lines;
  }

  std::vector<std::wstring> Texts(std::initializer_list<const wchar_t*> keys) {
    std::vector<std::wstring> lines;
    for (const wchar_t* key : keys) lines.push_back(key[0] == L'!' ? L"!" + ui::GetText(key + 1) : ui::GetText(key));
    return lines;
  }

  static std::vector<std::wstring> Cat(std::vector<std::wstring> a, const std::vector<std::wstring>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  }

  std::vector<std::wstring> SpoolerMethodLines() {
    return Texts(
        {L"tip.startcopyfile", L"tip.copyfilesuccess", L"tip.startinstalldriver", L"tip.installdriversuccess"});
  }
  std::vector<std::wstring> PrinterLines() { return Texts({L"tip.startinstallprinter", L"tip.installprintersuccess"}); }

  // The system's error text ends with its own line break, so such a line is followed by
  // an empty red one.
  static std::wstring Err(const wchar_t* key, uint32_t code) { return L"!" + Note(key, code); }
  // The same as a plain line: a failure that the install folder method makes good.
  static std::wstring Note(const wchar_t* key, uint32_t code) {
    return FormatText(ui::GetText(key), FormatSystemError(code));
  }
  // The pane holds the expected lines; one that holds a line break is two of its colour.
  void ExpectLog(const std::vector<std::wstring>& expected) {
    std::vector<std::wstring> lines;
    for (const auto& line : expected) {
      const size_t cut = line.find(L"\r\n");
      if (cut == std::wstring::npos) {
        lines.push_back(line);
        continue;
      }
      lines.push_back(line.substr(0, cut));
      lines.push_back(line[0] == L'!' ? L"!" : L"");
    }
    EXPECT_EQ(Log(), lines);
  }

  bool PrinterOn(const std::wstring& port) {
    const MachineState state = Machine().Snapshot();
    const auto it = state.printers.find(ToLowerUnits(kPrinter));
    return it != state.printers.end() && it->second.port == port;
  }

  InstallationInputs inputs_;
};

TEST_F(Installation, AComInstallationLogsEachStepAndLeavesDriverPrinterDefaultAndTestPage) {
  // Something in the pane from before: the run starts by clearing it.
  window_->FindControl<ui::RichEdit>(L"wordedit_installInfo")->AppendText(L"old line\r\n");
  const InstallResult result = Run();
  EXPECT_TRUE(result.succeeded);
  EXPECT_FALSE(result.networkPortCreated);
  ExpectLog(Cat(SpoolerMethodLines(), PrinterLines()));
  EXPECT_EQ(Log()[0], L"Start copying the file...");

  EXPECT_TRUE(PrinterOn(L"COM1:"));
  EXPECT_EQ(Machine().DefaultPrinter(), kPrinter);
  EXPECT_EQ(Machine().Snapshot().printers.at(ToLowerUnits(kPrinter)).jobs, std::vector<std::wstring>{L"Test Page"});
  // The 64-bit driver in the 64-bit folder, registered for the system's environment.
  const MachineState state = Machine().Snapshot();
  const auto driver = state.drivers.find(DriverKey(kEnvironmentX64, L"QuorvelA4-203"));
  ASSERT_NE(driver, state.drivers.end());
  EXPECT_EQ(driver->second.dependentFiles, (std::vector<std::wstring>{L"QuorvelA4UI203.dll", L"QuorvelA4UNI203.dll",
                                                                      L"QuorvelA4203.pcd", L"plotuia4.hlp"}));
  const auto installed = Machine().HostPath(L"C:\\Windows\\System32\\spool\\drivers\\x64\\3\\QuorvelA4UNI203.dll");
  ASSERT_TRUE(installed);
  EXPECT_EQ(std::filesystem::file_size(*installed), 88576u) << "the 64-bit rendering plug-in";
  EXPECT_FALSE(DriverInstalled(L"QuorvelA4-203")) << "no x86 driver was registered";
}

TEST_F(Installation, WithoutTheEnvironmentTheDriverWouldBeX86AndUnusableForAPrinter) {
  // What the registration does when it names no environment: the 32-bit caller's.
  DependentFileList files;
  ASSERT_TRUE(
      CopySpoolerFiles(SpoolerFileList(*inputs_.model, true), GetDriverDirectory().ValueOr(L""), files).empty());
  ASSERT_TRUE(AddPrinterDriverLevel6(DriverRegistration(*inputs_.model, L"", files)));
  EXPECT_TRUE(DriverInstalled(inputs_.model->driverName));
  EXPECT_FALSE(DriverInstalled(inputs_.model->driverName, kEnvironmentX64));
  EXPECT_EQ(AddPrinterLevel2({kPrinter, L"COM1:", inputs_.model->driverName, L"WinPrint", 0x40}).Error(), 1797u);
  // The worker names the system's environment and succeeds on the same machine.
  EXPECT_TRUE(Run().succeeded);
}

TEST_F(Installation, On32BitWindowsThe32BitFilesGoToTheX86Folder) {
  Machine().SetX64(false);
  EXPECT_TRUE(Run().succeeded);
  const auto installed = Machine().HostPath(L"C:\\Windows\\System32\\spool\\drivers\\W32X86\\3\\QuorvelA4UNI203.dll");
  ASSERT_TRUE(installed && std::filesystem::exists(*installed));
  EXPECT_EQ(std::filesystem::file_size(*installed), 74752u);
  EXPECT_TRUE(DriverInstalled(L"QuorvelA4-203"));
}

TEST_F(Installation, TheDefaultPrinterChangesOnlyWhenTheFlagIsExactlyOne) {
  for (int flag : {-1, 0, 2}) {
    inputs_.request.setAsDefault = flag;
    inputs_.request.printerName = kPrinter + L" " + std::to_wstring(flag);
    ASSERT_TRUE(Run().succeeded);
    EXPECT_EQ(Machine().DefaultPrinter(), L"Microsoft Print to PDF") << flag;
  }
}

TEST_F(Installation, ANetworkInstallationAddsItsPortFirst) {
  inputs_.request.portKind = PortKind::Network;
  inputs_.request.portName = L"IP_10.0.0.7";
  inputs_.request.ipAddress = L"10.0.0.7";
  const InstallResult result = Run();
  EXPECT_TRUE(result.succeeded);
  EXPECT_TRUE(result.networkPortCreated);
  ExpectLog(Cat(Cat(Texts({L"tip.startaddlanport", L"tip.addlanportsuccess"}), SpoolerMethodLines()), PrinterLines()));
  EXPECT_TRUE(PrinterOn(L"IP_10.0.0.7"));
}

TEST_F(Installation, ANetworkPortThatCannotBeAddedEndsTheRun) {
  inputs_.request.portKind = PortKind::Network;
  inputs_.request.portName = L"IP_10.0.0.7";
  inputs_.request.ipAddress = L"10.0.0.7";
  Machine().RemoveMonitor(L"Standard TCP/IP Port");
  const InstallResult result = Run();
  EXPECT_FALSE(result.succeeded);
  EXPECT_FALSE(result.networkPortCreated);
  ExpectLog(Texts({L"tip.startaddlanport", L"!tip.addlanportfail"}));
  EXPECT_FALSE(DriverInstalled(L"QuorvelA4-203", kEnvironmentX64));
}

// The Bluetooth calls stand in for a printer: how often each was made, what they answer.
struct FakeBluetooth {
  bool pairs = true;
  int serviceRetries = 0;  // Retry answers before Done
  int missesBeforePort = 0;
  int enableCalls = 0, findCalls = 0;
  std::wstring askedAddress, registeredPort, pin;

  BluetoothPortCalls Calls() {
    BluetoothPortCalls calls;
    calls.pair = [this](BluetoothDeviceRecord, const std::wstring& code, std::wstring&) {
      pin = code;
      return pairs;
    };
    calls.enableSerialService = [this](const BluetoothDeviceRecord&) {
      return ++enableCalls > serviceRetries ? ServiceStateAttempt::Done : ServiceStateAttempt::Retry;
    };
    calls.findSerialPort = [this](const std::wstring& address, std::wstring& port) {
      askedAddress = address;
      if (++findCalls <= missesBeforePort) return false;
      port = L"COM7";
      return true;
    };
    calls.registerSerialService = [this](const BluetoothDeviceRecord&, const std::wstring& port) {
      registeredPort = port;
    };
    return calls;
  }
};

class BluetoothInstallation : public Installation {
 protected:
  void SetUp() override {
    Installation::SetUp();
    inputs_.request.portKind = PortKind::Bluetooth;
    inputs_.request.portName.clear();
    inputs_.request.pin = L"1234";
    BluetoothDeviceRecord device;
    device.address = 0x001B10A0B1C2ull;
    inputs_.bluetoothDevice = device;
    // The serial port the system gives the paired printer.
    ASSERT_EQ(XcvAddPort(L"Local Port", PortNameBytes(L"COM7:")).Error(), 0u);
  }
  static std::vector<uint8_t> PortNameBytes(const std::wstring& name) {
    std::vector<uint8_t> bytes;
    for (wchar_t c : name + L'\0') {
      bytes.push_back(static_cast<uint8_t>(c & 0xFF));
      bytes.push_back(static_cast<uint8_t>(c >> 8));
    }
    return bytes;
  }
  FakeBluetooth bluetooth_;
};

TEST_F(BluetoothInstallation, PairsRetriesAndInstallsOnTheSerialPortWithItsColon) {
  bluetooth_.serviceRetries = 3;
  bluetooth_.missesBeforePort = 5;
  inputs_.bluetooth = bluetooth_.Calls();
  const InstallResult result = Run();
  EXPECT_TRUE(result.succeeded);
  EXPECT_EQ(result.bluetoothPortName, L"COM7:");
  std::vector<std::wstring> expected = Texts({L"tip.startpairbluetooth", L"tip.pairbluetoothsuccess"});
  expected.push_back(FormatText(ui::GetText(L"tip.readbluetoothserialport"), L"COM7:"));
  ExpectLog(Cat(Cat(expected, SpoolerMethodLines()), PrinterLines()));
  EXPECT_EQ(Log()[2], L"The read serial port is: COM7:");
  EXPECT_EQ(bluetooth_.pin, L"1234");
  EXPECT_EQ(bluetooth_.enableCalls, 4);
  EXPECT_EQ(bluetooth_.findCalls, 6);
  EXPECT_EQ(bluetooth_.askedAddress, L"001B10A0B1C2");
  EXPECT_EQ(bluetooth_.registeredPort, L"") << "the spooler knows COM7: already";
  EXPECT_TRUE(PrinterOn(L"COM7:"));
}

TEST_F(BluetoothInstallation, RefusedPairingNamesThePin) {
  bluetooth_.pairs = false;
  inputs_.bluetooth = bluetooth_.Calls();
  EXPECT_FALSE(Run().succeeded);
  ExpectLog((std::vector<std::wstring>{ui::GetText(L"tip.startpairbluetooth"),
                                       L"!" + FormatText(ui::GetText(L"tip.pairbluetoothfailpinis"), L"1234")}));
  EXPECT_EQ(bluetooth_.enableCalls, 0);
}

TEST_F(BluetoothInstallation, NoSerialPortAfter41TriesEndsTheRunAndAServiceThatNeverEnablesDoesNot) {
  bluetooth_.serviceRetries = 1000;
  bluetooth_.missesBeforePort = 1000;
  inputs_.bluetooth = bluetooth_.Calls();
  const uint64_t slept = Machine().RequestedDelayMs();
  EXPECT_FALSE(Run().succeeded);
  EXPECT_EQ(bluetooth_.enableCalls, 41);
  EXPECT_EQ(bluetooth_.findCalls, 41);
  EXPECT_EQ(Machine().RequestedDelayMs() - slept, 2u * 40 * 250) << "250 ms between attempts";
  ExpectLog(Texts({L"tip.startpairbluetooth", L"tip.pairbluetoothsuccess", L"!tip.getbluetoothserialportfail"}));
}

TEST_F(BluetoothInstallation, AnUnknownSerialPortIsRegisteredAsAServiceWithoutItsColon) {
  std::wstring error;
  ASSERT_TRUE(DeletePortByName(L"COM7:", nullptr, error));
  inputs_.bluetooth = bluetooth_.Calls();
  const InstallResult result = Run();
  EXPECT_EQ(bluetooth_.registeredPort, L"COM7");
  // The port stays unknown to the spooler: the printer step fails and says why.
  EXPECT_FALSE(result.succeeded);
  ASSERT_EQ(host_->MessageBoxes().size(), 1u);
  ExpectProgramBox(host_->MessageBoxes()[0], ui::GetText(L"tip.port.unidentification"), 0x40u);
  const std::vector<std::wstring> log = Log();
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[log.size() - 2] + L"\r\n", Err(L"tip.installprinterfail", 1796));
}

TEST_F(BluetoothInstallation, WithoutTheBluetoothLibraryTheServiceStepIsLeftAtOnce) {
  inputs_.bluetooth = bluetooth_.Calls();
  inputs_.bluetooth.enableSerialService = [this](const BluetoothDeviceRecord&) {
    ++bluetooth_.enableCalls;
    return ServiceStateAttempt::LibraryMissing;
  };
  EXPECT_TRUE(Run().succeeded);
  EXPECT_EQ(bluetooth_.enableCalls, 1);
}

TEST_F(Installation, AnUnknownDriverDirectoryFallsBackToTheInstallFolder) {
  ASSERT_TRUE(Machine().InjectFault("GetPrinterDriverDirectoryW", 5, FaultMode::Once));
  EXPECT_TRUE(Run().succeeded);
  std::vector<std::wstring> expected{Note(L"tip.readdriverdirfail", 5)};
  ExpectLog(Cat(Cat(expected, SpoolerMethodLines()), PrinterLines()));
  EXPECT_EQ(Log()[0], L"Failed to read the driver file directory: Code: 5 - Access is denied.");
  EXPECT_EQ(Log()[1], L"");
  // The applet was run from the 64-bit folder after the certificate was trusted.
  const auto events = Machine().ShellEvents();
  ASSERT_GE(events.size(), 3u);
  EXPECT_EQ(events[0].program, L"certutil.exe");
  EXPECT_EQ(events[0].parameters,
            L"-addstore \"TrustedPublisher\" \"C:\\Program Files (x86)\\PrinterDriver\\Vexlomar\\qmvt.cer\"");
  EXPECT_EQ(events[1].parameters,
            L"printui.dll, PrintUIEntry /ia /m \"QuorvelA4-203\" /f \"C:\\Program Files "
            L"(x86)\\PrinterDriver\\Vexlomar\\Driver64\\QuorvelA4.inf\"");
  EXPECT_EQ(Machine().Snapshot().trustedPublishers.size(), 1u);
}

TEST_F(Installation, BeforeWindows8TheCertificateIsNotInstalled) {
  Machine().SetWindowsVersion(6, 1, 7601);
  ASSERT_TRUE(Machine().InjectFault("AddPrinterDriverExW", 5, FaultMode::Once));
  EXPECT_TRUE(Run().succeeded);
  EXPECT_TRUE(Machine().Snapshot().trustedPublishers.empty());
}

// The failed copy is not followed by "The file is copied."; the registration names the
// missing file and is refused, and the FolderMethod takes over and succeeds: the run's
// log then holds no red line, as the console program's exit code 0 says.
TEST_F(Installation, ACopyFailureTheFolderMethodMakesGoodLeavesNoRedLineAndNoCopySuccess) {
  ASSERT_TRUE(Machine().InjectFault("CreateFileW", 5, FaultMode::Once));
  const InstallResult result = Run();
  EXPECT_TRUE(result.succeeded);
  std::vector<std::wstring> expected{ui::GetText(L"tip.startcopyfile"), L"driver\\a4\\Driver64\\QuorvelA4UI203.dll",
                                     Note(L"tip.copyfilefail", 5), ui::GetText(L"tip.startinstalldriver"),
                                     Note(L"tip.installdriverfail", 2)};
  ExpectLog(Cat(Cat(expected, SpoolerMethodLines()), PrinterLines()));
}

TEST_F(Installation, ARefusedRegistrationFallsBackAndAFolderThatCannotBeMadeStops) {
  ASSERT_TRUE(Machine().InjectFault("AddPrinterDriverExW", 5, FaultMode::Once));
  ASSERT_TRUE(Machine().InjectFault("CreateDirectoryA", 5, FaultMode::Always));
  const InstallResult result = Run();
  EXPECT_FALSE(result.succeeded);
  ExpectLog(Cat(Texts({L"tip.startcopyfile", L"tip.copyfilesuccess", L"tip.startinstalldriver"}),
                {Note(L"tip.installdriverfail", 5), L"!Failed to create directory"}));
}

TEST_F(Installation, ASubFolderThatCannotBeMadeStopsAfterTheCopyLine) {
  ASSERT_TRUE(Machine().InjectFault("GetPrinterDriverDirectoryW", 5, FaultMode::Once));
  // A file where the sub-folder belongs.
  ASSERT_EQ(CreateDirectoryPath(L"C:\\Program Files (x86)\\PrinterDriver\\Vexlomar"), 1);
  const uint8_t byte = 0;
  ASSERT_TRUE(WriteWholeFile(L"C:\\Program Files (x86)\\PrinterDriver\\Vexlomar\\Driver64", {&byte, 1}));
  EXPECT_FALSE(Run().succeeded);
  ExpectLog((std::vector<std::wstring>{Note(L"tip.readdriverdirfail", 5), ui::GetText(L"tip.startcopyfile"),
                                       L"!Failed to create directory"}));
}

TEST_F(Installation, AFileThatCannotBeExtractedStopsTheFolderMethod) {
  ASSERT_TRUE(Machine().InjectFault("GetPrinterDriverDirectoryW", 5, FaultMode::Once));
  ASSERT_TRUE(Machine().InjectFault("CreateFileW", 112, FaultMode::Once));
  EXPECT_FALSE(Run().succeeded);
  ExpectLog((std::vector<std::wstring>{Note(L"tip.readdriverdirfail", 5), ui::GetText(L"tip.startcopyfile"),
                                       Err(L"tip.copyfilefail", 112)}));
}

TEST_F(Installation, ADriverStillAbsentAfterTheAppletStops) {
  ASSERT_TRUE(Machine().InjectFault("GetPrinterDriverDirectoryW", 5, FaultMode::Once));
  ASSERT_TRUE(Machine().InjectFault("ShellExecuteExW", 2, FaultMode::Always));
  EXPECT_FALSE(Run().succeeded);
  ExpectLog(Cat({Note(L"tip.readdriverdirfail", 5)}, Texts({L"tip.startcopyfile", L"tip.copyfilesuccess",
                                                            L"tip.startinstalldriver", L"!tip.installdriverfail2"})));
}

TEST_F(Installation, APrinterOnAKnownPortThatFailsShowsNoBox) {
  ASSERT_TRUE(Machine().InjectFault("AddPrinterW", 1796, FaultMode::Once));
  EXPECT_FALSE(Run().succeeded);
  ExpectLog(Cat(SpoolerMethodLines(), {ui::GetText(L"tip.startinstallprinter"), Err(L"tip.installprinterfail", 1796)}));
  EXPECT_TRUE(host_->MessageBoxes().empty());
  EXPECT_EQ(Machine().DefaultPrinter(), L"Microsoft Print to PDF");
}

TEST_F(Installation, APrinterOnAnUnknownPortShowsTheBoxOwnedByTheMainWindow) {
  inputs_.request.portName = L"COM9:";
  host_->QueueMessageBoxAnswer(1);
  EXPECT_FALSE(Run().succeeded);
  ASSERT_EQ(host_->MessageBoxes().size(), 1u);
  EXPECT_EQ(host_->MessageBoxes()[0].owner, window_->GetHWND());
  ExpectProgramBox(host_->MessageBoxes()[0], ui::GetText(L"tip.port.unidentification"), 0x40u);
  ExpectLog(Cat(SpoolerMethodLines(), {ui::GetText(L"tip.startinstallprinter"), Err(L"tip.installprinterfail", 1796)}));
}

TEST_F(Installation, SharedFilesAlreadyInTheDriverFolderAreListedButNotCopiedAgain) {
  const std::wstring directory = GetDriverDirectory(kEnvironmentX64).ValueOr(L"");
  const uint8_t mine[] = {7, 7, 7};
  ASSERT_TRUE(WriteWholeFile(directory + L"UNIDRV.dll", mine));
  const std::vector<std::wstring> paths{L"driver\\common\\Driver64\\UNIDRV.dll",
                                        L"driver\\common\\Driver64\\UNIRES.dll", L"driver\\a4\\plotuia4.hlp"};
  DependentFileList files;
  EXPECT_TRUE(CopySpoolerFiles(paths, directory, files).empty());
  EXPECT_EQ(files.Units(), std::wstring(L"UNIDRV.dll\0UNIRES.dll\0plotuia4.hlp\0\0\0", 37));
  EXPECT_EQ(std::filesystem::file_size(*Machine().HostPath(directory + L"UNIDRV.dll")), 3u) << "kept";
  EXPECT_GT(std::filesystem::file_size(*Machine().HostPath(directory + L"UNIRES.dll")), 0u) << "absent, so copied";
}

TEST_F(Installation, AMissingPackageEntryIsStillListed) {
  DependentFileList files;
  const auto failures = CopySpoolerFiles({L"driver\\a4\\nothing.dll", L"driver\\a4\\plotuia4.hlp"},
                                         GetDriverDirectory(kEnvironmentX64).ValueOr(L""), files);
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].relativePath, L"driver\\a4\\nothing.dll");
  EXPECT_EQ(failures[0].error, 2u);
  EXPECT_EQ(files.Units(), std::wstring(L"nothing.dll\0plotuia4.hlp\0\0\0", 27));
}

TEST_F(Installation, TheFinishShowsTheButtonsAndClearsACreatedNetworkChoice) {
  WizardContext::Instance().shownPage = ShownPage::InstallWizard;  // the run's page
  auto& request = WizardContext::Instance().request;
  request.portName = L"IP_10.0.0.9";
  request.ipAddress = L"10.0.0.9";
  InstallResult result;
  result.networkPortCreated = true;
  FinishInstallation(window_->GetHWND(), result);
  EXPECT_EQ(request.portName, L"");
  EXPECT_EQ(request.ipAddress, L"");
  EXPECT_TRUE(window_->FindControl(L"hor_btn_h1")->IsVisible());
  EXPECT_FALSE(window_->FindControl(L"hor_btn_h2")->IsVisible());
  EXPECT_FALSE(window_->FindControl(L"btn_setup_testpage")->IsVisible());

  request.portName = L"LPT1:";
  result = {};
  result.succeeded = true;
  FinishInstallation(window_->GetHWND(), result);
  EXPECT_EQ(request.portName, L"LPT1:");
  EXPECT_TRUE(window_->FindControl(L"btn_setup_testpage")->IsVisible());
  EXPECT_TRUE(window_->FindControl(L"btn_setup_preferences")->IsVisible());
}

TEST_F(Installation, StartRunsTheWorkerOnItsOwnThreadAndEndsWithTheFinishRow) {
  auto& context = WizardContext::Instance();
  context.request = inputs_.request;
  context.shownPage = ShownPage::InstallWizard;
  ASSERT_TRUE(StartInstallation());
  EXPECT_TRUE(window_->FindControl(L"ani_gif_install")->IsVisible());
  EXPECT_FALSE(window_->FindControl(L"hor_btn_h2")->IsVisible());
  EXPECT_FALSE(window_->FindControl(L"hor_btn_h1")->IsVisible());
  // 758 is the worker's last message.
  auto* testPage = window_->FindControl(L"btn_setup_testpage");
  while (!testPage->IsVisible()) host_->RunUntilIdle();
  EXPECT_TRUE(window_->FindControl(L"hor_btn_h1")->IsVisible());
  EXPECT_FALSE(window_->FindControl(L"ani_gif_install")->IsVisible());
  ExpectLog(Cat(SpoolerMethodLines(), PrinterLines()));
}

}  // namespace

namespace {

TEST_F(Installation, TheLogIsInTheLanguageInUseWithTheSystemTextInIt) {
  ASSERT_TRUE(ui::ResourceManager::Instance().LoadLanguage(L"lan_cn.xml"));
  SetMessageLanguageId(0x0804);
  ASSERT_TRUE(Machine().InjectFault("GetPrinterDriverDirectoryW", 5, FaultMode::Once));
  EXPECT_TRUE(Run().succeeded);
  const std::vector<std::wstring> log = Log();
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log[0].rfind(L"读取驱动程序目录失败：Code: 5 - ", 0), 0u) << WideToUtf8(log[0]);
  EXPECT_NE(log[0], L"读取驱动程序目录失败：Code: 5 - Access is denied.") << "the system's Chinese text";
  EXPECT_EQ(log[2], L"开始复制文件...");
  ui::ResourceManager::Instance().LoadLanguage(L"lan_en.xml");
  SetMessageLanguageId(0x0409);
}

}  // namespace

// With protected print mode on, the run names the mode in red before the driver stage,
// then tries both methods as before and fails where Windows refuses the vendor driver.
TEST_F(Installation, ProtectedPrintModeIsNamedBeforeTheDriverStageAndTheRunStillTries) {
  Machine().SetProtectedPrintMode(true);
  const InstallResult result = Run();
  EXPECT_FALSE(result.succeeded);
  const auto log = Log();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log[0], L"!" + ui::GetText(L"protectedprint.installline"));
  EXPECT_NE(std::find(log.begin(), log.end(), Texts({L"tip.startcopyfile"})[0]), log.end())
      << "the spooler method still runs";
  EXPECT_FALSE(DriverInstalled(L"QuorvelA4-203", kEnvironmentX64));
}
