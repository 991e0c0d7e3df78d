// The console program on the simulated machine, as a deployment tool runs it: each verb
// with its output and exit code, the refusals that leave the machine untouched, and the
// failures that the workers report.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>
#include <span>
#include <sstream>

#include "base/ProgramPackage.h"
#include "base/TextTable.h"
#include "base/WideText.h"
#include "engine/spooler/DriverEnvironment.h"
#include "engine/spooler/FileOperations.h"
#include "engine/spooler/InstallationLock.h"
#include "engine/spooler/SpoolerOperations.h"
#include "engine/spooler/SystemOperations.h"
#include "shell/EmbeddedPackage.h"
#include "shell/console/ConsoleListing.h"
#include "shell/console/ConsoleProgram.h"
#include "shell/console/RunLog.h"
#include "simulated/SimulatedMachine.h"

namespace {

SimulatedMachine& Machine() {
  return *SimulatedMachine::Current();
}

// Every file of the machine's folder with its bytes, the console program's logs aside.
std::map<std::string, std::string> FolderContent() {
  std::map<std::string, std::string> content;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(Machine().Folder())) {
    if (!entry.is_regular_file() || entry.path().parent_path() == DefaultRunLogFolder()) continue;
    std::ifstream file(entry.path(), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    content[entry.path().lexically_relative(Machine().Folder()).string()] = bytes.str();
  }
  return content;
}

struct ConsoleRun {
  int code = -1;
  std::wstring out;
  std::wstring err;
  std::vector<std::wstring> failedLines;

  // Standard output by line, the log lines' time prefix checked and removed.
  std::vector<std::wstring> Lines() const {
    static const std::wregex kPrefix(L"^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d : ");
    std::vector<std::wstring> lines;
    std::wistringstream stream(out);
    for (std::wstring line; std::getline(stream, line);) {
      lines.push_back(std::regex_search(line, kPrefix) ? line.substr(15) : L"?" + line);
    }
    return lines;
  }
};

class ConsoleProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    SetProgramPackage(OpenEmbeddedPackage());
    Machine().SetUiLanguage(1033);
  }

  ConsoleRun Console(std::vector<std::wstring> arguments) {
    ConsoleRun run;
    ConsoleStreams streams{[&](std::wstring_view text) { run.out += text; },
                           [&](std::wstring_view text) { run.err += text; },
                           [&](std::wstring_view text) { run.failedLines.emplace_back(text); }};
    run.code = RunConsoleProgram(arguments, streams);
    return run;
  }

  std::filesystem::path WriteFile(const std::string& name, const std::string& text) {
    const auto path = Machine().Folder().parent_path() / name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  static std::optional<std::wstring> DriverOf(const std::wstring& printer) {
    std::vector<SpoolerEntry> printers;
    ListPrinters(printers, SystemDriverEnvironment());
    for (const auto& entry : printers) {
      if (entry.printerName == printer) return entry.driverName;
    }
    return std::nullopt;
  }
};

const std::vector<std::wstring> kInstallLines{L"tip.startcopyfile",       L"tip.copyfilesuccess",
                                              L"tip.startinstalldriver",  L"tip.installdriversuccess",
                                              L"tip.startinstallprinter", L"tip.installprintersuccess"};

std::vector<std::wstring> TextsOf(const std::vector<std::wstring>& keys) {
  std::vector<std::wstring> lines;
  for (const auto& key : keys) lines.push_back(GetText(key));
  return lines;
}

// The lines of a log file, each with its date and time checked and removed.
std::vector<std::wstring> LogFileLines(const std::filesystem::path& path) {
  static const std::wregex kStamp(L"^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d : ");
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  std::vector<std::wstring> lines;
  std::wistringstream stream(Utf8ToWide(bytes.str()));
  for (std::wstring line; std::getline(stream, line);) {
    lines.push_back(std::regex_search(line, kStamp) ? line.substr(26) : L"?" + line);
  }
  return lines;
}

// The texts of a language, as a run with --language loads them.
void UseLanguageForTest(const std::wstring& code) {
  ConsoleStreams quiet{[](std::wstring_view) {}, [](std::wstring_view) {}};
  RunConsoleProgram({L"help", L"--language", code}, quiet);
}

std::vector<std::filesystem::path> DefaultLogs() {
  std::vector<std::filesystem::path> logs;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(DefaultRunLogFolder(), ec)) logs.push_back(entry.path());
  std::sort(logs.begin(), logs.end());
  return logs;
}

