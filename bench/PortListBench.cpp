// Entering the install wizard's port list (panel 5) with 100, 1,000 and 10,000 ports in
// the simulated spooler: the time from Next on the model panel until the list is painted,
// split into building the rows and the layout and paint that follows. Port kind Custom,
// so every port becomes a row. Then one wheel step over the list until it is painted
// (the median of 20, half of them down, half up, in the middle of the list), each also as
// CPU time of the UI thread (on a busy machine the wall time holds others' turns), and the
// process's resident memory with that list shown (the sizes run in one process, smallest
// first). The median of five entries each, with the headless host; --quick: 100 ports,
// one entry.
// Run: build/linux/bench/PortListBench [--quick]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "BenchFigures.h"
#include "shell/EmbeddedPackage.h"
#include "shell/Languages.h"
#include "shell/app/MainWnd.h"
#include "simulated/ScratchMachine.h"
#include "ui/controls/List.h"
#include "ui/controls/TabLayout.h"
#include "ui/core/ResourceManager.h"
#include "ui/core/SystemConstants.h"
#include "ui/core/WindowTree.h"
#include "ui/headless/HostHeadless.h"
#include "wizard/WizardContext.h"

namespace {

using bench::Clock;
using bench::Median;
using bench::Ms;
int runs = 5;
constexpr int kWheelSteps = 20;

struct Figures {
  double build = 0;
  double paint = 0;
  double cpu = 0;  // of the UI thread, build and paint
  double wheel = 0;
  double wheelCpu = 0;
  long residentKiB = 0;
  int rows = 0;
};

long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmRSS:")) return std::stol(line.substr(6));
  }
  return 0;
}

// One wheel notch at a time over the list, until painted: wall and UI-thread CPU.
void WheelStep(ui::HostHeadless& host, ui::WindowHandle window, ui::List& list, Figures& figures) {
  list.SelectRow(list.GetRowCount() / 2);  // into the middle, as a user who scrolled there
  host.RunUntilIdle();
  const ui::Rect place = list.GetPos();
  const ui::Point over{place.left + place.Width() / 2, place.top + place.Height() * 2 / 3};
  std::vector<double> steps, cpu;
  for (int step = 0; step < kWheelSteps; ++step) {
    const auto start = Clock::now();
    const double cpuStart = bench::ThreadCpuMs();
    host.Wheel(window, over, step < kWheelSteps / 2 ? -120 : 120);
    host.RunUntilIdle();
    steps.push_back(Ms(Clock::now() - start));
    cpu.push_back(bench::ThreadCpuMs() - cpuStart);
  }
  figures.wheel = Median(steps);
  figures.wheelCpu = Median(cpu);
}

Figures Measure(size_t ports) {
  ScratchMachine machine;
  machine.Machine().PopulateForBenchmark(0, ports);
  auto host = std::make_unique<ui::HostHeadless>(100);
  ui::HostHeadless* headless = host.get();
  ui::InstallHost(std::move(host));
  ui::WindowTree::ClearShared();

  auto& context = WizardContext::Instance();
  context.request = InstallRequest{};
  auto* window = new CMainWnd();
  window->Create(nullptr, L"bench", ui::kWsOverlappedWindow | ui::kWsVisible, 0, {0, 0, 900, 640});
  headless->RunUntilIdle();
  for (ui::TabLayout* tab : {context.mainTab, context.installTab}) {
    if (tab) tab->SetAnimation(false);
  }
  context.Next();  // index page to the port kinds
  context.request.portKind = PortKind::Custom;
  context.Next();  // the model panel
  headless->RunUntilIdle();

  std::vector<double> builds, paints, cpus;
  Figures figures;
  for (int run = 0; run < runs; ++run) {
    const auto start = Clock::now();
    const double cpuStart = bench::ThreadCpuMs();
    context.Next();  // onto the port list
    const auto built = Clock::now();
    headless->RunUntilIdle();
    const auto painted = Clock::now();
    builds.push_back(Ms(built - start));
    paints.push_back(Ms(painted - built));
    cpus.push_back(bench::ThreadCpuMs() - cpuStart);
    if (auto* list = window->FindControl<ui::List>(L"listex_install_driver_port"); list && run == runs - 1) {
      figures.rows = list->GetRowCount();
      figures.residentKiB = ResidentKiB();
      WheelStep(*headless, window->GetHWND(), *list, figures);
    }
    context.Back();
    headless->RunUntilIdle();
  }
  window->DestroyWindow();
  headless->RunUntilIdle();
  delete window;
  context.mainWindow = nullptr;
  figures.build = Median(builds);
  figures.paint = Median(paints);
  figures.cpu = Median(cpus);
  return figures;
}

}  // namespace

int main(int argc, char** argv) {
  const bool quick = bench::QuickMode(argc, argv);
  if (quick) runs = 1;
  ui::ResourceManager::Instance().SetPackage(OpenEmbeddedPackage());
  ui::ResourceManager::Instance().LoadResourceIndex("res.xml");
  FillLanguageTable(WizardContext::Instance().languageTable);
  std::printf("Entering the port list (panel 5), median of %d, headless host; a wheel step, median of %d\n", runs,
              kWheelSteps);
  std::printf("%8s %8s %10s %10s %10s %10s %10s %10s %12s\n", "ports", "rows", "build ms", "paint ms", "total ms",
              "cpu ms", "wheel ms", "wheel cpu", "resident MiB");
  const std::vector<size_t> sizes = quick ? std::vector<size_t>{100} : std::vector<size_t>{100, 1000, 10000};
  for (size_t ports : sizes) {
    const Figures f = Measure(ports);
    std::printf("%8zu %8d %10.2f %10.2f %10.2f %10.2f %10.3f %10.3f %12.1f\n", ports, f.rows, f.build, f.paint,
                f.build + f.paint, f.cpu, f.wheel, f.wheelCpu, f.residentKiB / 1024.0);
  }
  return 0;
}
