// Random installations and removals on fresh simulated machines, each with random calls
// failing once, a few times or always with codes those calls really return. After every
// run it checks what an administrator would check after a bad day, and prints the seed of
// any run that breaks a rule; run that seed alone to see it again:
//
//   bench/FaultCampaign [--runs N] [--seed S] [--progress K] [--verbose]
//   bench/FaultCampaign --quick          (10 runs)
//
// Run i uses seed S + i. Every run happens twice from the same start: in the wizard (the
// main window on the headless host, its worker thread) and in the console program.
// Build it with the address sanitizer (preset linux-asan) so that a memory fault ends it.
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "DriverPackageEntries.h"
#include "ProcessThreads.h"
#include "base/TextTable.h"
#include "base/WideText.h"
#include "devices/BluetoothDiscovery.h"
#include "devices/UsbPrinterScan.h"
#include "engine/DriverModelRecord.h"
#include "engine/spooler/DriverEnvironment.h"
#include "engine/spooler/InstallationLock.h"
#include "engine/spooler/SpoolerOperations.h"
#include "shell/EmbeddedPackage.h"
#include "shell/Languages.h"
#include "shell/app/MainWnd.h"
#include "shell/console/ConsoleOptions.h"
#include "shell/console/ConsoleProgram.h"
#include "simulated/FaultInjector.h"
#include "simulated/MachineLayout.h"
#include "simulated/MachineStateFile.h"
#include "simulated/ScratchMachine.h"
#include "ui/controls/RichEdit.h"
#include "ui/core/ResourceManager.h"
#include "ui/core/SystemConstants.h"
#include "ui/core/WindowTree.h"
#include "ui/headless/HostHeadless.h"
#include "wizard/InstallationStart.h"
#include "wizard/RemovalSteps.h"
#include "wizard/WizardContext.h"

// The header is there without the sanitizers too; the callback lives in their runtime.
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#define CAMPAIGN_HAS_SANITIZER_CALLBACK 1
#endif

// fontconfig, which is not built with the sanitizers, keeps the font patterns that
// pango's caches own until the process ends.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