TEST_F(ConsoleProgram, InstallsOnAnExistingPortWithTheWorkersLinesAndLists) {
  const ConsoleRun install = Console({L"install", L"--model", L"300", L"--port", L"com", L"--port-name", L"COM1:"});
  EXPECT_EQ(install.code, kExitSuccess) << install.err;
  EXPECT_EQ(install.Lines(), TextsOf(kInstallLines));
  EXPECT_EQ(install.err, L"");
  EXPECT_EQ(DriverOf(L"QuorvelA4-300"), L"QuorvelA4-300");
  EXPECT_EQ(Machine().DefaultPrinter(), L"QuorvelA4-300");

  // The free name of the wizard for the second one, and not the default.
  const ConsoleRun second =
      Console({L"install", L"--model=300", L"--port=existing", L"--port-name=LPT1:", L"--default=no"});
  EXPECT_EQ(second.code, kExitSuccess) << second.err;
  EXPECT_EQ(Machine().DefaultPrinter(), L"QuorvelA4-300");

  EXPECT_EQ(Console({L"list", L"printers"}).out,
            L"Printer            Driver\n"
            L"QuorvelA4-300      QuorvelA4-300\n"
            L"QuorvelA4-300 (1)  QuorvelA4-300\n");
  const ConsoleRun json = Console({L"list", L"printers", L"--all", L"--json"});
  ASSERT_EQ(json.code, kExitSuccess);
  const auto parsed = nlohmann::json::parse(WideToUtf8(json.out));
  ASSERT_TRUE(parsed.is_array());
  std::vector<SpoolerEntry> printers;
  ListPrinters(printers, SystemDriverEnvironment());
  ASSERT_EQ(parsed.size(), printers.size());
  EXPECT_EQ(parsed[0]["printer"], WideToUtf8(printers[0].printerName));
  EXPECT_EQ(parsed[0]["driver"], WideToUtf8(printers[0].driverName));

  const ConsoleRun drivers = Console({L"list", L"drivers", L"--json"});
  const auto driverList = nlohmann::json::parse(WideToUtf8(drivers.out));
  ASSERT_EQ(driverList.size(), 1u);
  EXPECT_EQ(driverList[0]["driver"], "QuorvelA4-300");
}

TEST_F(ConsoleProgram, InstallsBothModelsOnNetworkPortsFromAnAnswerFileWithTheCommandLineWinning) {
  const auto answers = WriteFile("answers.xml",
                                 "<?xml version=\"1.0\"?>\n<answers verb=\"install\">\n"
                                 "  <!-- the dispatch desk -->\n  <model> 203 </model>\n  <port>network</port>\n"
                                 "  <address>192.168.7.20</address>\n  <printer-name>Dispatch</printer-name>\n"
                                 "  <default>no</default>\n</answers>\n");
  const ConsoleRun first = Console({L"--answer-file", answers.wstring()});
  EXPECT_EQ(first.code, kExitSuccess) << first.err;
  EXPECT_EQ(first.Lines().front(), GetText(L"tip.startaddlanport"));
  EXPECT_EQ(DriverOf(L"Dispatch"), L"QuorvelA4-203");
  EXPECT_TRUE(PortExists(L"192.168.7.20"));

  const ConsoleRun second = Console({L"install", L"--answer-file", answers.wstring(), L"--model", L"300",
                                     L"--printer-name", L"Returns", L"--port-name", L"returns-desk"});
  EXPECT_EQ(second.code, kExitSuccess) << second.err;
  EXPECT_EQ(DriverOf(L"Returns"), L"QuorvelA4-300");
  EXPECT_TRUE(PortExists(L"returns-desk"));
  EXPECT_EQ(Console({L"list", L"ports"}).out.find(L"returns-desk  Standard TCP/IP Port  Standard TCP/IP Port\n") !=
                std::wstring::npos,
            true);
}

TEST_F(ConsoleProgram, RemovesADriverAfterItsPrintersAndReportsARefusedStep) {
  ASSERT_EQ(Console({L"install", L"--model", L"203", L"--port", L"com", L"--port-name", L"COM2:"}).code, 0);
  ASSERT_EQ(Console({L"install", L"--model", L"203", L"--port", L"lpt", L"--port-name", L"LPT1:"}).code, 0);

  const ConsoleRun plan = Console({L"remove", L"--driver", L"quorvela4-203", L"--what-if"});
  EXPECT_EQ(plan.code, kExitSuccess);
  EXPECT_EQ(plan.out, GetText(L"cli.whatif") +
                          L"\n  Delete the printer QuorvelA4-203\n  Delete the printer "
                          L"QuorvelA4-203 (1)\n  Delete the printer driver QuorvelA4-203\n");

  // The spooler refuses the driver: its printers are gone, the driver stays, 1603.
  ASSERT_TRUE(Machine().InjectFault("DeletePrinterDriverExW", 5, FaultMode::Once));
  const ConsoleRun refused = Console({L"remove", L"--driver", L"QuorvelA4-203"});
  EXPECT_EQ(refused.code, kExitStepFailed);
  const auto lines = refused.Lines();
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[0], FormatText(GetText(L"tip.startdeleteprinter"), L"QuorvelA4-203"));
  EXPECT_EQ(lines[5], FormatText(GetText(L"tip.deletefail"), L"QuorvelA4-203"));
  EXPECT_EQ(lines[6], FormatText(GetText(L"tip.failreason"), L"Code: 5 - Access is denied."));
  EXPECT_FALSE(DriverOf(L"QuorvelA4-203"));
  EXPECT_TRUE(DriverInstalled(L"QuorvelA4-203", SystemDriverEnvironment()));

  EXPECT_EQ(Console({L"remove", L"--driver", L"QuorvelA4-203"}).code, kExitSuccess);
  EXPECT_FALSE(DriverInstalled(L"QuorvelA4-203", SystemDriverEnvironment()));
}

TEST_F(ConsoleProgram, AFailedStepEndsWith1603AndTheWorkersErrorLines) {
  ASSERT_TRUE(Machine().InjectFault("AddPrinterW", 5, FaultMode::Once));
  const ConsoleRun run = Console({L"install", L"--model", L"203", L"--port", L"com", L"--port-name", L"COM1:"});
  EXPECT_EQ(run.code, kExitStepFailed);
  auto expected = TextsOf({kInstallLines.begin(), kInstallLines.end() - 1});
  expected.push_back(FormatText(GetText(L"tip.installprinterfail"), L"Code: 5 - Access is denied."));
  EXPECT_EQ(run.Lines(), expected);
  ASSERT_EQ(run.failedLines.size(), 1u) << "only the failed step's line is red";
  EXPECT_EQ(run.failedLines[0].substr(0, expected.back().size()), expected.back());
}

