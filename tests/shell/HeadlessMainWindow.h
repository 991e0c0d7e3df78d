// Tests of the main window and the wizard: the headless host with the program's package,
// its resource index and the language table, as start-up leaves them, and the main window
// made in a chosen language against the test's simulated machine.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "shell/EmbeddedPackage.h"
#include "shell/Languages.h"
#include "shell/app/MainWnd.h"
#include "simulated/SimulatedMachine.h"
#include "ui/core/ResourceManager.h"
#include "ui/core/SystemConstants.h"
#include "ui/core/WindowTree.h"
#include "ui/headless/HostHeadless.h"
#include "wizard/WizardContext.h"

class HeadlessMainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    auto host = std::make_unique<ui::HostHeadless>(100);
    host_ = host.get();
    ui::InstallHost(std::move(host));
    ui::WindowTree::ClearShared();
    ui::ResourceManager::Instance().SetPackage(OpenEmbeddedPackage());
    ui::ResourceManager::Instance().LoadResourceIndex("res.xml");
    auto& context = WizardContext::Instance();
    if (context.languageTable.empty()) FillLanguageTable(context.languageTable);
  }

  void TearDown() override {
    if (window_ && window_->IsWindow()) window_->DestroyWindow();
    host_->RunUntilIdle();
    delete window_;
    window_ = nullptr;
    WizardContext::Instance().mainWindow = nullptr;
  }

  // The main window, started in the language the machine's system uses.
  CMainWnd* OpenMainWindow(uint16_t language = 1033, int width = 560, int height = 400) {
    SimulatedMachine::Current()->SetUiLanguage(language);
    window_ = new CMainWnd();
    EXPECT_NE(
        window_->Create(nullptr, L"printer driver", ui::kWsOverlappedWindow | ui::kWsVisible, 0, {0, 0, width, height}),
        nullptr);
    host_->RunUntilIdle();
    return window_;
  }

  ui::HostHeadless* host_ = nullptr;
  CMainWnd* window_ = nullptr;
};
