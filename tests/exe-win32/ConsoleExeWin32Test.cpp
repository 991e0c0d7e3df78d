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
  std::string output;  // standard output and error (or standard output alone), UTF-8
};

enum class Streams { Both, OutputOnly };

// Runs the program to its end (at most two minutes) with both streams into one pipe, or
// standard output alone, standard error going to NUL, as a detection rule reads it.
ConsoleRun RunConsole(const std::wstring& arguments, Streams streams = Streams::Both) {
  ConsoleRun run;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return run;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  HANDLE nul = streams == Streams::OutputOnly ? CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                            &inherit, OPEN_EXISTING, 0, nullptr)
                                              : INVALID_HANDLE_VALUE;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = nul != INVALID_HANDLE_VALUE ? nul : writeEnd;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION process{};
  std::wstring commandLine = L"\"" + ConsolePath() + L"\" " + arguments;
  const BOOL started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                      nullptr, &startup, &process);
  CloseHandle(writeEnd);
  if (nul != INVALID_HANDLE_VALUE) CloseHandle(nul);
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