// A list of the spooler that cannot be read says nothing about the names given: the run
// fails with the system's reason (1603) rather than calling the option wrong (87).
TEST_F(ConsoleProgram, AnUnreadableSpoolerListFailsTheRunInsteadOfRefusingTheName) {
  const std::wstring reason =
      FormatText(GetText(L"cli.err.machinelists"), L"Code: 1722 - The RPC server is unavailable.");
  ASSERT_TRUE(Machine().InjectFault("EnumPortsW", 1722, FaultMode::Once));
  const ConsoleRun install = Console({L"install", L"--model", L"203", L"--port", L"com", L"--port-name", L"COM1:"});
  EXPECT_EQ(install.code, kExitStepFailed);
  EXPECT_EQ(install.err, reason + L"\n");
  EXPECT_FALSE(DriverOf(L"QuorvelA4-203"));

  ASSERT_EQ(Console({L"install", L"--model", L"203", L"--port", L"com", L"--port-name", L"COM1:"}).code, kExitSuccess);
  ASSERT_TRUE(Machine().InjectFault("EnumPrintersW", 1722, FaultMode::Once));
  const ConsoleRun remove = Console({L"remove", L"--printer", L"QuorvelA4-203"});
  EXPECT_EQ(remove.code, kExitStepFailed);
  EXPECT_EQ(remove.err, reason + L"\n");
  EXPECT_EQ(DriverOf(L"QuorvelA4-203"), L"QuorvelA4-203");
}

// The lists and the detection answer neither way when the spooler does not: 1603 and the
// reason, not an empty list or "not installed".
TEST_F(ConsoleProgram, ListsAndDetectionThatCannotReadTheSpoolerEndWith1603) {
  for (const auto& [call, arguments] : std::vector<std::pair<const char*, std::vector<std::wstring>>>{
           {"EnumPrintersW", {L"list", L"printers"}},
           {"EnumPrinterDriversW", {L"list", L"drivers", L"--json"}},
           {"EnumPortsW", {L"list", L"ports"}},
           {"EnumPrinterDriversW", {L"detect", L"--model", L"203"}}}) {
    ASSERT_TRUE(Machine().InjectFault(call, 1722, FaultMode::Always));
    const ConsoleRun run = Console(arguments);
    Machine().ClearFaults();
    EXPECT_EQ(run.code, kExitStepFailed) << call;
    EXPECT_EQ(run.out, L"") << call;
    // In the language the run chose.
    EXPECT_EQ(run.err,
              FormatText(GetText(L"cli.err.machinelists"), L"Code: 1722 - The RPC server is unavailable.") + L"\n")
        << call;
  }
  EXPECT_EQ(Console({L"list", L"ports"}).code, kExitSuccess);
}

// A device search that failed part-way cannot say that the printer is not there.
TEST_F(ConsoleProgram, AFailedDeviceSearchEndsWith1603RatherThanRefusingTheDevice) {
  SimulatedUsbPrinter usb;
  usb.instanceId = L"USB\\VID_1A2B&PID_3C4D\\7";
  usb.portNumber = 7;
  Machine().Devices().PlugUsbPrinter(usb);
  // In the language the run chose.
  const auto usbReason = [] {
    return FormatText(GetText(L"search.usb.failed"), L"Code: 5 - Access is denied.") + L"\n";
  };

  ASSERT_TRUE(Machine().InjectFault("SetupDiGetClassDevsW", 5, FaultMode::Once));
  const ConsoleRun list = Console({L"list", L"usb"});
  EXPECT_EQ(list.code, kExitStepFailed);
  EXPECT_EQ(list.err, usbReason());
  ASSERT_TRUE(Machine().InjectFault("SetupDiGetDeviceInstanceIdW", 5, FaultMode::Once));
  const ConsoleRun byName = Console({L"install", L"--model", L"300", L"--port", L"usb", L"--port-name", L"USB007"});
  EXPECT_EQ(byName.code, kExitStepFailed);
  EXPECT_EQ(byName.err, usbReason());
  ASSERT_TRUE(Machine().InjectFault("RegQueryValueExW", 5, FaultMode::Once));
  EXPECT_EQ(Console({L"install", L"--model", L"300", L"--port", L"usb", L"--usb", L"1"}).code, kExitStepFailed);
  // A value that is not there is an answer: the printer has no port.
  ASSERT_TRUE(Machine().InjectFault("RegQueryValueExW", 2, FaultMode::Once));
  EXPECT_EQ(Console({L"install", L"--model", L"300", L"--port", L"usb", L"--usb", L"1"}).code, kExitBadArguments);
  EXPECT_FALSE(DriverOf(L"QuorvelA4-300"));

  Machine().Devices().SetAdapter(SimulatedAdapter::On);
  ASSERT_TRUE(Machine().InjectFault("BluetoothFindFirstDevice", 1167, FaultMode::Once));
  const ConsoleRun bluetooth =
      Console({L"install", L"--model", L"203", L"--port", L"bluetooth", L"--address", L"00:1A:7D:DA:71:13"});
  EXPECT_EQ(bluetooth.code, kExitStepFailed);
  EXPECT_EQ(bluetooth.err.rfind(FormatText(GetText(L"search.bluetooth.failed"), L"Code: 1167 - "), 0), 0u)
      << WideToUtf8(bluetooth.err);
  // Nobody answering is no failure: the address is refused.
  EXPECT_EQ(Console({L"install", L"--model", L"203", L"--port", L"bluetooth", L"--address", L"00:1A:7D:DA:71:13"}).code,
            kExitBadArguments);
}

