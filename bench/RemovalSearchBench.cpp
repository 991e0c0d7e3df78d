// The removal wizard's printer search on a large spooler: printers of the family in the
// simulated spooler, the main window on the headless host at the printer panel, and one
// character typed into the search field (every printer still matches, so the whole list
// is rebuilt), then the character taken away again. The time runs from the key to the
// end of the paint of the rebuilt list: the spooler's enumeration, the filter, the rows,
// the layout and the paint.
// Run: build/linux/bench/RemovalSearchBench [printers ...]   (default 1000 2500 5000 10000)
//      build/linux/bench/RemovalSearchBench --quick           (1000 printers, one round)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "BenchFigures.h"
#include "engine/spooler/FileOperations.h"
#include "engine/spooler/SpoolerOperations.h"
#include "shell/app/MainWnd.h"
#include "shell/app/StartUp.h"
#include "simulated/ScratchMachine.h"
#include "ui/controls/List.h"
#include "ui/core/SystemConstants.h"
#include "ui/headless/HostHeadless.h"
#include "wizard/WizardContext.h"

namespace {

using bench::Clock;
using bench::Median;
using bench::Ms;
using bench::ThreadCpuMs;
int rounds = 5;

bool FillSpooler(SimulatedMachine& machine, int printers) {
  PrinterDriverRecord driver;
  driver.driverName = L"QuorvelA4-203";
  driver.driverFile = L"bench_drv.dll";
  driver.dataFile = L"bench.gpd";
  driver.configurationFile = L"bench_ui.dll";
  // The system's environment, as the product names it: only such drivers serve printers.
  driver.environment = SystemDriverEnvironment();
  const std::vector<uint8_t> bytes = {'M', 'Z'};
  const auto directory = GetDriverDirectory(driver.environment);
  if (!directory) return false;
  const std::wstring& folder = *directory;
  for (const auto* file : {&driver.driverFile, &driver.dataFile, &driver.configurationFile}) {
    if (!WriteWholeFile(folder + *file, bytes)) return false;
  }
  if (!AddPrinterDriverLevel6(driver)) return false;
  SimulatedMachine::Batch batch(machine);
  for (int i = 0; i < printers; ++i) {
    PrinterRecord printer;
    printer.printerName = L"Bench printer " + std::to_wstring(i);
    printer.driverName = driver.driverName;
    printer.portName = L"nul:";
    if (!AddPrinterLevel2(printer)) return false;
  }
  return true;
}

struct Figures {
  double typeMs = 0;  // median of the rounds
  double typeCpuMs = 0;
  double eraseMs = 0;
  int rows = 0;
};

bool Measure(int printers, Figures& figures) {
  ScratchMachine machine;
  machine.Machine().SetUiLanguage(1033);
  if (!FillSpooler(machine.Machine(), printers)) {
    std::fprintf(stderr, "RemovalSearchBench: the spooler could not be filled\n");
    return false;
  }
  auto host = std::make_unique<ui::HostHeadless>(100);
  ui::HostHeadless* headless = host.get();
  ui::InstallHost(std::move(host));
  auto window = std::make_unique<CMainWnd>();
  if (!window->Create(nullptr, L"printer driver", ui::kWsOverlappedWindow | ui::kWsVisible, 0,
                      ui::Rect{0, 0, 900, 640})) {
    std::fprintf(stderr, "RemovalSearchBench: the main window could not be created\n");
    return false;
  }
  const auto handle = window->GetHWND();
  headless->RunUntilIdle();
  headless->ClickControl(handle, L"option_delete");
  headless->ClickControl(handle, L"btn_setup_next");
  headless->RunUntilIdle();
  headless->ClickControl(handle, L"edit_find_deletePrinter");
  headless->RunUntilIdle();

  std::vector<double> type, typeCpu, erase;
  for (int round = 0; round < rounds; ++round) {
    auto start = Clock::now();
    const double cpuStart = ThreadCpuMs();
    headless->TypeText(handle, L"q");
    headless->RunUntilIdle();
    type.push_back(Ms(Clock::now() - start));
    typeCpu.push_back(ThreadCpuMs() - cpuStart);
    start = Clock::now();
    headless->PressKey(handle, ui::kVkBack);
    headless->RunUntilIdle();
    erase.push_back(Ms(Clock::now() - start));
  }
  figures.typeMs = Median(type);
  figures.typeCpuMs = Median(typeCpu);
  figures.eraseMs = Median(erase);
  figures.rows = window->FindControl<ui::List>(L"listex_delete_printer")->GetRowCount();
  window->DestroyWindow();
  headless->RunUntilIdle();
  WizardContext::Instance().mainWindow = nullptr;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> sizes;
  for (int i = 1; i < argc; ++i) {
    if (std::string_view(argv[i]) == "--quick") {
      rounds = 1;
      sizes = {1000};
      break;
    }
    sizes.push_back(std::atoi(argv[i]));
  }
  if (sizes.empty()) sizes = {1000, 2500, 5000, 10000};
  OpenResourcePackage(ExecutableDirectory());
  FillContextLanguageTable();
  std::printf("removal printer search, one character typed until the list is painted (median of %d)\n", rounds);
  std::printf("%9s %6s %10s %10s %10s %14s\n", "printers", "rows", "type ms", "type cpu", "erase ms", "us per printer");
  for (int printers : sizes) {
    Figures figures;
    if (!Measure(printers, figures)) return 1;
    std::printf("%9d %6d %10.1f %10.1f %10.1f %14.2f\n", printers, figures.rows, figures.typeMs, figures.typeCpuMs,
                figures.eraseMs, figures.typeMs * 1000.0 / printers);
  }
  return 0;
}
