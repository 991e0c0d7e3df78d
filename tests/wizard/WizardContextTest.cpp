#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <set>
#include <thread>
#include <vector>

#include "shell/app/EmbeddedPackage.h"
#include "ui/core/ResourceManager.h"
#include "wizard/WizardContext.h"

TEST(WizardContext, FreshRequestAndStepSequences) {
  // A default request is what the constructor installs.
  const InstallRequest request;
  EXPECT_EQ(request.portKind, PortKind::None);
  EXPECT_EQ(request.bluetoothIndex, -1);
  EXPECT_EQ(request.usbIndex, -1);
  EXPECT_EQ(request.modelIndex, -1);
  EXPECT_EQ(request.setAsDefault, -1);
  EXPECT_EQ(request.showAllPrinters, -1);
  EXPECT_EQ(request.showAllDrivers, -1);
  EXPECT_EQ(request.pin, L"9371");
  EXPECT_EQ(request.useCustomPin, 0);

  auto& context = WizardContext::Instance();
  EXPECT_EQ(context.usbSteps, (std::vector<int>{0, 1, 2, 4, 7, 8, 9}));
  EXPECT_EQ(context.bluetoothSteps, (std::vector<int>{0, 1, 3, 4, 7, 8, 9}));
  EXPECT_EQ(context.networkSteps, (std::vector<int>{0, 4, 6, 7, 8, 9}));
  EXPECT_EQ(context.portListSteps, (std::vector<int>{0, 4, 5, 7, 8, 9}));
  ASSERT_EQ(context.driverModels.size(), 2u);
  EXPECT_EQ(context.driverModels[0].driverName, L"QuorvelA4-203");
  EXPECT_EQ(context.driverModels[1].driverName, L"QuorvelA4-300");
}

TEST(WizardContext, OneInstanceOnEveryThread) {
  WizardContext* const mine = &WizardContext::Instance();
  std::vector<std::thread> threads;
  std::atomic<int> same{0};
  for (int i = 0; i < 8; ++i) {
    threads.emplace_back([&] {
      if (&WizardContext::Instance() == mine) ++same;
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(same, 8);
}

TEST(WizardContext, LogLinesToNoWindowAreLostWithoutWaiting) {
  auto& context = WizardContext::Instance();
  const auto saved = context.mainWindow;
  context.mainWindow = nullptr;
  context.AppendInstallLog(L"nobody reads this", true, false);
  context.AppendRemoveLog(L"", false, true);
  context.mainWindow = saved;
  SUCCEED();
}

// Workers are never joined: a process whose entry point returns while a worker still
// logs, reads texts and copies the context must end cleanly with its exit code.
TEST(WizardContextDeathTest, ReturningFromTheEntryPointWhileAWorkerRuns) {
  EXPECT_EXIT(
      {
        ui::ResourceManager::Instance().SetPackage(OpenEmbeddedPackage());
        std::thread([] {
          for (;;) {
            auto& context = WizardContext::Instance();
            const auto models = context.driverModels;
            context.AppendInstallLog(ui::GetText(L"tip.startcopyfile"), false, false);
            auto package = ui::ResourceManager::Instance().Package();
            if (package) package->EntrySize("res.xml");
          }
        }).detach();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ui::ResourceManager::Instance().Terminate();
        std::exit(0);
      },
      testing::ExitedWithCode(0), "");
}
