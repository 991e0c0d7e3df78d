// The removal worker against the simulated spooler: its exact English log, its messages to
// the main window, what it deletes and what the spooler refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "base/MessageBus.h"
#include "devices/RemovalTestSpooler.h"
#include "devices/RemovalWorker.h"
#include "engine/spooler/DriverEnvironment.h"
#include "engine/spooler/SpoolerOperations.h"
#include "engine/spooler/SystemOperations.h"
#include "shell/EmbeddedPackage.h"
#include "shell/Languages.h"
#include "shell/MainWindowMessages.h"
#include "shell/UiTextMessage.h"
#include "simulated/SimulatedMachine.h"
#include "ui/core/ResourceManager.h"

namespace {

// Stands in for the main window: records the numbered messages and the log lines. The
// worker runs on the thread that registered it, so every send is handled at once.
class MainWindowRecorder {
 public:
  MainWindowRecorder() {
    handle_ = ui::MessageBus::Instance().Register([this](uint32_t message, uintptr_t wParam, intptr_t lParam) {
      if (message == kMsgRemoveLog) {
        const auto* payload = reinterpret_cast<const UiTextMessage*>(lParam);
        if (payload->flag2) {
          lines.clear();
          log += L"<clear>";
        } else {
          lines.push_back({payload->text, payload->flag1 != 0});
        }
      } else {
        messages.push_back({message, wParam});
      }
      return intptr_t{0};
    });
  }
  ~MainWindowRecorder() { ui::MessageBus::Instance().Unregister(handle_); }

  ui::WindowHandle Handle() const { return handle_; }

  std::vector<std::pair<std::wstring, bool>> lines;  // text, error flag
  std::vector<std::pair<uint32_t, uintptr_t>> messages;
  std::wstring log;

 private:
  ui::WindowHandle handle_ = nullptr;
};

class RemovalWorkerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto& resources = ui::ResourceManager::Instance();
    resources.SetPackage(OpenEmbeddedPackage());
    resources.LoadResourceIndex("res.xml");
    ASSERT_TRUE(resources.LoadLanguage(L"lan_en.xml"));
    previousLanguage_ = MessageLanguageId();
    SetMessageLanguageId(0x0409);
  }
  void TearDown() override { SetMessageLanguageId(previousLanguage_); }

  RemovalJob Job(std::vector<std::wstring> printers, std::set<std::wstring> drivers) {
    RemovalJob job;
    job.mainWindow = recorder_.Handle();
    job.printers = std::move(printers);
    job.drivers = std::move(drivers);
    job.systemEnvironment = SystemDriverEnvironment();
    ListDrivers(job.driverEntries, job.systemEnvironment);
    return job;
  }

  static SimulatedMachine& Machine() { return *SimulatedMachine::Current(); }

  MainWindowRecorder recorder_;
  uint16_t previousLanguage_ = 0;
};

using Lines = std::vector<std::pair<std::wstring, bool>>;

TEST_F(RemovalWorkerTest, TwoPrintersAndTwoDriversWithOneRefusalLogInEnglish) {
  ASSERT_TRUE(InstallTestDriver(L"QuorvelA4-203"));
  ASSERT_TRUE(InstallTestDriver(L"QuorvelA4-300"));
  ASSERT_TRUE(AddTestPrinter(L"Front desk", L"QuorvelA4-203"));
  ASSERT_TRUE(AddTestPrinter(L"Back office", L"QuorvelA4-300"));
  ASSERT_TRUE(AddTestPrinter(L"Store room", L"QuorvelA4-300"));

  // The drivers are listed in name order whatever the order of choosing; the 300 dpi
  // driver stays in use by "Store room", which was not chosen.
  RemovalWorker(Job({L"Front desk", L"Back office"}, {L"QuorvelA4-300", L"QuorvelA4-203"}));

  const Lines expected = {
      {L"Start deleting the printer: Front desk", false},
      {L"Delete: Front desk successfully", false},
      {L"Start deleting the printer: Back office", false},
      {L"Delete: Back office successfully", false},
      {L"Start deleting the driver: QuorvelA4-203", false},
      {L"Delete: QuorvelA4-203 successfully", false},
      {L"Start deleting the driver: QuorvelA4-300", false},
      {L"Delete: QuorvelA4-300 failed", true},
      {L"Reason for failure: Code: 3001 - The specified printer driver is currently in use. [Store room]\r\n", true},
  };
  EXPECT_EQ(recorder_.lines, expected);
  EXPECT_EQ(recorder_.log, L"<clear>");
  EXPECT_FALSE(PrinterListed(L"Front desk"));
  EXPECT_FALSE(PrinterListed(L"Back office"));
  EXPECT_TRUE(PrinterListed(L"Store room"));
  EXPECT_FALSE(DriverListed(L"QuorvelA4-203"));
  EXPECT_TRUE(DriverListed(L"QuorvelA4-300"));

  const std::vector<std::pair<uint32_t, uintptr_t>> messages = {{kMsgRemoveAnimation, 1},
                                                                {kMsgFinishBar, 0},
                                                                {kMsgFinishActions, 0},
                                                                {kMsgWizardBar, 0},
                                                                {kMsgRemoveAnimation, 0}};
  EXPECT_EQ(recorder_.messages, messages);
  // One pause after each printer and each driver, on the machine's clock.
  EXPECT_EQ(Machine().RequestedDelayMs(), 4u * 200u);
}