namespace {

constexpr uint16_t kLanguage = 1033;
constexpr auto kRunLimit = std::chrono::seconds(30);
constexpr ui::Argb kRed = 0xFFFF0000;

// The error codes each call returns on a real system.
const std::map<std::string_view, std::vector<uint32_t>>& CodesOfCalls() {
  static const std::map<std::string_view, std::vector<uint32_t>> codes = {
      {"EnumPrintersW", {5, 8, 1722}},
      {"EnumPrinterDriversW", {5, 8, 1722, 1805}},
      {"EnumPortsW", {5, 8, 1722}},
      {"GetPrinterDriverDirectoryW", {5, 122, 1722, 1805}},
      {"OpenPrinterW", {5, 1722, 1801}},
      {"XcvDataW", {5, 50, 87, 183, 1722}},
      {"AddPortW", {5, 87, 1223, 1796}},
      {"DeletePortW", {5, 1722, 1796}},
      {"ConfigurePortW", {5, 1223, 1796}},
      {"DeletePrinter", {5, 1722, 1801}},
      {"AddPrinterDriverExW", {2, 3, 5, 87, 1722, 1797, 1805}},
      {"AddPrinterW", {5, 1722, 1796, 1797, 1798, 1801, 1802}},
      {"SetDefaultPrinterW", {5, 1722, 1801}},
      {"DeletePrinterDriverExW", {5, 1722, 1797, 1805, 3001}},
      {"DeletePrinterDriverPackageW", {2, 5, 3001, 3015}},
      {"ShellExecuteExW", {2, 3, 5, 31, 1155, 1223}},
      {"SHGetSpecialFolderPathW", {2, 3, 5}},
      {"GetVersionExW", {87, 122}},
      {"IsWow64Process", {5, 6, 87}},
      {"FormatMessageW", {8, 317, 15100}},
      {"GetCurrentDirectoryA", {5, 8}},
      {"CreateDirectoryA", {3, 5, 112, 123, 183}},
      {"GetFileAttributesW", {2, 3, 5, 123}},
      {"CreateFileW", {2, 3, 5, 32, 80, 112, 123}},
      {"WriteFile", {5, 31, 33, 112, 1117}},
      {"MoveFileExW", {2, 3, 5, 17, 32, 183}},
      {"WriteFileEx", {31, 121, 995, 1167}},
      {"SetupDiGetClassDevsW", {8, 87, 0xE000020B}},
      {"SetupDiEnumDeviceInterfaces", {13, 87, 259}},
      {"SetupDiGetDeviceInterfaceDetailW", {87, 122, 1784}},
      {"SetupDiGetDeviceInstanceIdW", {13, 87, 122}},
      {"SetupDiGetDeviceRegistryPropertyW", {13, 87, 122}},
      {"SetupDiEnumDeviceInfo", {87, 259}},
      {"SetupDiOpenDevRegKey", {2, 5, 1010}},
      {"RegOpenKeyExW", {2, 5, 1010}},
      {"RegQueryValueExW", {2, 5, 13, 234}},
      {"LoadLibraryExW", {5, 126, 193, 1114}},
      {"BluetoothFindFirstRadio", {5, 259, 1167}},
      {"BluetoothFindFirstDevice", {87, 259, 1167}},
      {"BluetoothFindNextDevice", {259, 1167}},
      {"BluetoothAuthenticateDevice", {5, 87, 121, 1167, 1223, 1244}},
      {"BluetoothSetServiceState", {5, 87, 1167, 1168}},
      {"BluetoothSetLocalServiceInfo", {5, 87, 1167}},
  };
  return codes;
}

struct Fault {
  std::string call;
  uint32_t code = 0;
  int times = 1;  // below 0: always
};

struct Installation {
  int portKind = PortKind::Com;
  std::wstring portName;
  std::wstring address;  // network: IPv4; Bluetooth: the device's twelve digits
  int model = 203;
  std::wstring printerName;
  bool makeDefault = true;
};

// What one run does, drawn from its seed alone.
struct RunPlan {
  bool removal = false;
  Installation installation;           // the run's own, unless it removes
  std::vector<Installation> earlier;   // made without faults before a removal
  std::vector<std::wstring> printers;  // a removal's choice
  std::set<std::wstring> drivers;
  std::vector<Fault> faults;
};

constexpr uint64_t kBluetoothAddress = 0x001A7DDA7113;

std::wstring Pick(std::mt19937& random, const std::vector<std::wstring>& from) {
  return from[random() % from.size()];
}

Installation DrawInstallation(std::mt19937& random, int index) {
  static const std::vector<int> kinds = {PortKind::Com,     PortKind::Lpt, PortKind::Custom,
                                         PortKind::Network, PortKind::Usb, PortKind::Bluetooth};
  Installation install;
  install.portKind = kinds[random() % kinds.size()];
  install.model = random() % 2 ? 300 : 203;
  install.makeDefault = random() % 2;
  install.printerName = Pick(random, {L"Quorvel office", L"Counter", L"Büro 宋体", L"Lager-2"}) +
                        (index ? L" " + std::to_wstring(index) : L"");
  switch (install.portKind) {
    case PortKind::Com:
      install.portName = Pick(random, {L"COM1:", L"COM2:", L"COM3:", L"COM4:"});
      break;
    case PortKind::Lpt:
      install.portName = Pick(random, {L"LPT1:", L"LPT2:", L"LPT3:"});
      break;
    case PortKind::Custom:
      install.portName = Pick(random, {L"FILE:", L"nul:", L"COM2:", L"LPT1:"});
      break;
    case PortKind::Network:
      install.address = L"10.1." + std::to_wstring(random() % 250 + 1) + L"." + std::to_wstring(index + 1);
      install.portName = L"IP_" + install.address;
      break;
    case PortKind::Usb:
      install.portName = L"USB00" + std::to_wstring(index + 1);
      break;
    default:
      install.address = L"001A7DDA7113";
      break;
  }
  return install;
}

RunPlan DrawPlan(uint32_t seed) {
  std::mt19937 random(seed);
  RunPlan plan;
  plan.removal = random() % 3 == 0;
  if (plan.removal) {
    const int count = 1 + static_cast<int>(random() % 3);
    for (int i = 0; i < count; ++i) {
      Installation install = DrawInstallation(random, i);
      // The machine has one Bluetooth printer: only the first installation pairs it.
      if (install.portKind == PortKind::Bluetooth && i > 0) {
        install.portKind = PortKind::Com;
        install.portName = L"COM3:";
        install.address.clear();
      }
      plan.earlier.push_back(install);
      if (random() % 2) plan.printers.push_back(install.printerName);
    }
    // The removal page lists only drivers that are there.
    for (const auto& install : plan.earlier) {
      if (random() % 2) plan.drivers.insert(L"QuorvelA4-" + std::to_wstring(install.model));
    }
    if (plan.printers.empty() && plan.drivers.empty()) plan.printers.push_back(plan.earlier.front().printerName);
  } else {
    plan.installation = DrawInstallation(random, 0);
  }
  const auto& codes = CodesOfCalls();
  const auto& calls = FaultInjector::KnownCalls();
  const int faults = 1 + static_cast<int>(random() % 4);
  for (int i = 0; i < faults; ++i) {
    Fault fault;
    fault.call = std::string(calls[random() % calls.size()]);
    const auto& choice = codes.at(fault.call);
    fault.code = choice[random() % choice.size()];
    const unsigned how = random() % 4;
    fault.times = how < 2 ? 1 : how == 2 ? 2 + static_cast<int>(random() % 4) : -1;
    plan.faults.push_back(fault);
  }
  return plan;
}

// The devices a plan's ports need, on the current machine.
void PlugDevices(SimulatedMachine& machine, const RunPlan& plan) {
  std::vector<Installation> all = plan.earlier;
  if (!plan.removal) all.push_back(plan.installation);
  for (const auto& install : all) {
    if (install.portKind == PortKind::Usb) {
      SimulatedUsbPrinter usb;
      const std::wstring number = install.portName.substr(5);
      usb.instanceId = L"USB\\VID_1A2B&PID_3C4D\\" + number;
      usb.portNumber = static_cast<uint32_t>(std::stoul(number));
      machine.Devices().PlugUsbPrinter(usb);
    }
    if (install.portKind == PortKind::Bluetooth) {
      machine.Devices().SetAdapter(SimulatedAdapter::On);
      SimulatedBluetoothDevice printer;
      printer.name = L"QA4-Counter";
      printer.address = kBluetoothAddress;
      printer.classOfDevice = 0x040680;
      machine.Devices().AddBluetoothDevice(printer);
    }
  }
}

std::vector<std::wstring> ConsoleArguments(const Installation& install) {
  std::vector<std::wstring> arguments = {L"install",
                                         L"--model",
                                         std::to_wstring(install.model),
                                         L"--port",
                                         PortKindWord(install.portKind),
                                         L"--printer-name",
                                         install.printerName,
                                         L"--default",
                                         install.makeDefault ? L"yes" : L"no",
                                         L"--language",
                                         std::to_wstring(kLanguage)};
  if (!install.address.empty()) arguments.insert(arguments.end(), {L"--address", install.address});
  if (install.portKind != PortKind::Bluetooth) arguments.insert(arguments.end(), {L"--port-name", install.portName});
  return arguments;
}

std::vector<std::wstring> ConsoleArguments(const RunPlan& plan) {
  if (!plan.removal) return ConsoleArguments(plan.installation);
  std::vector<std::wstring> arguments = {L"remove", L"--language", std::to_wstring(kLanguage)};
  for (const auto& name : plan.printers) arguments.insert(arguments.end(), {L"--printer", name});
  for (const auto& name : plan.drivers) arguments.insert(arguments.end(), {L"--driver", name});
  return arguments;
}

struct ConsoleOutcome {
  int code = -1;
  std::wstring out;
  std::wstring err;
  int failedLines = 0;
};

ConsoleOutcome RunConsole(const std::vector<std::wstring>& arguments) {
  ConsoleOutcome outcome;
  ConsoleStreams streams{[&](std::wstring_view text) { outcome.out += text; },
                         [&](std::wstring_view text) { outcome.err += text; },
                         [&](std::wstring_view) { ++outcome.failedLines; }};
  outcome.code = RunConsoleProgram(arguments, streams);
  return outcome;
}

// A fresh machine brought to where the run starts: devices plugged, earlier printers made.
// False when an earlier installation failed (nothing faulted yet: a fault of its own).
bool Prepare(SimulatedMachine& machine, const RunPlan& plan, std::string& problem) {
  machine.SetUiLanguage(kLanguage);
  PlugDevices(machine, plan);
  for (const auto& install : plan.earlier) {
    const ConsoleOutcome outcome = RunConsole(ConsoleArguments(install));
    if (outcome.code != 0) {
      problem = "an installation without faults failed: " + WideToUtf8(outcome.out + outcome.err);
      return false;
    }
  }
  return true;
}

int Inject(SimulatedMachine& machine, const RunPlan& plan) {
  int injected = 0;
  for (const auto& fault : plan.faults) {
    const bool known = fault.times < 0 ? machine.InjectFault(fault.call, fault.code, FaultMode::Always)
                                       : machine.InjectFault(fault.call, fault.code, fault.times);
    injected += known;
  }
  return injected;
}

// Whether a fault answers as Windows does when the device is not there: the end of the
// device set or of the inquiry, a missing registry value. The console program then
// rightly refuses the choice (87).
bool FaultSaysDeviceAbsent(const RunPlan& plan) {
  for (const auto& fault : plan.faults) {
    const bool noMoreItems =
        fault.code == 259 && (fault.call == "SetupDiEnumDeviceInterfaces" || fault.call.starts_with("BluetoothFind"));
    const bool noValue = fault.code == 2 && fault.call.starts_with("Reg");
    if (noMoreItems || noValue) return true;
  }
  return false;
}

// Whether a USB or Bluetooth installation had a call of its device scan failing.
bool DeviceScanFaulted(const RunPlan& plan) {
  if (plan.removal) return false;
  const int kind = plan.installation.portKind;
  if (kind != PortKind::Usb && kind != PortKind::Bluetooth) return false;
  for (const auto& fault : plan.faults) {
    if (fault.call.starts_with("SetupDi") || fault.call.starts_with("Reg") || fault.call.starts_with("Bluetooth")) {
      return true;
    }
  }
  return false;
}

// ---- The rules checked after a run ----

struct LogLine {
  std::wstring text;
  bool red = false;
};

std::vector<LogLine> PaneLines(const ui::RichEdit& pane) {
  std::vector<LogLine> lines;
  const std::wstring text = pane.GetText();
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(L"\r\n", start);
    if (end == std::wstring::npos) end = text.size();
    if (end > start) {
      const auto color = pane.ColorAt(start);
      // The time prefix "hh:mm:ss.mmm : " goes.
      const std::wstring line = text.substr(start, end - start);
      lines.push_back({line.size() > 15 && line[2] == L':' ? line.substr(15) : line, color && *color == kRed});
    }
    start = end + 2;
  }
  return lines;
}