TEST_F(ConsoleProgram, WhatIfChangesNothingAndNamesEveryStep) {
  const auto before = FolderContent();
  const ConsoleRun run = Console({L"install", L"--model", L"300", L"--port", L"network", L"--address", L"10.1.2.3",
                                  L"--printer-name", L"Dock", L"--what-if"});
  EXPECT_EQ(run.code, kExitSuccess) << run.err;
  EXPECT_EQ(run.out, GetText(L"cli.whatif") +
                         L"\n  Add the Standard TCP/IP port 10.1.2.3 (10.1.2.3)\n"
                         L"  Copy the driver files of QuorvelA4-300 into the printer driver directory\n"
                         L"  Install the printer driver QuorvelA4-300\n  Add the printer Dock (10.1.2.3)\n"
                         L"  Make Dock the default printer\n  Print a test page on Dock\n");
  EXPECT_EQ(FolderContent(), before);
}

// Every refusal names the option, ends with 87 and leaves the machine as it was.
TEST_F(ConsoleProgram, BadArgumentsAndAnswerFilesEndWith87AndChangeNothing) {
  ASSERT_EQ(Console({L"install", L"--model", L"203", L"--port", L"com", L"--port-name", L"COM1:"}).code, 0);
  const auto broken = WriteFile("broken.xml", "<answers verb=\"install\"><model>203</answers>");
  const auto strange = WriteFile("strange.xml", "<answers verb=\"install\"><colour>red</colour></answers>");
  const auto wrongRoot = WriteFile("root.xml", "<install/>");
  const auto before = FolderContent();
  const std::vector<std::pair<std::vector<std::wstring>, std::wstring>> cases{
      {{}, L""},
      {{L"instal"}, L"instal: "},
      {{L"list"}, L"list: "},
      {{L"list", L"ports", L"--all"}, L"--all: "},
      {{L"install", L"--model"}, L"--model: "},
      {{L"install", L"--model", L"250", L"--port", L"com", L"--port-name", L"COM1:"}, L"--model: \"250\""},
      {{L"install", L"--model", L"203", L"--model", L"300"}, L"--model: "},
      {{L"install", L"--model", L"203", L"--port", L"serial"}, L"--port: "},
      {{L"install", L"--model", L"203", L"--port", L"com"}, L"--port-name: "},
      {{L"install", L"--model", L"203", L"--port", L"com", L"--port-name", L"COM9:"}, L"--port-name: "},
      {{L"install", L"--model", L"203", L"--port", L"lpt", L"--port-name", L"COM2:"}, L"--port-name: "},
      {{L"install", L"--model", L"203", L"--port", L"com", L"--port-name", L"COM2:", L"--pin", L"1"}, L"--pin: "},
      {{L"install", L"--model", L"203", L"--port", L"network", L"--address", L"1x.2.3.4"}, L"--address: "},
      {{L"install", L"--model", L"203", L"--port", L"network", L"--address", L"1.2.3.4", L"--port-name", L"com1:"},
       L"--port-name: "},
      {{L"install", L"--model", L"203", L"--port", L"com", L"--port-name", L"COM2:", L"--printer-name",
        L"quorvela4-203"},
       L"--printer-name: "},
      {{L"install", L"--model", L"203", L"--port", L"usb", L"--usb", L"1"}, L"--usb: "},
      {{L"install", L"--model", L"203", L"--port", L"usb"}, L"--usb: "},
      {{L"install", L"--model", L"203", L"--port", L"bluetooth", L"--address", L"00:11:22:33:44"}, L"--address: "},
      {{L"install", L"--model", L"203", L"--port", L"com", L"--port-name", L"COM2:", L"--default", L"maybe"},
       L"--default: "},
      {{L"remove"}, L"remove: "},
      {{L"remove", L"--printer", L"Nobody"}, L"--printer: "},
      {{L"remove", L"--driver", L"QuorvelA4-300"}, L"--driver: "},
      {{L"remove", L"--printer", L"QuorvelA4-203", L"--model", L"203"}, L"--model: "},
      {{L"list", L"ports", L"--colour"}, L"--colour: "},
      {{L"list", L"ports", L"--language", L"xx"}, L"--language: "},
      {{L"--answer-file", broken.wstring()}, L"--answer-file: "},
      {{L"--answer-file", strange.wstring()}, L"--answer-file: "},
      {{L"--answer-file", wrongRoot.wstring()}, L"--answer-file: "},
      {{L"--answer-file", (broken.parent_path() / "missing.xml").wstring()}, L"--answer-file: "},
      {{L"remove", L"--answer-file", strange.wstring()}, L"--answer-file: "},
  };
  for (const auto& [arguments, start] : cases) {
    std::wstring shown;
    for (const auto& argument : arguments) shown += argument + L" ";
    const ConsoleRun run = Console(arguments);
    EXPECT_EQ(run.code, kExitBadArguments) << WideToUtf8(shown);
    EXPECT_EQ(run.err.rfind(start, 0), 0u) << WideToUtf8(shown) << "-> " << WideToUtf8(run.err);
    EXPECT_NE(run.err.find(GetText(L"cli.usagehint")), std::wstring::npos) << WideToUtf8(shown);
    EXPECT_EQ(run.out, L"") << WideToUtf8(shown);
  }
  EXPECT_EQ(FolderContent(), before);
}

