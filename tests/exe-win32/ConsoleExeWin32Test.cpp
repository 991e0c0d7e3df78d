// The console program as a deployment tool starts it: QuorvelSetupCli.exe, named by
// QUORVEL_CONSOLE_UNDER_TEST (a Windows path), with its output read from a pipe and its
// exit code checked, and the spooler looked at after each run through its own API.
#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "base/WideText.h"
#include "devices/RemovalTestSpooler.h"
#include "engine/spooler/InstallationLock.h"
#include "exe-win32/ConsoleRun.h"
#include "exe-win32/PlantedFolder.h"
#include "exe-win32/SpoolerView.h"
#include "shell/console/ConsoleProgram.h"

namespace {

using namespace exetest;

class ConsoleExe : public ::testing::Test {
 protected:
  void SetUp() override {
    if (ConsolePath().empty()) GTEST_SKIP() << "QUORVEL_CONSOLE_UNDER_TEST does not name the console program";
  }
  // The driver an installation left goes again, so later runs in the same prefix start
  // without it (Wine's spooler refuses the console program's own deletion flags).
  void TearDown() override {
    if (!ConsolePath().empty()) {
      DeletePrinterNamed(L"Console test printer");
      DeletePrinterDriverExW(nullptr, nullptr, const_cast<wchar_t*>(L"QuorvelA4-203"), 0, 0);
      DeletePrinterDriverExW(nullptr, const_cast<wchar_t*>(L"Windows x64"), const_cast<wchar_t*>(L"QuorvelA4-203"), 0,
                             0);
    }
  }
};

const std::wstring kPrinter = L"Console test printer";
const std::wstring kInstall =
    L"install --model 203 --port com --port-name COM1: --printer-name \"Console test printer\" --default no";

TEST_F(ConsoleExe, RefusalsEndWithTheirCodesAndChangeNothing) {
  const ConsoleRun listed = RunConsole(L"list ports");
  EXPECT_EQ(listed.code, kExitSuccess) << listed.output;
  EXPECT_NE(listed.output.find("COM1:"), std::string::npos) << listed.output;

  const ConsoleRun bad = RunConsole(L"install --model 250 --port com --port-name COM1:");
  EXPECT_EQ(bad.code, kExitBadArguments) << bad.output;
  EXPECT_EQ(bad.output.rfind("--model: ", 0), 0u) << bad.output;

  const ConsoleRun plan = RunConsole(kInstall + L" --what-if");
  EXPECT_EQ(plan.code, kExitSuccess) << plan.output;
  EXPECT_NE(plan.output.find("Console test printer (COM1:)"), std::string::npos) << plan.output;

  // This process holds the machine: the other one must not start its worker.
  {
    const InstallationLock held = InstallationLock::TryAcquire();
    ASSERT_TRUE(held.Held());
    const ConsoleRun busy = RunConsole(kInstall);
    EXPECT_EQ(busy.code, kExitAnotherRunning) << busy.output;
  }
  EXPECT_FALSE(PrinterListed(kPrinter));
}

// Started from a folder with planted programs and a planted spooler library, in a current
// directory with the same: none of them may run, and the real ones do the work.
TEST_F(ConsoleExe, InstallsOnCom1AndRemovesAgainWithNothingPlantedRunning) {
  const PlantedFolder planted;
  ASSERT_TRUE(planted.Ready()) << planted.Problem();
  const std::wstring installDefault =
      L"install --model 203 --port com --port-name COM1: --printer-name \"Console test printer\" --default yes "
      L"--language en";
  const ConsoleRun install = RunConsole(installDefault, planted.ConsoleCopy(), planted.CurrentDirectory().c_str());
  for (const auto& marker : planted.Markers()) ADD_FAILURE() << "a planted file ran: " << WideToUtf8(marker);
  if (install.code == kExitStepFailed && DriverListed(L"QuorvelA4-203") && RunsUnderWow64() &&
      install.output.find("Code: 1797") != std::string::npos) {
    // The driver stage ran; the printer stage met Wine's 32-bit spooler.
    GTEST_SKIP() << "Wine's 32-bit AddPrinterW looks for the driver among the caller's x86 drivers (1797)";
  }
  ASSERT_EQ(install.code, kExitSuccess) << install.output;
  const auto printer = ReadPrinter(kPrinter);
  ASSERT_TRUE(printer.has_value());
  EXPECT_EQ(WideToUtf8(printer->port), "COM1:");
  EXPECT_EQ(WideToUtf8(printer->dataType), "RAW");
  EXPECT_TRUE(DriverInSystemEnvironment(L"QuorvelA4-203")) << "not among " << WideToUtf8(SystemEnvironment());
  EXPECT_EQ(WideToUtf8(DefaultPrinterName()), WideToUtf8(kPrinter));

  const ConsoleRun remove = RunConsole(L"remove --printer \"Console test printer\"", planted.ConsoleCopy(),
                                       planted.CurrentDirectory().c_str());
  EXPECT_EQ(remove.code, kExitSuccess) << remove.output;
  EXPECT_FALSE(ReadPrinter(kPrinter).has_value());
  for (const auto& marker : planted.Markers()) ADD_FAILURE() << "a planted file ran: " << WideToUtf8(marker);

  const ConsoleRun both = RunConsole(L"remove --driver QuorvelA4-203", planted.ConsoleCopy());
  if (both.code != kExitSuccess && RunningUnderWine()) {
    GTEST_SKIP() << "installed on COM1: and removed the printer with exit code 0; Wine refuses the driver's "
                    "deletion with the removal's flags (87)";
  }
  EXPECT_EQ(both.code, kExitSuccess) << both.output;
  EXPECT_FALSE(DriverInSystemEnvironment(L"QuorvelA4-203"));
}

// A printer that Wine's spooler takes (with a data type), removed by the console program.
TEST_F(ConsoleExe, RemovesAPrinterWithExitCodeZero) {
  const std::wstring driver = L"Console removal test driver";
  const std::wstring printer = L"Console removal test printer";
  ASSERT_TRUE(InstallTestDriver(driver));
  ASSERT_TRUE(AddTestPrinter(printer, driver));
  ASSERT_TRUE(PrinterListed(printer));

  const ConsoleRun remove = RunConsole(L"remove --printer \"" + printer + L"\" --language en");
  EXPECT_EQ(remove.code, kExitSuccess) << remove.output;
  EXPECT_NE(remove.output.find("Start deleting the printer: Console removal test printer"), std::string::npos)
      << remove.output;
  EXPECT_FALSE(PrinterListed(printer));
  const ConsoleRun again = RunConsole(L"remove --printer \"" + printer + L"\"");
  EXPECT_EQ(again.code, kExitBadArguments) << again.output;
}

// The newest default log of the console program, as UTF-8; empty when there is none.
std::string NewestDefaultLog() {
  wchar_t data[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"ProgramData", data, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  const std::wstring folder = std::wstring(data, length) + L"\\QuorvelSetup\\Logs\\";
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((folder + L"QuorvelSetupCli-*.log").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return {};
  std::wstring newest;
  do {
    if (newest < found.cFileName) newest = found.cFileName;
  } while (FindNextFileW(search, &found));
  FindClose(search);
  HANDLE file = CreateFileW((folder + newest).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string text;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
  CloseHandle(file);
  return text;
}

// A deployment tool's detection rule: exit code 0 with a line on standard output means
// installed; anything else, not installed.
TEST_F(ConsoleExe, DetectFollowsTheConsoleInstallationAndRemoval) {
  const auto detect = [](const std::wstring& options) {
    return RunConsole(L"detect --language en " + options, Streams::OutputOnly);
  };
  const ConsoleRun before = detect(L"--model 203");
  EXPECT_EQ(before.code, kExitNotDetected) << before.output;
  EXPECT_EQ(before.output, "");

  const ConsoleRun install = RunConsole(kInstall + L" --language en");
  ASSERT_TRUE(DriverListed(L"QuorvelA4-203")) << install.output;
  // The unattended run left its log: the command line first, the exit code last.
  const std::string log = NewestDefaultLog();
  EXPECT_NE(log.find("Command line: QuorvelSetupCli install --model 203"), std::string::npos) << log;
  EXPECT_NE(log.find("Exit code: " + std::to_string(install.code) + "\r\n"), std::string::npos) << log;

  const ConsoleRun found = detect(L"--model 203");
  EXPECT_EQ(found.code, kExitSuccess) << found.output;
  EXPECT_EQ(found.output, "Installed: QuorvelA4-203\n");
  const ConsoleRun otherModel = detect(L"--model 300");
  EXPECT_EQ(otherModel.code, kExitNotDetected);
  EXPECT_EQ(otherModel.output, "");
  const ConsoleRun printer = detect(L"--printer \"Console test printer\"");
  const bool printerAdded = install.code == kExitSuccess;
  EXPECT_EQ(printer.code, printerAdded ? kExitSuccess : kExitNotDetected) << install.output;
  EXPECT_EQ(printer.output.empty(), !printerAdded) << printer.output;

  const ConsoleRun remove = RunConsole(L"remove --driver QuorvelA4-203");
  const bool removedByConsole = remove.code == kExitSuccess;
  if (!removedByConsole) TearDown();
  ASSERT_FALSE(DriverListed(L"QuorvelA4-203")) << remove.output;
  const ConsoleRun after = detect(L"--model 203");
  EXPECT_EQ(after.code, kExitNotDetected);
  EXPECT_EQ(after.output, "");
  std::string limits;
  if (!printerAdded) limits += "the printer step met Wine's spooler, so detect --printer was checked as absent only. ";
  if (!removedByConsole)
    limits += "Wine's spooler refused the console removal; detection was checked after this test deleted the driver.";
  if (!limits.empty()) GTEST_SKIP() << limits;
}

}  // namespace
