#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <set>
#include <thread>
#include <vector>

#include "WaitUntil.h"
#include "shell/EmbeddedPackage.h"
#include "ui/core/ResourceManager.h"
#include "wizard/WizardContext.h"

// Each sequence runs forward through the panels, starts on the port-kind panel and ends
// with the printer name, the summary and the run; each kind visits its own panels only.
TEST(WizardContext, StepSequencesVisitTheirKindsPanelsInOrder) {
  auto& context = WizardContext::Instance();
  struct Expected {
    const std::vector<int>* steps;
    std::set<int> own;
  };
  const Expected sequences[] = {{&context.usbSteps, {1, 2}},
                                {&context.bluetoothSteps, {1, 3}},
                                {&context.networkSteps, {6}},
                                {&context.portListSteps, {5}}};
  const std::set<int> kindPanels{1, 2, 3, 5, 6};
  for (const auto& [steps, own] : sequences) {
    ASSERT_GE(steps->size(), 5u);
    EXPECT_TRUE(std::is_sorted(steps->begin(), steps->end()));
    EXPECT_EQ(steps->front(), 0);
    EXPECT_EQ(std::vector<int>(steps->end() - 3, steps->end()), (std::vector<int>{7, 8, 9}));
    EXPECT_EQ(std::count(steps->begin(), steps->end(), 4), 1) << "the model panel once";
    std::set<int> visited;
    for (int panel : *steps) {
      if (kindPanels.count(panel)) visited.insert(panel);
    }
    EXPECT_EQ(visited, own);
  }
  ASSERT_EQ(context.driverModels.size(), 2u);
  EXPECT_EQ(context.driverModels[0].driverName, L"QuorvelA4-203");
  EXPECT_EQ(context.driverModels[1].driverName, L"QuorvelA4-300");
}

// Workers are never joined: a process whose entry point returns while a worker still
// logs, reads texts and copies the context must end cleanly with its exit code.
TEST(WizardContextDeathTest, ReturningFromTheEntryPointWhileAWorkerRuns) {
  EXPECT_EXIT(
      {
        ui::ResourceManager::Instance().SetPackage(OpenEmbeddedPackage());
        std::atomic<bool> logged{false};
        std::thread([&logged] {
          for (;;) {
            auto& context = WizardContext::Instance();
            const auto models = context.driverModels;
            context.AppendInstallLog(ui::GetText(L"tip.startcopyfile"), false, false);
            auto package = ui::ResourceManager::Instance().Package();
            if (package) package->EntrySize("res.xml");
            logged = true;
          }
        }).detach();
        WaitUntil([&] { return logged.load(); }, std::chrono::seconds(5));
        ui::ResourceManager::Instance().Terminate();
        std::exit(0);
      },
      testing::ExitedWithCode(0), "");
}