bool StartsWithFormat(const std::wstring& line, const std::wstring& format) {
  const std::wstring head = format.substr(0, format.find(L"%s"));
  return line.compare(0, head.size(), head) == 0;
}

// Which step a line opens, or which step's success it reports; empty when neither.
std::wstring StepOpened(const std::wstring& line) {
  for (const wchar_t* key :
       {L"tip.startcopyfile", L"tip.startinstalldriver", L"tip.startinstallprinter", L"tip.startaddlanport",
        L"tip.startpairbluetooth", L"tip.startdeleteprinter", L"tip.startdeletedriver", L"tip.startdeletepack"}) {
    if (StartsWithFormat(line, GetText(key))) return line;
  }
  return {};
}

bool IsSuccessLine(const std::wstring& line) {
  for (const wchar_t* key : {L"tip.copyfilesuccess", L"tip.installdriversuccess", L"tip.installprintersuccess",
                             L"tip.addlanportsuccess", L"tip.pairbluetoothsuccess", L"tip.deletesuccess"}) {
    if (StartsWithFormat(line, GetText(key))) return true;
  }
  return false;
}

bool IsFinalSuccess(const std::wstring& line, bool removal) {
  return StartsWithFormat(line, GetText(removal ? L"tip.deletesuccess" : L"tip.installprintersuccess"));
}

