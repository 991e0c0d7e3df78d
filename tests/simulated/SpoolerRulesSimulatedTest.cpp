// Behaviour of Windows that the simulated machine models and Wine cannot show: version
// answers, the x86 layout, the monitors' dialogs, the Standard TCP/IP monitor's status,
// error texts, and delays that tests do not sit through.
#include <gtest/gtest.h>

#include <chrono>

#include "engine/spooler/DriverEnvironment.h"
#include "engine/spooler/FileOperations.h"
#include "engine/spooler/ShellCommands.h"
#include "engine/spooler/SpoolerOperations.h"
#include "engine/spooler/SystemOperations.h"
#include "engine/spooler/TcpIpPortData.h"
#include "shell/Languages.h"
#include "simulated/SimulatedMachine.h"

namespace {

SimulatedMachine& Machine() {
  return *SimulatedMachine::Current();
}

const SimulatedPort* FindPort(const MachineState& state, const std::wstring& name) {
  return state.ports.Find(name);
}

TEST(SpoolerRules, Version62OrLaterComparesTheMajorVersionFirst) {
  const struct {
    uint32_t major, minor;
    bool later;
  } versions[] = {{5, 1, false}, {6, 1, false}, {6, 2, true}, {6, 3, true}, {10, 0, true}, {11, 0, true}};
  for (const auto& version : versions) {
    Machine().SetWindowsVersion(version.major, version.minor, 0);
    EXPECT_EQ(IsVersion62OrLater(), version.later) << version.major << "." << version.minor;
  }
  ASSERT_TRUE(Machine().InjectFault("GetVersionExW", 5, FaultMode::Once));
  EXPECT_TRUE(IsVersion62OrLater()) << "an unknown version counts as later";
}

TEST(SpoolerRules, BeforeVistaDriversAreListedWithoutInfPaths) {
  Machine().SetWindowsVersion(5, 1, 2600);
  std::vector<SpoolerEntry> drivers, printers;
  ListDrivers(drivers, kEnvironmentX64);
  ListPrinters(printers, kEnvironmentX64);
  ASSERT_FALSE(drivers.empty());
  ASSERT_FALSE(printers.empty());
  for (const auto& entry : drivers) EXPECT_EQ(entry.infPath, L"") << "level 6 has no INF path";
  for (const auto& entry : printers) EXPECT_EQ(entry.infPath, L"");
  Machine().SetWindowsVersion(10, 0, 19045);
  ListDrivers(drivers, kEnvironmentX64);
  EXPECT_NE(drivers.front().infPath, L"");
}

TEST(SpoolerRules, A32BitWindowsHasItsOwnDriverAndProgramFolders) {
  EXPECT_TRUE(Is64BitWindows());
  EXPECT_EQ(GetDriverDirectory(kEnvironmentX64).ValueOr(L""), L"C:\\Windows\\System32\\spool\\drivers\\x64\\");
  EXPECT_EQ(ProgramFilesFolder(), L"C:\\Program Files (x86)");
  Machine().SetX64(false);
  EXPECT_FALSE(Is64BitWindows());
  EXPECT_EQ(GetDriverDirectory().ValueOr(L""), L"C:\\Windows\\System32\\spool\\drivers\\W32X86\\");
  EXPECT_EQ(ProgramFilesFolder(), L"C:\\Program Files");
}

TEST(SpoolerRules, ErrorTextsInEnglishAndChineseWithAFallback) {
  const uint16_t before = MessageLanguageId();
  SetMessageLanguageId(0x0409);
  EXPECT_EQ(FormatSystemError(1801), L"Code: 1801 - The printer name is invalid.\r\n");
  EXPECT_EQ(FormatSystemError(3001), L"Code: 3001 - The specified printer driver is currently in use.\r\n");
  EXPECT_EQ(FormatSystemError(1460).rfind(L"Code: 1460 - ", 0), 0u);
  EXPECT_EQ(FormatSystemError(4242), L"Code: 4242 - The operation failed with system error 4242.\r\n");
  SetMessageLanguageId(0x0804);
  EXPECT_EQ(FormatSystemError(1797), L"Code: 1797 - 打印机驱动程序未知。\r\n");
  // Japanese has no texts on this machine: its own UI language (Chinese here) answers.
  Machine().SetUiLanguage(0x0804);
  SetMessageLanguageId(0x0411);
  EXPECT_EQ(FormatSystemError(1223), L"Code: 1223 - 操作已被用户取消。\r\n");
  EXPECT_EQ(FormatSystemError(70000), L"");
  SetMessageLanguageId(before);
}

TEST(SpoolerRules, StandardTcpIpPortKeepsItsHostAndTheMonitorsStatusIsTheResult) {
  ASSERT_TRUE(AddStandardTcpIpPort(L"192.168.1.100", L"192.168.1.100"));
  const MachineState state = Machine().Snapshot();
  const SimulatedPort* port = FindPort(state, L"192.168.1.100");
  ASSERT_NE(port, nullptr);
  EXPECT_EQ(port->hostAddress, L"192.168.1.100");
  EXPECT_EQ(port->portNumber, 9100u);
  EXPECT_EQ(port->protocol, 1u);
  EXPECT_EQ(AddStandardTcpIpPort(L"192.168.1.100", L"192.168.1.100").Error(), 183u)
      << "the monitor's status is the error";

  const std::wstring longest(kMaxTcpIpPortName, L'n');
  EXPECT_TRUE(AddStandardTcpIpPort(longest, L"255.255.255.255"));
  EXPECT_FALSE(AddStandardTcpIpPort(longest + L"n", L"10.0.0.1"));

  Machine().RemoveMonitor(L"Standard TCP/IP Port");
  EXPECT_EQ(AddStandardTcpIpPort(L"IP_10.0.0.2", L"10.0.0.2").Error(), 1796u);
}

TEST(SpoolerRules, MonitorDialogsAnswerAsTheUserDid) {
  std::wstring error;
  Machine().AddDialogAnswer({true, L"C:\\out\\label.prn", L""});
  EXPECT_TRUE(AddPortThroughMonitor(L"Local Port", nullptr, error));
  EXPECT_TRUE(PortExists(L"C:\\out\\label.prn"));

  EXPECT_FALSE(AddPortThroughMonitor(L"Local Port", nullptr, error)) << "no answer: the user cancels";
  EXPECT_EQ(error, L"Code: 1223 - The operation was canceled by the user.\r\n");

  Machine().AddDialogAnswer({true, L"", L"10.1.1.9"});
  EXPECT_TRUE(AddPortThroughMonitor(L"Standard TCP/IP Port", nullptr, error));
  EXPECT_TRUE(PortExists(L"IP_10.1.1.9"));

  EXPECT_FALSE(AddPortThroughMonitor(L"WSD Port", nullptr, error));
  EXPECT_EQ(error.rfind(L"Code: 50 - ", 0), 0u);

  EXPECT_TRUE(ConfigurePortByName(L"COM2:", nullptr));
  Machine().AddDialogAnswer({false, L"", L""});
  EXPECT_EQ(ConfigurePortByName(L"COM2:", nullptr).Error(), 1223u);
  EXPECT_EQ(ConfigurePortByName(L"COM9:", nullptr).Error(), 1796u);
}

TEST(SpoolerRules, PortsAndDriversInUseStay) {
  std::wstring error;
  EXPECT_FALSE(DeletePortByName(L"PORTPROMPT:", nullptr, error));
  EXPECT_EQ(error.rfind(L"Code: 170 - ", 0), 0u) << "the PDF printer prints to it";
  EXPECT_FALSE(DeletePortByName(L"COM9:", nullptr, error));
  EXPECT_EQ(error.rfind(L"Code: 1796 - ", 0), 0u);
  // In-box drivers of version 4 are not found as version 3.
  EXPECT_EQ(DeletePrinterDriverVersion3(L"Microsoft Print To PDF").Error(), 1797u);
}

TEST(SpoolerRules, DelaysAreRecordedButNotSleptInTests) {
  const uint64_t before = Machine().RequestedDelayMs();
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 41; ++i) SleepMs(250);
  SleepExMs(1000, true);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  EXPECT_EQ(Machine().RequestedDelayMs() - before, 41u * 250 + 1000);
}