// The names the spooler would refuse (or the printer applet misread) are refused as the
// wizard's pages refuse them, before anything changes.
TEST_F(ConsoleProgram, PrinterAndPortNamesTheSpoolerWouldRefuseEndWith87) {
  const auto emptyName = WriteFile("empty-name.xml",
                                   "<answers verb=\"install\"><model>203</model><port>com</port>"
                                   "<port-name>COM1:</port-name><printer-name></printer-name></answers>");
  const auto before = FolderContent();
  const std::vector<std::wstring> com{L"install", L"--model", L"203", L"--port", L"com", L"--port-name", L"COM1:"};
  const std::vector<std::wstring> network{L"install", L"--model",   L"203",     L"--port",
                                          L"network", L"--address", L"10.0.0.9"};
  auto with = [](std::vector<std::wstring> arguments, std::wstring option, std::wstring value) {
    arguments.push_back(std::move(option));
    arguments.push_back(std::move(value));
    return arguments;
  };
  const std::vector<std::pair<std::vector<std::wstring>, std::wstring>> cases{
      {with(com, L"--printer-name", L"Front\\desk"), L"--printer-name: " + GetText(L"check.printername.character")},
      {with(com, L"--printer-name", L"Front, desk"), L"--printer-name: " + GetText(L"check.printername.character")},
      {with(com, L"--printer-name", L"Front\" /x"), L"--printer-name: " + GetText(L"check.printername.character")},
      {with(com, L"--printer-name", std::wstring(221, L'p')),
       L"--printer-name: " + GetText(L"check.printername.toolong")},
      {with(network, L"--port-name", std::wstring(64, L'n')), L"--port-name: " + GetText(L"check.portname.toolong")},
      {{L"--answer-file", emptyName.wstring()}, L"--printer-name: "},
  };
  for (const auto& [arguments, start] : cases) {
    const ConsoleRun run = Console(arguments);
    EXPECT_EQ(run.code, kExitBadArguments) << WideToUtf8(arguments.back());
    EXPECT_EQ(run.err.rfind(start, 0), 0u) << WideToUtf8(run.err);
  }
  EXPECT_EQ(FolderContent(), before);
  // The longest names that fit are taken.
  EXPECT_EQ(Console(with(com, L"--printer-name", std::wstring(220, L'p'))).code, 0);
  EXPECT_EQ(Console(with(with(network, L"--port-name", std::wstring(63, L'n')), L"--printer-name", L"On net")).code, 0);
}

TEST_F(ConsoleProgram, ARunningInstallationMissingRightsOrProtectedPrintModeChangeNothing) {
  const std::vector<std::wstring> install{L"install", L"--model", L"203", L"--port", L"com", L"--port-name", L"COM1:"};
  {
    const InstallationLock other = InstallationLock::TryAcquire();
    ASSERT_TRUE(other.Held());
    const ConsoleRun busy = Console(install);
    EXPECT_EQ(busy.code, kExitAnotherRunning);
    EXPECT_EQ(busy.err, GetText(L"tip.anotherrun") + L"\n");
    EXPECT_EQ(Console({L"remove", L"--printer", L"Microsoft Print to PDF"}).code, kExitAnotherRunning);
    // Looking changes nothing and needs no lock.
    EXPECT_EQ(Console({L"list", L"ports"}).code, kExitSuccess);
    EXPECT_EQ(Console({L"remove", L"--printer", L"Microsoft Print to PDF", L"--what-if"}).code, kExitSuccess);
  }
  // Without administrator rights the changing verbs stop before any change; looking and
  // planning still work.
  Machine().SetAdministrator(false);
  const ConsoleRun denied = Console(install);
  EXPECT_EQ(denied.code, kExitAccessDenied);
  EXPECT_EQ(denied.err, GetText(L"cli.notadmin") + L"\n");
  EXPECT_EQ(Console({L"remove", L"--printer", L"Microsoft Print to PDF"}).code, kExitAccessDenied);
  EXPECT_EQ(Console({L"list", L"printers", L"--all"}).code, kExitSuccess);
  EXPECT_EQ(Console({L"remove", L"--printer", L"Microsoft Print to PDF", L"--what-if"}).code, kExitSuccess);
  Machine().SetAdministrator(true);

  Machine().SetProtectedPrintMode(true);
  const ConsoleRun refused = Console(install);
  EXPECT_EQ(refused.code, kExitStepFailed);
  EXPECT_EQ(refused.err, GetText(L"protectedprint.console") + L"\n");
  EXPECT_FALSE(DriverInstalled(L"QuorvelA4-203", SystemDriverEnvironment()));
  EXPECT_TRUE(DriverOf(L"Microsoft Print to PDF"));
  Machine().SetProtectedPrintMode(false);
  EXPECT_EQ(Console(install).code, kExitSuccess);
}

