// The console program on the simulated machine, as a deployment tool runs it: each verb
// with its output and exit code, the refusals that leave the machine untouched, and the
// failures that the workers report.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

#include "base/ProgramPackage.h"
#include "base/TextTable.h"
#include "base/WideText.h"
#include "engine/spooler/InstallationLock.h"
#include "engine/spooler/SpoolerOperations.h"
#include "engine/spooler/SystemOperations.h"
#include "shell/EmbeddedPackage.h"
#include "shell/console/ConsoleListing.h"
#include "shell/console/ConsoleProgram.h"
#include "simulated/SimulatedMachine.h"

namespace {

SimulatedMachine& Machine() {
  return *SimulatedMachine::Current();
}

// Every file of the machine's folder with its bytes.
std::map<std::string, std::string> FolderContent() {
  std::map<std::string, std::string> content;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(Machine().Folder())) {
    if (!entry.is_regular_file()) continue;
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
  std::ifstream file(log, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  EXPECT_EQ(Utf8ToWide(bytes.str()), run.out + refused.err);
  EXPECT_NE(refused.err.find(GetText(L"cli.err.noprinter").substr(0, 4)), std::wstring::npos);
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