void CheckLog(const std::vector<LogLine>& lines, bool removal, std::vector<std::string>& broken) {
  if (lines.empty()) {
    broken.push_back("the log is empty");
    return;
  }
  if (!lines.back().red && !IsFinalSuccess(lines.back().text, removal)) {
    broken.push_back("the log's last line is no final line: " + WideToUtf8(lines.back().text));
  }
  std::wstring step;
  bool stepFailed = false;
  for (const auto& line : lines) {
    if (const std::wstring opened = StepOpened(line.text); !opened.empty()) {
      step = opened;
      stepFailed = false;
    } else if (line.red) {
      stepFailed = true;
    } else if (stepFailed && IsSuccessLine(line.text)) {
      broken.push_back("a failed step reports success: " + WideToUtf8(step) + " / " + WideToUtf8(line.text));
    }
  }
}

void CheckState(const SimulatedMachine& machine, std::vector<std::string>& broken) {
  const MachineStateLoad load = LoadMachineState(machine.StateFile());
  if (!load.state) {
    broken.push_back("the state file does not load: " + load.error);
    return;
  }
  const MachineState& state = *load.state;
  const std::wstring environment = machine_layout::Environment(state.settings);
  for (const auto& [key, printer] : state.printers) {
    if (!state.drivers.count(DriverKey(environment, printer.driver))) {
      broken.push_back("printer " + WideToUtf8(printer.name) + " has no driver " + WideToUtf8(printer.driver));
    }
    if (!state.ports.Find(printer.port)) {
      broken.push_back("printer " + WideToUtf8(printer.name) + " has no port " + WideToUtf8(printer.port));
    }
  }
}

