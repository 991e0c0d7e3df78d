// The console program as a deployment tool starts it: QuorvelSetupCli.exe, named by
// QUORVEL_CONSOLE_UNDER_TEST (a Windows path), with its output read from a pipe and its
// exit code checked, and the spooler looked at after each run.
#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "base/WideText.h"
#include "devices/RemovalTestSpooler.h"
#include "engine/spooler/InstallationLock.h"
#include "shell/console/ConsoleProgram.h"

namespace {

std::wstring ConsolePath() {
  const wchar_t* path = _wgetenv(L"QUORVEL_CONSOLE_UNDER_TEST");
  return path ? path : L"";
}

struct ConsoleRun {
  DWORD code = 0xFFFFFFFF;
  std::string output;  // standard output and error, UTF-8
};

// Runs the program to its end (at most two minutes) with both streams into one pipe.
ConsoleRun RunConsole(const std::wstring& arguments) {
  ConsoleRun run;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return run;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION process{};
  std::wstring commandLine = L"\"" + ConsolePath() + L"\" " + arguments;
  const BOOL started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                      nullptr, &startup, &process);
  CloseHandle(writeEnd);
  if (started) {
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) && read > 0) run.output.append(buffer, read);
    if (WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &run.code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
  CloseHandle(readEnd);
  return run;
}

class ConsoleExe : public ::testing::Test {
 protected:
  void SetUp() override {
    if (ConsolePath().empty()) GTEST_SKIP() << "QUORVEL_CONSOLE_UNDER_TEST does not name the console program";
  }
  // The driver an installation left goes again, so later runs in the same prefix start
  // without it (Wine's spooler refuses the console program's own deletion flags).
  void TearDown() override {
    if (!ConsolePath().empty()) {
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

TEST_F(ConsoleExe, InstallsOnCom1AndRemovesAgain) {
  const ConsoleRun install = RunConsole(kInstall + L" --language en");
  if (install.code == kExitStepFailed && DriverListed(L"QuorvelA4-203")) {
    // The driver stage ran; the printer stage met one of Wine's two spoolers.
    if (install.output.find("Code: 1797") != std::string::npos) {
      GTEST_SKIP() << "Wine's 32-bit AddPrinterW looks for the driver among the caller's x86 drivers (1797)";
    }
    if (install.output.find("Code: 1801") != std::string::npos) {
      GTEST_SKIP() << "Wine's AddPrinterW refuses a printer without a data type (1801)";
    }
  }
  ASSERT_EQ(install.code, kExitSuccess) << install.output;
  EXPECT_TRUE(PrinterListed(kPrinter));
  EXPECT_TRUE(DriverListed(L"QuorvelA4-203"));

  const ConsoleRun remove = RunConsole(L"remove --printer \"Console test printer\"");
  EXPECT_EQ(remove.code, kExitSuccess) << remove.output;
  EXPECT_FALSE(PrinterListed(kPrinter));
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

}  // namespace