TEST_F(ConsoleProgram, ALanguageIsChosenByCodeOrIdentifierAndTheLogFileGetsEveryLine) {
  const auto log = Machine().Folder().parent_path() / "run.log";
  std::filesystem::remove(log);
  const ConsoleRun run = Console({L"install", L"--model", L"203", L"--port", L"com", L"--port-name", L"COM1:",
                                  L"--language", L"cn", L"--log", log.wstring()});
  ASSERT_EQ(run.code, kExitSuccess);
  EXPECT_EQ(run.Lines().front(), GetText(L"tip.startcopyfile"));
  EXPECT_NE(GetText(L"tip.startcopyfile"), L"Start copying the file...");
  const ConsoleRun refused =
      Console({L"remove", L"--printer", L"x", L"--language", L"0x0411", L"--log", log.wstring()});
  EXPECT_EQ(refused.code, kExitBadArguments);
  EXPECT_NE(refused.err.find(GetText(L"cli.err.noprinter").substr(0, 4)), std::wstring::npos);

  // The named file gets both runs, each from its command line to its exit code; the
  // default log folder gets nothing.
  std::vector<std::wstring> expected;
  UseLanguageForTest(L"cn");
  expected.push_back(FormatText(GetText(L"cli.log.commandline"),
                                L"quorvel-setup-cli install --model 203 --port com --port-name COM1: --language cn "
                                L"--log " +
                                    log.wstring()));
  for (const auto& line : run.Lines()) expected.push_back(line);
  expected.push_back(FormatText(GetText(L"cli.log.exitcode"), L"0"));
  UseLanguageForTest(L"ja");
  expected.push_back(FormatText(GetText(L"cli.log.commandline"),
                                L"quorvel-setup-cli remove --printer x --language 0x0411 --log " + log.wstring()));
  std::wistringstream errors(refused.err);
  for (std::wstring line; std::getline(errors, line);) expected.push_back(line);
  expected.push_back(FormatText(GetText(L"cli.log.exitcode"), L"87"));
  EXPECT_EQ(LogFileLines(log), expected);
  EXPECT_FALSE(std::filesystem::exists(DefaultRunLogFolder()));
}

TEST_F(ConsoleProgram, UsbAndBluetoothPrintersAreListedAndInstalledByNumberOrAddress) {
  auto& devices = Machine().Devices();
  SimulatedUsbPrinter usb;
  usb.instanceId = L"USB\\VID_1A2B&PID_3C4D\\7";
  usb.portNumber = 7;
  devices.PlugUsbPrinter(usb);
  EXPECT_EQ(Console({L"list", L"usb"}).out, L"No.  Port    Device\n1    USB007  VID_1A2B PID_3C4D\n");
  EXPECT_EQ(Console({L"list", L"bluetooth"}).code, kExitStepFailed);

  devices.SetAdapter(SimulatedAdapter::On);
  SimulatedBluetoothDevice printer;
  printer.name = L"QA4-Counter";
  printer.address = 0x001A7DDA7113;
  printer.classOfDevice = 0x040680;
  printer.pin = L"0000";
  devices.AddBluetoothDevice(printer);
  const auto listed = nlohmann::json::parse(WideToUtf8(Console({L"list", L"bluetooth", L"--json"}).out));
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_EQ(listed[0]["number"], 1);
  EXPECT_EQ(listed[0]["address"], "00-1A-7D-DA-71-13");

  const ConsoleRun bluetooth = Console({L"install", L"--model", L"203", L"--port", L"bluetooth", L"--address",
                                        L"00:1a:7d:da:71:13", L"--pin", L"0000", L"--printer-name", L"Counter"});
  EXPECT_EQ(bluetooth.code, kExitSuccess) << WideToUtf8(bluetooth.out + bluetooth.err);
  EXPECT_EQ(DriverOf(L"Counter"), L"QuorvelA4-203");
  const ConsoleRun usbRun = Console({L"install", L"--model", L"300", L"--port", L"usb", L"--port-name", L"usb007"});
  EXPECT_EQ(usbRun.code, kExitSuccess) << WideToUtf8(usbRun.err);
  EXPECT_EQ(Console({L"install", L"--model", L"300", L"--port", L"usb", L"--usb", L"2"}).code, kExitBadArguments);
}

// Present: exit 0 and exactly one line on standard output. Absent: exit 1, nothing on
// standard output, the reason on standard error.
void ExpectDetected(const ConsoleRun& run, const std::string& shown) {
  EXPECT_EQ(run.code, kExitSuccess) << shown << ": " << WideToUtf8(run.err);
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), L'\n'), 1) << shown;
  EXPECT_EQ(run.out.back(), L'\n') << shown;
}

void ExpectAbsent(const ConsoleRun& run, const std::string& shown) {
  EXPECT_EQ(run.code, kExitNotDetected) << shown;
  EXPECT_EQ(run.out, L"") << shown;
  EXPECT_NE(run.err, L"") << shown;
}