// Lower-case file name -> the contents of the package's entries of that name.
std::map<std::string, std::set<std::string>> PackageFiles() {
  std::map<std::string, std::set<std::string>> files;
  const auto package = ui::ResourceManager::Instance().Package();
  ForEachDriverPackageEntry([&](const std::string& name, const std::string& entry) {
    if (const auto bytes = package->ReadEntry(entry)) files[name].insert(std::string(bytes->begin(), bytes->end()));
  });
  return files;
}

void CheckFiles(const std::filesystem::path& driveC, const std::map<std::string, std::set<std::string>>& package,
                std::vector<std::string>& broken) {
  for (const char* folder : {"Windows/System32/spool/drivers", "Program Files (x86)/PrinterDriver"}) {
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(driveC / folder, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
      if (!it->is_regular_file()) continue;
      const std::string name = WideToUtf8(ToLowerUnits(Utf8ToWide(it->path().filename().string())));
      if (name.ends_with(".partial")) {
        broken.push_back("a partial file: " + it->path().string());
        continue;
      }
      const auto known = package.find(name);
      if (known == package.end()) continue;
      std::ifstream file(it->path(), std::ios::binary);
      std::ostringstream bytes;
      bytes << file.rdbuf();
      if (!known->second.count(bytes.str())) broken.push_back("a file unlike the package's: " + it->path().string());
    }
  }
}