TEST_F(RemovalWorkerTest, PackagesGoWithTheirDriversFromVistaOnAndOnlyWithAnInfPath) {
  ASSERT_TRUE(InstallTestDriver(L"No package"));  // added without an INF: no package
  const RemovalJob job = Job({}, {L"Remote Desktop Easy Print", L"No package"});
  Machine().SetWindowsVersion(5, 1, 2600);
  const auto before = Machine().Snapshot().driverPackages.size();
  RemovalWorker(job);
  const Lines withoutPackages = {
      {L"Start deleting the driver: No package", false},
      {L"Delete: No package successfully", false},
      {L"Start deleting the driver: Remote Desktop Easy Print", false},
      {L"Delete: Remote Desktop Easy Print successfully", false},
  };
  EXPECT_EQ(recorder_.lines, withoutPackages);
  EXPECT_EQ(Machine().Snapshot().driverPackages.size(), before);
}

TEST_F(RemovalWorkerTest, ADriverPackageIsDeletedAfterItsDriver) {
  const RemovalJob job = Job({}, {L"Remote Desktop Easy Print"});
  const auto before = Machine().Snapshot().driverPackages.size();
  RemovalWorker(job);
  const Lines expected = {
      {L"Start deleting the driver: Remote Desktop Easy Print", false},
      {L"Delete: Remote Desktop Easy Print successfully", false},
      {L"Start deleting the package: Remote Desktop Easy Print", false},
      {L"Delete: Remote Desktop Easy Print successfully", false},
  };
  EXPECT_EQ(recorder_.lines, expected);
  EXPECT_EQ(Machine().Snapshot().driverPackages.size(), before - 1);
}

TEST_F(RemovalWorkerTest, FailuresAreLoggedRedAndTheRunGoesOn) {
  ASSERT_TRUE(Machine().InjectFault("DeletePrinterDriverPackageW", 5, FaultMode::Once));
  // A printer that does not exist, a driver whose version is not 3, one that goes but
  // whose package is refused.
  RemovalWorker(Job({L"Nowhere"}, {L"Microsoft Print To PDF", L"Remote Desktop Easy Print", L"Not installed"}));
  const Lines expected = {
      {L"Start deleting the printer: Nowhere", false},
      {L"Delete: Nowhere failed", true},
      {L"Reason for failure: Code: 1801 - The printer name is invalid.\r\n", true},
      {L"Start deleting the driver: Microsoft Print To PDF", false},
      {L"Delete: Microsoft Print To PDF failed", true},
      {L"Reason for failure: Code: 1797 - The printer driver is unknown.\r\n", true},
      {L"Start deleting the driver: Remote Desktop Easy Print", false},
      {L"Delete: Remote Desktop Easy Print successfully", false},
      {L"Start deleting the package: Remote Desktop Easy Print", false},
      {L"Delete: Remote Desktop Easy Print failed", true},
      {L"Reason for failure: Code: 5 - Access is denied.\r\n", true},
  };
  EXPECT_EQ(recorder_.lines, expected);
  EXPECT_TRUE(PrinterListed(L"Microsoft Print to PDF"));
}

TEST(RemovalSpoolerRules, APackageWhoseDriverIsInstalledStays) {
  std::vector<SpoolerEntry> drivers;
  ListDrivers(drivers, SystemDriverEnvironment());
  const auto pdf = std::find_if(drivers.begin(), drivers.end(), [](const SpoolerEntry& entry) {
    return entry.driverName == L"Microsoft Print To PDF";
  });
  ASSERT_NE(pdf, drivers.end());
  ASSERT_FALSE(pdf->infPath.empty());
  const PackageDeletionResult inUse = DeletePrinterDriverPackageByInf(pdf->infPath, pdf->environment);
  EXPECT_EQ(inUse.state, PackageDeletion::Failed);
  EXPECT_EQ(inUse.outcome.Error(), 3015u);
  EXPECT_EQ(DeletePrinterByName(L"No such printer").Error(), 1801u);
}

TEST(RemovalWorkList, OnlyChosenNamesWithAnEntryOfExactlyThatName) {
  const std::vector<SpoolerEntry> entries = {
      {L"", L"B", L"first"}, {L"", L"a", L""}, {L"", L"B", L"second"}, {L"", L"Bb", L""}};
  const auto work = BuildDriverWorkList({L"B", L"A", L"missing"}, entries, kEnvironmentX64);
  ASSERT_EQ(work.size(), 1u);
  EXPECT_EQ(work.at(L"B").infPath, L"second") << "a later equal entry replaces an earlier one";
}

TEST(RemovalFailureReason, NamesGoBeforeTheLineBreakAndStandAloneWithoutAText) {
  SetMessageLanguageId(0x0409);
  EXPECT_EQ(RemovalFailureReason(3001, {L"A", L"B"}),
            L"Code: 3001 - The specified printer driver is currently in use. [A, B]\r\n");
  EXPECT_EQ(RemovalFailureReason(3001, {}), L"Code: 3001 - The specified printer driver is currently in use.\r\n");
  EXPECT_EQ(RemovalFailureReason(70000, {L"A"}), L"[A]");
}

}  // namespace
