// Windows protected print mode on the simulated machine: the switch, kept in the state
// file, and a spooler that then refuses every driver but the inbox ones, both ways the
// installation adds one.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "base/WideText.h"
#include "engine/CopyPackageEntry.h"
#include "engine/DriverModelRecord.h"
#include "engine/spooler/FileOperations.h"
#include "engine/spooler/ProtectedPrintMode.h"
#include "engine/spooler/ShellCommands.h"
#include "engine/spooler/SpoolerOperations.h"
#include "engine/spooler/SystemOperations.h"
#include "shell/EmbeddedPackage.h"
#include "simulated/SimulatedMachine.h"
#include "ui/core/ResourceManager.h"

namespace {

SimulatedMachine& Machine() {
  return *SimulatedMachine::Current();
}

class ProtectedPrintSimulated : public testing::Test {
 protected:
  void SetUp() override { ui::ResourceManager::Instance().SetPackage(OpenEmbeddedPackage()); }

  // The registration of the spooler way, its files copied into the driver directory
  // (dependent files: each name followed by a NUL, two more NULs at the end).
  static PrinterDriverRecord CopiedRegistration(const DriverModelRecord& model) {
    std::wstring dependentFiles;
    for (const auto& path : model.spoolerList64) {
      EXPECT_TRUE(CopyPackageEntry(path, GetDriverDirectory().ValueOr(L""), dependentFiles)) << WideToUtf8(path);
      dependentFiles += L'\0';
    }
    dependentFiles += std::wstring(2, L'\0');
    PrinterDriverRecord driver;
    driver.driverName = model.driverName;
    driver.driverFile = model.driverFile;
    driver.dataFile = model.dataFile;
    driver.configurationFile = model.configurationFile;
    driver.helpFile = model.helpFile;
    driver.dependentFiles = dependentFiles;
    return driver;
  }

  // The applet way's driver folder; returns the INF's path.
  static std::wstring ExtractedInf(const DriverModelRecord& model) {
    const std::wstring folder = ProgramFilesFolder().value_or(L"C:") + L"\\PrinterDriver\\Vexlomar\\Driver64\\";
    EXPECT_EQ(CreateDirectoryPath(folder), 1);
    std::wstring unused;
    for (const auto& path : model.folderList64) EXPECT_TRUE(CopyPackageEntry(path, folder, unused));
    return folder + model.infFile;
  }
};

}  // namespace

TEST_F(ProtectedPrintSimulated, TheSwitchIsDetectedAsTheSettingsPageAndOutlivesTheRun) {
  const ProtectedPrintMode off = DetectProtectedPrintMode();
  EXPECT_FALSE(off.enabled);
  EXPECT_EQ(off.source, ProtectedPrintSource::None);

  Machine().SetProtectedPrintMode(true);
  const ProtectedPrintMode on = DetectProtectedPrintMode();
  EXPECT_TRUE(on.enabled);
  EXPECT_EQ(on.source, ProtectedPrintSource::SettingsPage);
  EXPECT_FALSE(on.runtimeQueryAvailable) << "the simulated machine stands for Windows 10, which has no runtime query";

  auto next = SimulatedMachine::Open(Machine().Folder());
  ASSERT_TRUE(next.machine) << next.error;
  EXPECT_TRUE(next.machine->ProtectedPrintModeOn());
  std::ifstream in(Machine().StateFile());
  std::ostringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("protectedPrintMode=\"true\""), std::string::npos);
}

TEST_F(ProtectedPrintSimulated, TheSpoolerRefusesTheVendorDriverBothWaysAndTakesItOnceTheModeIsOff) {
  const auto models = BuildDriverModelRecords();
  Machine().SetProtectedPrintMode(true);

  // The spooler way: files copied, the registration refused with access denied.
  const PrinterDriverRecord registration = CopiedRegistration(models[1]);
  EXPECT_EQ(AddPrinterDriverLevel6(registration).Error(), 5u);
  EXPECT_FALSE(DriverInstalled(models[1].driverName));

  // The applet way: the applet starts, shows its failure and installs nothing.
  const std::wstring inf = ExtractedInf(models[0]);
  EXPECT_TRUE(RunDriverInstallApplet(models[0].driverName, inf, nullptr));
  EXPECT_EQ(Machine().ShellEvents().back().exitCode, 5u);
  EXPECT_NE(Machine().ShellEvents().back().shown.find(L"0x00000005"), std::wstring::npos);
  EXPECT_FALSE(DriverInstalled(models[0].driverName, SystemDriverEnvironment()));
  EXPECT_EQ(Machine().Snapshot().driverPackages.size(), 4u) << "nothing staged in the driver store";

  // The inbox drivers stay usable: a printer on one is still added.
  EXPECT_TRUE(AddPrinterLevel2({L"PDF copy", L"FILE:", L"Microsoft Print To PDF", L"WinPrint", 0x40}));

  Machine().SetProtectedPrintMode(false);
  const SystemOutcome added = AddPrinterDriverLevel6(registration);
  EXPECT_TRUE(added) << added.Error();
  EXPECT_TRUE(RunDriverInstallApplet(models[0].driverName, inf, nullptr));
  EXPECT_TRUE(DriverInstalled(models[0].driverName, SystemDriverEnvironment()));
}