TEST_F(ConsoleProgram, DetectFollowsTheInstallationAndTheRemoval) {
  const auto detect = [&](std::vector<std::wstring> options) {
    options.insert(options.begin(), L"detect");
    return Console(options);
  };
  ExpectAbsent(detect({}), "before");
  ASSERT_EQ(Console({L"install", L"--model", L"300", L"--port", L"com", L"--port-name", L"COM1:", L"--printer-name",
                     L"Dispatch"})
                .code,
            kExitSuccess);

  ExpectDetected(detect({}), "installed");
  EXPECT_NE(detect({}).out.find(L"QuorvelA4-300"), std::wstring::npos);
  ExpectDetected(detect({L"--model", L"300"}), "its model");
  ExpectAbsent(detect({L"--model", L"203"}), "the other model");
  ExpectDetected(detect({L"--printer", L"Dispatch"}), "its printer");
  ExpectDetected(detect({L"--printer", L"dispatch", L"--model", L"300"}), "printer names ignore case");
  ExpectAbsent(detect({L"--printer", L"Dispatch", L"--model", L"203"}), "its printer, the other model");
  ExpectAbsent(detect({L"--printer", L"Returns"}), "no such printer");
  // A printer that carries the family's name on a driver of another maker is not ours.
  ASSERT_TRUE(Machine().AddPrinter({L"Quorvel-A4(300)", L"Microsoft Print To PDF", L"PORTPROMPT:"}));
  const ConsoleRun impostor = detect({L"--printer", L"Quorvel-A4(300)"});
  ExpectAbsent(impostor, "a printer on another driver");
  EXPECT_NE(impostor.err.find(L"Microsoft Print To PDF"), std::wstring::npos);

  // The records of what was found, for scripts.
  const ConsoleRun json = detect({L"--printer", L"Dispatch", L"--json"});
  ASSERT_EQ(json.code, kExitSuccess);
  const auto found = nlohmann::json::parse(WideToUtf8(json.out));
  EXPECT_EQ(found["printer"]["printer"], "Dispatch");
  EXPECT_EQ(found["printer"]["port"], "COM1:");
  EXPECT_EQ(found["printer"]["default"], true);
  ASSERT_EQ(found["drivers"].size(), 1u);
  EXPECT_EQ(found["drivers"][0]["driver"], "QuorvelA4-300");
  EXPECT_EQ(found["drivers"][0]["printers"], nlohmann::json::array({"Dispatch"}));
  EXPECT_TRUE(nlohmann::json::parse(WideToUtf8(detect({L"--json"}).out))["printer"].is_null());

  // Detection changes nothing, so it needs no rights and no lock, and leaves no log.
  Machine().SetAdministrator(false);
  ExpectDetected(detect({L"--model", L"300"}), "without administrator rights");
  Machine().SetAdministrator(true);
  {
    const InstallationLock other = InstallationLock::TryAcquire();
    ExpectDetected(detect({}), "while another run holds the lock");
  }
  const ConsoleRun twice = detect({L"--printer", L"a", L"--printer", L"b"});
  EXPECT_EQ(twice.code, kExitBadArguments);
  EXPECT_EQ(twice.out, L"");
  EXPECT_EQ(detect({L"--port", L"com"}).code, kExitBadArguments);

  ASSERT_EQ(Console({L"remove", L"--driver", L"QuorvelA4-300"}).code, kExitSuccess);
  ExpectAbsent(detect({}), "after the removal");
  ExpectAbsent(detect({L"--printer", L"Dispatch"}), "its printer after the removal");
}

TEST_F(ConsoleProgram, ADriverForThe32BitEnvironmentOnlyIsNotDetectedOn64BitWindows) {
  // What a 32-bit installer that forgot the environment would leave behind.
  const std::wstring directory = GetDriverDirectory(kEnvironmentX86).ValueOr(L"");
  const uint8_t byte = 1;
  for (const wchar_t* file : {L"q.dll", L"q.gpd", L"qui.dll"}) {
    ASSERT_TRUE(WriteWholeFile(directory + file, std::span<const uint8_t>(&byte, 1)));
  }
  PrinterDriverRecord driver;
  driver.driverName = L"QuorvelA4-203";
  driver.environment = kEnvironmentX86;
  driver.driverFile = L"q.dll";
  driver.dataFile = L"q.gpd";
  driver.configurationFile = L"qui.dll";
  ASSERT_TRUE(AddPrinterDriverLevel6(driver));

  const ConsoleRun run = Console({L"detect", L"--model", L"203"});
  ExpectAbsent(run, "x86 only");
  EXPECT_NE(run.err.find(kEnvironmentX86), std::wstring::npos) << WideToUtf8(run.err);
  EXPECT_EQ(Console({L"list", L"drivers"}).out.find(L"QuorvelA4-203"), std::wstring::npos);
}

