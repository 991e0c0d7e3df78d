// The installation worker against the real spooler (Wine's in the test run): a COM1:
// installation leaves the driver, the printer and the default printer; a network one
// stops at its port where the system has no Standard TCP/IP monitor.
#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <algorithm>

#include "engine/DriverModelRecord.h"
#include "engine/RunInstallation.h"
#include "engine/spooler/ContractPlatform.h"
#include "engine/spooler/DriverEnvironment.h"
#include "engine/spooler/SpoolerOperations.h"
#include "engine/spooler/SystemOperations.h"
#include "shell/EmbeddedPackage.h"
#include "ui/core/ResourceManager.h"

namespace {

const std::wstring kPrinter = L"Quorvel installation test";

class InstallationOnWindows : public testing::Test {
 protected:
  void SetUp() override {
    ui::ResourceManager::Instance().SetPackage(OpenEmbeddedPackage());
    // The 64-bit test build picks the 64-bit files and environment as the product does
    // under WOW64: a 64-bit process is on 64-bit Windows.
    if (sizeof(void*) == 8) {
      ASSERT_TRUE(Is64BitWindows()) << "a 64-bit process on 32-bit Windows?";
    }
    defaultBefore_ = contract::DefaultPrinterName();
    DeletePrinterByName(kPrinter);
    driverBefore_ = DriverInstalled(BuildDriverModelRecords()[0].driverName, contract::PrinterDriverEnvironment());
    inputs_.request.portKind = PortKind::Com;
    inputs_.request.portName = L"COM1:";
    inputs_.request.modelIndex = 0;
    inputs_.request.printerName = kPrinter;
    inputs_.request.setAsDefault = 1;
    inputs_.model = BuildDriverModelRecords()[0];
  }
  void TearDown() override {
    DeletePrinterByName(kPrinter);
    if (!defaultBefore_.empty()) SetDefaultPrinterByName(defaultBefore_);
    if (!driverBefore_ && inputs_.model) {
      // The registration only: Wine takes no delete flags, and the files may be shared.
      std::wstring environment = contract::PrinterDriverEnvironment();
      DeletePrinterDriverExW(nullptr, environment.data(), inputs_.model->driverName.data(), 0, 0);
    }
  }

  InstallationInputs inputs_;
  std::wstring defaultBefore_;
  bool driverBefore_ = true;
};

TEST_F(InstallationOnWindows, AComInstallationLeavesDriverPrinterAndDefault) {
  InstallResult result;
  RunInstallation(inputs_, result);
  const std::wstring environment = contract::PrinterDriverEnvironment();
  EXPECT_TRUE(DriverInstalled(inputs_.model->driverName, environment));
  if (!result.succeeded && contract::WineLooksForPrinterDriversAmongTheCallers() &&
      !DriverInstalled(inputs_.model->driverName, kEnvironmentX86)) {
    GTEST_SKIP() << "Wine's 32-bit AddPrinterW looks for the driver among the caller's x86 drivers (1797); Windows "
                    "gives a printer the driver of its own environment, which the installation registered";
  }
  if (!result.succeeded && contract::RunningUnderWine() && contract::CompleteHalfAddedWinePrinter(kPrinter)) {
    GTEST_SKIP() << "Wine's AddPrinterW fails with 1801 for a printer without a data type (Windows takes RAW)";
  }
  ASSERT_TRUE(result.succeeded);
  EXPECT_FALSE(result.networkPortCreated);
  std::vector<SpoolerEntry> printers;
  ListPrinters(printers, environment);
  const auto printer = std::find_if(printers.begin(), printers.end(),
                                    [](const SpoolerEntry& entry) { return entry.printerName == kPrinter; });
  ASSERT_NE(printer, printers.end());
  EXPECT_EQ(printer->driverName, inputs_.model->driverName);
  EXPECT_EQ(contract::DefaultPrinterName(), kPrinter);
}

TEST_F(InstallationOnWindows, ANetworkInstallationWithoutTheTcpIpMonitorStopsAtItsPort) {
  inputs_.request.portKind = PortKind::Network;
  inputs_.request.portName = L"QuorvelTest_10.9.8.7";
  inputs_.request.ipAddress = L"10.9.8.7";
  if (!contract::RunningUnderWine()) GTEST_SKIP() << "Windows has the Standard TCP/IP monitor";
  InstallResult result;
  RunInstallation(inputs_, result);
  EXPECT_FALSE(result.succeeded);
  EXPECT_FALSE(result.networkPortCreated);
  EXPECT_FALSE(PrinterNameExists(kPrinter));
}

}  // namespace