// ---- The wizard's run ----

// The wizard's USB and Bluetooth searches that could not look at every device (the page
// shows a red line for each).
int wizardSearchFailures = 0;

// What the removal page lists before the user chooses, before the faults come.
void ListForRemovalPage() {
  auto& context = WizardContext::Instance();
  ListPrinters(context.printerEntries, SystemDriverEnvironment());
  ListDrivers(context.driverEntries, SystemDriverEnvironment());
}

// Starts the run as the wizard's last Next does; false when it could not start.
bool StartWizardRun(const RunPlan& plan) {
  auto& context = WizardContext::Instance();
  // On the run's own page, where its end shows the finish bar.
  context.shownPage = plan.removal ? ShownPage::RemovalWizard : ShownPage::InstallWizard;
  if (plan.removal) {
    context.selectedPrinters = plan.printers;
    context.selectedDrivers = plan.drivers;
    BuildRemovalSummary();
    return StartRemoval();
  }
  const Installation& install = plan.installation;
  InstallRequest& request = context.request;
  request = InstallRequest();
  request.portKind = install.portKind;
  request.modelIndex = install.model == 203 ? 0 : 1;
  request.printerName = install.printerName;
  request.setAsDefault = install.makeDefault ? 1 : 0;
  if (install.portKind == PortKind::Bluetooth) {
    ScanResult<BluetoothDeviceRecord> scan = ScanBluetoothPrinters();
    wizardSearchFailures += !scan.Complete();
    context.bluetoothDevices = std::move(scan.found);
    request.bluetoothIndex = context.bluetoothDevices.empty() ? -1 : 0;
  } else if (install.portKind == PortKind::Usb) {
    ScanResult<UsbPrinterEntry> scan = ScanUsbPrinters();
    wizardSearchFailures += !scan.Complete();
    context.usbPrinters = std::move(scan.found);
    request.usbIndex = context.usbPrinters.empty() ? -1 : 0;
  } else {
    request.portName = install.portName;
    request.ipAddress = install.address;
  }
  return StartInstallation();
}

struct Window {
  ui::HostHeadless* host = nullptr;
  CMainWnd* main = nullptr;
};

void RunInWizard(const Window& window, const RunPlan& plan, std::vector<std::string>& broken) {
  const int threadsBefore = ProcessThreadCount();
  if (!StartWizardRun(plan)) {
    broken.push_back("the wizard's run did not start");
    return;
  }
  auto* finishBar = window.main->FindControl(L"hor_btn_h1");
  const auto deadline = std::chrono::steady_clock::now() + kRunLimit;
  while ((!finishBar->IsVisible() || ProcessThreadCount() > threadsBefore) &&
         std::chrono::steady_clock::now() < deadline) {
    window.host->RunUntilIdle();
    std::this_thread::sleep_for(std::chrono::microseconds(100));
  }
  window.host->RunUntilIdle();
  if (ProcessThreadCount() > threadsBefore) {
    // Its machine cannot be taken away under it: the campaign ends here.
    std::fprintf(stderr, "the wizard's worker did not end within %lld s\n", static_cast<long long>(kRunLimit.count()));
    std::fflush(stderr);
    _exit(3);
  }
  if (!finishBar->IsVisible()) broken.push_back("the finish bar is not shown");
  if (!InstallationLock::TryAcquire().Held()) broken.push_back("the installation lock is held after the run");
  const auto* pane =
      window.main->FindControl<ui::RichEdit>(plan.removal ? L"wordedit_deleteInfo_start" : L"wordedit_installInfo");
  CheckLog(PaneLines(*pane), plan.removal, broken);
}

// ---- Reporting a run that ends the process ----

