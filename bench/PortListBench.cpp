// Entering the install wizard's port list (panel 5) with 100, 1,000 and 10,000 ports in
// the simulated spooler: the time from Next on the model panel until the list is painted,
// split into building the rows and the layout and paint that follows. Port kind Custom,
// so every port becomes a row. The median of five entries each, with the headless host.
// Run: build/linux/bench/PortListBench
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

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

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 5;

double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

struct Figures {
  double build = 0;
  double paint = 0;
  int rows = 0;
};

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

  std::vector<double> builds, paints;
  int rows = 0;
  for (int run = 0; run < kRuns; ++run) {
    const auto start = Clock::now();
    context.Next();  // onto the port list
    const auto built = Clock::now();
    headless->RunUntilIdle();
    const auto painted = Clock::now();
    builds.push_back(Ms(built - start));
    paints.push_back(Ms(painted - built));
    if (auto* list = window->FindControl<ui::List>(L"listex_install_driver_port")) rows = list->GetRowCount();
    context.Back();
    headless->RunUntilIdle();
  }
  window->DestroyWindow();
  headless->RunUntilIdle();
  delete window;
  context.mainWindow = nullptr;
  return {Median(builds), Median(paints), rows};
}

}  // namespace

int main() {
  ui::ResourceManager::Instance().SetPackage(OpenEmbeddedPackage());
  ui::ResourceManager::Instance().LoadResourceIndex("res.xml");
  FillLanguageTable(WizardContext::Instance().languageTable);
  std::printf("Entering the port list (panel 5), median of %d, headless host\n", kRuns);
  std::printf("%8s %8s %12s %12s %12s\n", "ports", "rows", "build ms", "paint ms", "total ms");
  for (size_t ports : {size_t{100}, size_t{1000}, size_t{10000}}) {
    const Figures f = Measure(ports);
    std::printf("%8zu %8d %12.2f %12.2f %12.2f\n", ports, f.rows, f.build, f.paint, f.build + f.paint);
  }
  return 0;
}
