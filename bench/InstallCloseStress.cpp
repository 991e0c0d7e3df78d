// Starts the installation on the simulated machine and closes the main window at a
// random moment, many times in a row; prints how many runs crashed, hung or left a
// half-written file in the driver or install folders. Build it with the address
// sanitizer (preset linux-asan) so that a use after free ends the program.
//
//   bench/InstallCloseStress [runs] [seed]
//   bench/InstallCloseStress --quick          (20 runs)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <string_view>
#include <thread>

#include "BenchFigures.h"
#include "DriverPackageEntries.h"
#include "ProcessThreads.h"
#include "base/WideText.h"
#include "engine/DriverModelRecord.h"
#include "shell/EmbeddedPackage.h"
#include "shell/Languages.h"
#include "shell/app/MainWnd.h"
#include "simulated/ScratchMachine.h"
#include "ui/core/ResourceManager.h"
#include "ui/core/SystemConstants.h"
#include "ui/core/WindowTree.h"
#include "ui/headless/HostHeadless.h"
#include "wizard/InstallationStart.h"
#include "wizard/WizardContext.h"

namespace {

// Lower-case file name -> the sizes of the package entries of that name.
std::map<std::string, std::set<uintmax_t>> ExpectedSizes() {
  std::map<std::string, std::set<uintmax_t>> sizes;
  const auto package = ui::ResourceManager::Instance().Package();
  ForEachDriverPackageEntry([&](const std::string& name, const std::string& entry) {
    if (const auto size = package->EntrySize(entry)) sizes[name].insert(*size);
  });
  return sizes;
}

// Files the run wrote that are not whole: leftovers of a write, or a size no entry has.
int HalfWrittenFiles(const std::filesystem::path& driveC, const std::map<std::string, std::set<uintmax_t>>& sizes) {
  int bad = 0;
  for (const char* folder : {"Windows/System32/spool/drivers", "Program Files (x86)/PrinterDriver"}) {
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(driveC / folder, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
      if (!it->is_regular_file()) continue;
      std::string name = it->path().filename().string();
      for (auto& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      const bool partial = name.size() > 8 && name.ends_with(".partial");
      const auto known = sizes.find(name);
      if (partial || (known != sizes.end() && !known->second.count(it->file_size()))) {
        std::fprintf(stderr, "half-written: %s\n", it->path().c_str());
        ++bad;
      }
    }
  }
  return bad;
}

}  // namespace

int main(int argc, char** argv) {
  const bool quick = bench::QuickMode(argc, argv);
  const int runs = quick ? 20 : argc > 1 ? std::atoi(argv[1]) : 500;
  const unsigned seed = argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 20261208u;
  std::mt19937 random(seed);

  auto hostOwner = std::make_unique<ui::HostHeadless>(100);
  ui::HostHeadless* host = hostOwner.get();
  ui::InstallHost(std::move(hostOwner));
  ui::ResourceManager::Instance().SetPackage(OpenEmbeddedPackage());
  ui::ResourceManager::Instance().LoadResourceIndex("res.xml");
  auto& context = WizardContext::Instance();
  FillLanguageTable(context.languageTable);
  const auto sizes = ExpectedSizes();

  int hangs = 0, halfWritten = 0, printersAdded = 0, closedBeforeEnd = 0;
  int perKind[4] = {};
  double slowest = 0;
  const auto start = std::chrono::steady_clock::now();
  for (int run = 0; run < runs; ++run) {
    ScratchMachine scratch;
    ui::WindowTree::ClearShared();
    auto* window = new CMainWnd();
    window->Create(nullptr, L"printer driver", ui::kWsOverlappedWindow | ui::kWsVisible, 0, {0, 0, 560, 400});
    host->RunUntilIdle();

    const int kind = static_cast<int>(random() % 4);
    ++perKind[kind];
    InstallRequest& request = context.request;
    request = InstallRequest();
    request.modelIndex = static_cast<int>(random() % 2);
    request.printerName = L"Stress printer";
    request.setAsDefault = 1;
    request.portKind = kind == 1 ? PortKind::Lpt : kind == 2 ? PortKind::Network : PortKind::Com;
    request.portName = kind == 1 ? L"LPT1:" : kind == 2 ? L"IP_10.1.2.3" : L"COM1:";
    request.ipAddress = L"10.1.2.3";
    if (kind == 3) scratch.Machine().InjectFault("AddPrinterDriverExW", 5, FaultMode::Once);

    // On the install wizard's last page, where the run's finish bar shows.
    context.shownPage = ShownPage::InstallWizard;
    const int threadsBefore = ProcessThreadCount();
    const auto runStart = std::chrono::steady_clock::now();
    StartInstallation();
    // A random moment: the window's loop runs for up to 3 s, the worker's messages
    // handled as they come, then the user closes the window.
    const auto closeAt = std::chrono::steady_clock::now() + std::chrono::microseconds(random() % 3000000);
    auto* finishRow = window->FindControl(L"hor_btn_h1");
    while (std::chrono::steady_clock::now() < closeAt && !finishRow->IsVisible()) {
      host->RunUntilIdle();
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    const bool finished = finishRow->IsVisible();
    closedBeforeEnd += !finished;
    window->DestroyWindow();
    host->RunUntilIdle();
    delete window;
    context.mainWindow = nullptr;

    // The worker ends by itself once its sends find no window.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (ProcessThreadCount() > threadsBefore && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (ProcessThreadCount() > threadsBefore) {
      std::fprintf(stderr, "run %d: the worker did not end within 30 s\n", run);
      ++hangs;
      break;  // its machine cannot be taken away under it
    }
    slowest = std::max(slowest, std::chrono::duration<double>(std::chrono::steady_clock::now() - runStart).count());
    printersAdded += scratch.Machine().Snapshot().printers.count(L"stress printer") ? 1 : 0;
    halfWritten += HalfWrittenFiles(scratch.Folder() / "drive_c", sizes);
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("runs %d (COM %d, LPT %d, network %d, fallback %d), seed %u\n", runs, perKind[0], perKind[1], perKind[2],
              perKind[3], seed);
  std::printf("window closed before the run ended %d; printers added %d (the worker goes on without its window)\n",
              closedBeforeEnd, printersAdded);
  std::printf("crashes 0 (the program got here), hangs %d, half-written files %d\n", hangs, halfWritten);
  std::printf("total %.1f s, %.1f ms per run, slowest run %.1f ms\n", seconds, 1000 * seconds / runs, 1000 * slowest);
  return hangs == 0 && halfWritten == 0 ? 0 : 1;
}