std::atomic<uint32_t> currentSeed{0};

void SayWhichRun() {
  if (currentSeed == 0) return;  // between runs: a report at exit is no run's
  char text[96];
  const int length = std::snprintf(text, sizeof text, "\nthe run of seed %u ended the campaign\n", currentSeed.load());
  if (length > 0) [[maybe_unused]]
    auto written = write(2, text, static_cast<size_t>(length));
}

void OnFatalSignal(int signal) {
  SayWhichRun();
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

std::string Describe(const RunPlan& plan) {
  std::string text =
      plan.removal ? "removal of" : "installation on " + WideToUtf8(PortKindWord(plan.installation.portKind));
  for (const auto& name : plan.printers) text += " '" + WideToUtf8(name) + "'";
  for (const auto& name : plan.drivers) text += " driver " + WideToUtf8(name);
  text += "; faults:";
  for (const auto& fault : plan.faults) {
    text += " " + fault.call + "=" + std::to_string(fault.code) + "x" +
            (fault.times < 0 ? std::string("always") : std::to_string(fault.times));
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 40;
  uint32_t seed = 20261209u;
  bool verbose = false;
  int progress = 0;  // a line of figures every that many runs, for a campaign that may be stopped
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--runs" && i + 1 < argc) {
      runs = std::atoi(argv[++i]);
    } else if (option == "--seed" && i + 1 < argc) {
      seed = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
    } else if (option == "--progress" && i + 1 < argc) {
      progress = std::atoi(argv[++i]);
    } else if (option == "--verbose") {
      verbose = true;
    } else if (option == "--quick") {
      runs = 10;
    } else {
      std::fprintf(stderr, "usage: FaultCampaign [--runs N] [--seed S] [--progress K] [--verbose] [--quick]\n");
      return 2;
    }
  }
  for (const int signal : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL}) std::signal(signal, OnFatalSignal);
#ifdef CAMPAIGN_HAS_SANITIZER_CALLBACK
  __sanitizer_set_death_callback(SayWhichRun);