TEST(SpoolerRules, DeviceWritesReachTheDevice) {
  const std::wstring device = L"\\\\?\\usb#vid_0483&pid_5720#a4#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
  Machine().AddDevice(device);
  const uint8_t bytes[] = {'S', 'E', 'L', 'F', 'T', 'E', 'S', 'T'};
  EXPECT_TRUE(WriteDeviceBytes(device, bytes, sizeof bytes));
  EXPECT_EQ(Machine().DeviceBytes(device), std::vector<uint8_t>(bytes, bytes + sizeof bytes));
  ASSERT_TRUE(Machine().InjectFault("WriteFileEx", 31, FaultMode::Once));
  EXPECT_FALSE(WriteDeviceBytes(device, bytes, sizeof bytes));
}

TEST(SpoolerRules, NoMachineIsLikeNoSpooler) {
  const auto machine = SimulatedMachine::Current();
  SimulatedMachine::Install(nullptr);
  std::vector<SpoolerEntry> printers{{L"stale", L"", L""}};
  ListPrinters(printers);
  EXPECT_TRUE(printers.empty());
  EXPECT_FALSE(PortExists(L"COM1:"));
  EXPECT_EQ(DeletePrinterByName(L"Microsoft Print to PDF").Error(), 1722u);
  SimulatedMachine::Install(machine);
}

}  // namespace