TEST_F(ConsoleProgram, TheJsonListsCarryPortsDefaultsVersionsEnvironmentsAndAddresses) {
  ASSERT_EQ(Console({L"install", L"--model", L"203", L"--port", L"network", L"--address", L"10.4.5.6", L"--port-name",
                     L"dock-4", L"--printer-name", L"Dock", L"--default", L"no"})
                .code,
            kExitSuccess);
  ASSERT_EQ(Console({L"install", L"--model", L"203", L"--port", L"com", L"--port-name", L"COM2:", L"--printer-name",
                     L"Counter"})
                .code,
            kExitSuccess);
  const std::string environment = WideToUtf8(SystemDriverEnvironment());

  const auto printers = nlohmann::json::parse(WideToUtf8(Console({L"list", L"printers", L"--json"}).out));
  ASSERT_EQ(printers.size(), 2u);
  for (const auto& printer : printers) {
    const bool dock = printer["printer"] == "Dock";
    EXPECT_EQ(printer["port"], dock ? "dock-4" : "COM2:");
    EXPECT_EQ(printer["default"], !dock);
    EXPECT_EQ(printer["environment"], environment);
  }

  const auto drivers = nlohmann::json::parse(WideToUtf8(Console({L"list", L"drivers", L"--all", L"--json"}).out));
  std::map<std::string, nlohmann::json> byName;
  for (const auto& driver : drivers) byName[driver["driver"]] = driver;
  const auto& ours = byName.at("QuorvelA4-203");
  EXPECT_EQ(ours["environment"], environment);
  EXPECT_EQ(ours["type"], 3);
  EXPECT_TRUE(std::regex_match(ours["version"].get<std::string>(), std::regex(R"(\d+\.\d+\.\d+\.\d+)")));
  EXPECT_EQ(ours["inf"], "") << "the spooler's own method installs without an INF";
  EXPECT_EQ(ours["printers"], nlohmann::json::array({"Counter", "Dock"}));
  EXPECT_EQ(byName.at("Microsoft Print To PDF")["version"], "10.0.18362.1");
  EXPECT_EQ(byName.at("Microsoft Print To PDF")["type"], 4);

  const auto ports = nlohmann::json::parse(WideToUtf8(Console({L"list", L"ports", L"--json"}).out));
  std::map<std::string, nlohmann::json> portByName;
  for (const auto& port : ports) portByName[port["port"]] = port;
  EXPECT_EQ(portByName.at("dock-4")["monitor"], "Standard TCP/IP Port");
  EXPECT_EQ(portByName.at("dock-4")["address"], "10.4.5.6");
  EXPECT_TRUE(portByName.at("COM2:")["address"].is_null());

  // The text lists keep their columns.
  EXPECT_EQ(Console({L"list", L"printers"}).out, L"Printer  Driver\nCounter  QuorvelA4-203\nDock     QuorvelA4-203\n");
  EXPECT_EQ(Console({L"list", L"drivers"}).out, L"Driver         INF file\nQuorvelA4-203  \n");
}

TEST_F(ConsoleProgram, ChangingRunsLeaveADefaultLogOfTheirOwnAndTheNewestTenStay) {
  const std::vector<std::wstring> install{L"install", L"--model", L"203", L"--port", L"com", L"--port-name", L"COM1:"};
  const ConsoleRun run = Console(install);
  ASSERT_EQ(run.code, kExitSuccess);
  auto logs = DefaultLogs();
  ASSERT_EQ(logs.size(), 1u);
  EXPECT_TRUE(std::regex_match(logs[0].filename().string(), std::regex(R"(QuorvelSetupCli-\d{8}-\d{6}-\d{3,4}\.log)")));
  std::vector<std::wstring> expected{FormatText(GetText(L"cli.log.commandline"),
                                                L"quorvel-setup-cli install --model 203 --port com --port-name COM1:")};
  for (const auto& line : run.Lines()) expected.push_back(line);
  expected.push_back(FormatText(GetText(L"cli.log.exitcode"), L"0"));
  EXPECT_EQ(LogFileLines(logs[0]), expected);

  // Looking, detecting and planning leave no log.
  EXPECT_EQ(Console({L"list", L"printers"}).code, kExitSuccess);
  EXPECT_EQ(Console({L"detect"}).code, kExitSuccess);
  EXPECT_EQ(Console({L"detect", L"--model", L"300"}).code, kExitNotDetected);
  EXPECT_EQ(Console({L"remove", L"--printer", L"QuorvelA4-203", L"--what-if"}).code, kExitSuccess);
  EXPECT_EQ(DefaultLogs(), logs);

  // A refused run is logged too, its Bluetooth PIN hidden; a mistyped command line is not.
  const ConsoleRun refused = Console(
      {L"install", L"--model", L"203", L"--port", L"bluetooth", L"--address", L"00:1A:7D:DA:71:13", L"--pin", L"4321"});
  ASSERT_NE(refused.code, kExitSuccess);
  EXPECT_EQ(Console({L"install", L"--model", L"250"}).code, kExitBadArguments);
  logs = DefaultLogs();
  ASSERT_EQ(logs.size(), 2u);
  const auto refusedLog = LogFileLines(logs[1]);
  ASSERT_FALSE(refusedLog.empty());
  EXPECT_NE(refusedLog.front().find(L"--pin ****"), std::wstring::npos) << WideToUtf8(refusedLog.front());
  EXPECT_EQ(refusedLog.front().find(L"4321"), std::wstring::npos);
  EXPECT_EQ(refusedLog.back(), FormatText(GetText(L"cli.log.exitcode"), std::to_wstring(refused.code)));

  // Ten more runs: the two oldest files go.
  for (int i = 0; i < 10; ++i) ASSERT_EQ(Console({L"remove", L"--printer", L"Nobody"}).code, kExitBadArguments);
  const auto kept = DefaultLogs();
  ASSERT_EQ(kept.size(), kKeptRunLogs);
  EXPECT_EQ(std::find(kept.begin(), kept.end(), logs[0]), kept.end());
  EXPECT_EQ(std::find(kept.begin(), kept.end(), logs[1]), kept.end());
}

TEST(ConsoleJson, StringsParseBackToTheirText) {
  const std::wstring odd = std::wstring(L"quote \" back \\ tab \t line\r\n bell ") + wchar_t{7} + L" 宋体 ภาษา";
  ListTable table;
  table.columns = {{L"name", L"cli.col.name"}, {L"number", L"cli.col.number", true}};
  table.rows = {{odd, L"3"}};
  const auto parsed = nlohmann::json::parse(WideToUtf8(FormatListJson(table)));
  EXPECT_EQ(parsed[0]["name"], WideToUtf8(odd));
  EXPECT_EQ(parsed[0]["number"], 3);
  EXPECT_EQ(nlohmann::json::parse(WideToUtf8(FormatListJson({}))).size(), 0u);
}

}  // namespace