#endif
  // A run that takes far longer than its limit is stuck outside the worker: say which.
  std::atomic<int64_t> runStarted{0};
  std::thread([&] {
    for (;;) {
      std::this_thread::sleep_for(std::chrono::seconds(1));
      const int64_t started = runStarted.load();
      const int64_t now = std::chrono::steady_clock::now().time_since_epoch().count();
      if (started != 0 && std::chrono::steady_clock::duration(now - started) > 4 * kRunLimit) {
        std::fprintf(stderr, "the run of seed %u hangs\n", currentSeed.load());
        std::fflush(stderr);
        _exit(3);
      }
    }
  }).detach();

  auto hostOwner = std::make_unique<ui::HostHeadless>(100);
  Window window;
  window.host = hostOwner.get();
  ui::InstallHost(std::move(hostOwner));
  ui::ResourceManager::Instance().SetPackage(OpenEmbeddedPackage());
  ui::ResourceManager::Instance().LoadResourceIndex("res.xml");
  auto& context = WizardContext::Instance();
  FillLanguageTable(context.languageTable);
  const auto package = PackageFiles();
  {
    ScratchMachine machine;
    machine.Machine().SetUiLanguage(kLanguage);
    ui::WindowTree::ClearShared();
    window.main = new CMainWnd();
    window.main->Create(nullptr, L"printer driver", ui::kWsOverlappedWindow | ui::kWsVisible, 0, {0, 0, 900, 640});
    window.host->RunUntilIdle();
  }

  int installations = 0, removals = 0, faultsInjected = 0, brokenRuns = 0, wizardFailures = 0, devicesAbsent = 0;
  std::map<std::string, int> brokenByRule;
  const auto start = std::chrono::steady_clock::now();
  for (int run = 0; run < runs; ++run) {
    const uint32_t runSeed = seed + static_cast<uint32_t>(run);
    currentSeed = runSeed;
    runStarted = std::chrono::steady_clock::now().time_since_epoch().count();
    const RunPlan plan = DrawPlan(runSeed);
    (plan.removal ? removals : installations)++;
    std::vector<std::string> broken;

    {
      ScratchMachine scratch;
      std::string problem;
      if (Prepare(scratch.Machine(), plan, problem)) {
        if (plan.removal) ListForRemovalPage();
        faultsInjected += Inject(scratch.Machine(), plan);
        RunInWizard(window, plan, broken);
        scratch.Machine().ClearFaults();
        const auto* pane = window.main->FindControl<ui::RichEdit>(plan.removal ? L"wordedit_deleteInfo_start"
                                                                               : L"wordedit_installInfo");
        for (const auto& line : PaneLines(*pane)) wizardFailures += line.red;
        CheckState(scratch.Machine(), broken);
        CheckFiles(scratch.Folder() / "drive_c", package, broken);
      } else {
        broken.push_back(problem);
      }
    }
    {
      // The console program from the same start, with the same faults.
      ScratchMachine scratch;
      std::string problem;
      if (Prepare(scratch.Machine(), plan, problem)) {
        Inject(scratch.Machine(), plan);
        const ConsoleOutcome outcome = RunConsole(ConsoleArguments(plan));
        scratch.Machine().ClearFaults();
        const bool failed = outcome.failedLines > 0 || !outcome.err.empty();
        if (outcome.code == kExitBadArguments && DeviceScanFaulted(plan) && FaultSaysDeviceAbsent(plan)) {
          ++devicesAbsent;
        } else if (outcome.code != (failed ? kExitStepFailed : kExitSuccess)) {
          broken.push_back("the console program ended with " + std::to_string(outcome.code) + " after " +
                           std::to_string(outcome.failedLines) +
                           " failed lines: " + WideToUtf8(outcome.out + outcome.err));
        }
        if (!InstallationLock::TryAcquire().Held()) broken.push_back("the console program left the lock held");
        CheckState(scratch.Machine(), broken);
        CheckFiles(scratch.Folder() / "drive_c", package, broken);
      }
    }
    runStarted = 0;
    currentSeed = 0;

    if (!broken.empty()) {
      ++brokenRuns;
      std::printf("seed %u: %s\n", runSeed, Describe(plan).c_str());
      for (const auto& rule : broken) {
        std::printf("  %s\n", rule.c_str());
        brokenByRule[rule.substr(0, rule.find(':'))]++;
      }
      std::fflush(stdout);
    } else if (verbose) {
      std::printf("seed %u: ok: %s\n", runSeed, Describe(plan).c_str());
    }
    if (progress > 0 && (run + 1) % progress == 0) {
      std::printf(
          "after %d runs: faults injected %d, red lines in the wizard %d, failed searches in the wizard %d, "
          "devices absent %d, broken runs %d\n",
          run + 1, faultsInjected, wizardFailures, wizardSearchFailures, devicesAbsent, brokenRuns);
      std::fflush(stdout);
    }
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("runs %d (installations %d, removals %d) from seed %u; faults injected %d; red lines in the wizard %d\n",
              runs, installations, removals, seed, faultsInjected, wizardFailures);
  std::printf("device searches in the wizard that said they failed %d\n", wizardSearchFailures);
  std::printf("console runs refused (87) because a fault answered that the device is not there %d\n", devicesAbsent);
  std::printf("runs that broke a rule %d\n", brokenRuns);
  for (const auto& [rule, count] : brokenByRule) std::printf("  %5d  %s\n", count, rule.c_str());
  std::printf("total %.1f s, %.1f ms per run\n", seconds, runs ? 1000 * seconds / runs : 0.0);
  std::fflush(stdout);
  window.main->DestroyWindow();
  window.host->RunUntilIdle();
  delete window.main;
  context.mainWindow = nullptr;
  return brokenRuns == 0 ? 0 : 1;
}
