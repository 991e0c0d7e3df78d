// The driver of a model installed on the simulated machine the two ways the installation
// does it: files into the driver directory and a registration (the SpoolerMethod), or an
// install folder, the certificate and the printer-installation applet (the FolderMethod).
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "engine/CopyPackageEntry.h"
#include "engine/DriverModelRecord.h"
#include "engine/spooler/FileOperations.h"
#include "engine/spooler/ShellCommands.h"
#include "engine/spooler/SpoolerOperations.h"
#include "engine/spooler/SystemOperations.h"
#include "shell/app/EmbeddedPackage.h"
#include "shell/Languages.h"
#include "base/WideText.h"
#include "simulated/SimulatedMachine.h"
#include "ui/core/ResourceManager.h"

namespace {

SimulatedMachine& Machine() {
  return *SimulatedMachine::Current();
}

bool HostFileExists(const std::wstring& windowsPath) {
  const auto host = Machine().HostPath(windowsPath);
  return host && std::filesystem::is_regular_file(*host);
}

std::string StateFileText(const SimulatedMachine& machine) {
  std::ifstream in(machine.StateFile(), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

PrinterDriverRecord Registration(const DriverModelRecord& model, const std::wstring& dependentFiles) {
  PrinterDriverRecord driver;
  driver.driverName = model.driverName;
  driver.driverFile = model.driverFile;
  driver.dataFile = model.dataFile;
  driver.configurationFile = model.configurationFile;
  driver.helpFile = model.helpFile;
  driver.dependentFiles = dependentFiles;
  return driver;
}

class DriverInstall : public testing::Test {
 protected:
  void SetUp() override { ui::ResourceManager::Instance().SetPackage(OpenEmbeddedPackage()); }

  // The SpoolerMethod's copy step: every file of the architecture's list into the driver
  // directory, each name followed by a NUL, two more NULs at the end.
  static std::wstring CopySpoolerList(const DriverModelRecord& model) {
    const std::wstring directory = GetDriverDirectory();
    std::wstring dependentFiles;
    for (const auto& path : Is64BitWindows() ? model.spoolerList64 : model.spoolerList32) {
      EXPECT_TRUE(CopyPackageEntry(path, directory, dependentFiles)) << WideToUtf8(path);
      dependentFiles += L'\0';
    }
    return dependentFiles + std::wstring(2, L'\0');
  }

  // The FolderMethod's extraction into the install folder; returns the folder.
  static std::wstring ExtractInstallFolder(const DriverModelRecord& model) {
    const std::wstring base = ProgramFilesFolder().value_or(L"C:") + L"\\PrinterDriver\\Vexlomar\\";
    EXPECT_EQ(CreateDirectoryPath(base), 1);
    for (const auto& folder : model.subFolders) EXPECT_EQ(CreateDirectoryPath(base + folder), 1);
    std::wstring unused;
    const std::pair<const std::vector<std::wstring>*, std::wstring> lists[] = {
        {&model.folderListRoot, base},
        {&model.folderListIA64, base + L"ia64\\"},
        {&model.folderList64, base + L"Driver64\\"},
        {&model.folderList32, base + L"Driver32\\"},
    };
    for (const auto& [list, target] : lists) {
      for (const auto& path : *list) EXPECT_TRUE(CopyPackageEntry(path, target, unused)) << WideToUtf8(path);
    }
    return base;
  }
};

TEST_F(DriverInstall, The300DpiDriverLandsInTheDriverFolderAndTheStateFileAndOutlivesTheRun) {
  const DriverModelRecord model = BuildDriverModelRecords()[1];
  ASSERT_TRUE(AddPrinterDriverLevel6(Registration(model, CopySpoolerList(model)))) << LastErrorCode();

  for (const wchar_t* file : {L"QuorvelA4UI300.dll", L"QuorvelA4UNI300.dll", L"QuorvelA4300.pcd", L"plotuia4.hlp"}) {
    EXPECT_TRUE(HostFileExists(GetDriverDirectory() + file)) << WideToUtf8(file);
    EXPECT_TRUE(HostFileExists(GetDriverDirectory() + L"3\\" + file)) << "installed: " << WideToUtf8(file);
  }
  const std::string state = StateFileText(Machine());
  EXPECT_NE(state.find("name=\"QuorvelA4-300\""), std::string::npos);
  EXPECT_NE(state.find("driverFile=\"QuorvelA4UNI300.DLL\""), std::string::npos);

  // The next start of the program opens the same folder and finds the driver there.
  const auto scratch = SimulatedMachine::Current();
  auto next = SimulatedMachine::Open(scratch->Folder());
  ASSERT_TRUE(next.machine) << next.error;
  SimulatedMachine::Install(next.machine);
  EXPECT_TRUE(DriverInstalled(L"QuorvelA4-300"));
  EXPECT_TRUE(HostFileExists(L"C:\\Windows\\System32\\spool\\drivers\\x64\\3\\QuorvelA4UNI300.dll"));
  SimulatedMachine::Install(scratch);
}

TEST_F(DriverInstall, AnInjectedRegistrationFailureComesBackWithItsCodeAndText) {
  const DriverModelRecord model = BuildDriverModelRecords()[1];
  const std::wstring files = CopySpoolerList(model);
  ASSERT_TRUE(Machine().InjectFault("AddPrinterDriverExW", 5, FaultMode::Once));
  EXPECT_FALSE(AddPrinterDriverLevel6(Registration(model, files)));
  const uint32_t error = LastErrorCode();
  EXPECT_EQ(error, 5u);
  SetMessageLanguageId(0x0409);
  EXPECT_EQ(FormatSystemError(error), L"Code: 5 - Access is denied.\r\n");
  EXPECT_FALSE(DriverInstalled(model.driverName));
  EXPECT_EQ(StateFileText(Machine()).find("QuorvelA4-300"), std::string::npos);
}

TEST_F(DriverInstall, ARegistrationNamingAMissingFileIsRefused) {
  const DriverModelRecord model = BuildDriverModelRecords()[0];
  PrinterDriverRecord driver = Registration(model, std::wstring(L"absent.gpd") + L'\0' + L'\0');
  CopySpoolerList(model);
  EXPECT_FALSE(AddPrinterDriverLevel6(driver));
  EXPECT_EQ(LastErrorCode(), 2u);
  EXPECT_FALSE(DriverInstalled(model.driverName));
}

TEST_F(DriverInstall, TheFolderMethodInstallsThroughTheCertificateAndTheApplet) {
  const DriverModelRecord model = BuildDriverModelRecords()[0];
  const std::wstring base = ExtractInstallFolder(model);
  EXPECT_EQ(base, L"C:\\Program Files (x86)\\PrinterDriver\\Vexlomar\\");
  // "ia64" is the folder "IA64": the file system ignores letter case.
  EXPECT_TRUE(HostFileExists(base + L"IA64\\QuorvelA4UNI203.dll"));
  EXPECT_FALSE(Machine().HostPath(base + L"ia64")->filename() == "ia64");

  ASSERT_TRUE(IsVersion62OrLater());
  EXPECT_TRUE(InstallCertificate(base + model.certificateFile, nullptr));
  const MachineState afterCertificate = Machine().Snapshot();
  ASSERT_EQ(afterCertificate.trustedPublishers.size(), 1u);
  EXPECT_EQ(afterCertificate.trustedPublishers[0].subject, L"Vexlomar Printer Driver Publisher");

  ASSERT_TRUE(RunDriverInstallApplet(model.driverName, base + L"Driver64\\" + model.infFile, nullptr));
  ASSERT_TRUE(DriverInstalled(model.driverName)) << WideToUtf8(Machine().ShellEvents().back().shown);
  std::vector<SpoolerEntry> drivers;
  ListDrivers(drivers);
  const auto driver = std::find_if(drivers.begin(), drivers.end(),
                                   [&](const SpoolerEntry& entry) { return entry.driverName == model.driverName; });
  ASSERT_NE(driver, drivers.end());
  EXPECT_EQ(driver->infPath.rfind(L"C:\\Windows\\System32\\DriverStore\\FileRepository\\quorvela4.inf_amd64_", 0), 0u)
      << WideToUtf8(driver->infPath);
  EXPECT_TRUE(HostFileExists(L"C:\\Windows\\System32\\spool\\drivers\\x64\\3\\QuorvelA4203.pcd"));

  // The printer on it; the applet's other commands show what the user would see.
  ASSERT_TRUE(AddPrinterLevel2({L"Quorvel-A4(203)", L"LPT1:", model.driverName, L"WinPrint", 0x40}));
  PrintTestPage(L"Quorvel-A4(203)", nullptr);
  OpenPrintingPreferences(L"Quorvel-A4(203)", nullptr);
  OpenPrinterProperties(L"Quorvel-A4(203)", nullptr);
  const auto events = Machine().ShellEvents();
  ASSERT_EQ(events.size(), 5u);
  EXPECT_EQ(events[2].shown, L"A test page has been sent to Quorvel-A4(203).");
  EXPECT_EQ(events[3].shown, L"Quorvel-A4(203) Printing Preferences");
  EXPECT_EQ(events[4].shown, L"Quorvel-A4(203) Properties");
  EXPECT_EQ(Machine().Snapshot().printers.at(L"quorvel-a4(203)").jobs, std::vector<std::wstring>{L"Test Page"});
  EXPECT_GE(Machine().RequestedDelayMs(), 2500u) << "the waits for certutil and the applet";

  // Removal: the package stays while its driver does, the driver while its printer does.
  EXPECT_EQ(DeletePrinterDriverPackageByInf(driver->infPath), PackageDeletion::Failed);
  EXPECT_EQ(LastErrorCode(), 3015u);
  EXPECT_FALSE(DeletePrinterDriverVersion3(model.driverName));
  EXPECT_EQ(DeletePrinterByName(L"Quorvel-A4(203)"), 0u);
  EXPECT_TRUE(DeletePrinterDriverVersion3(model.driverName));
  EXPECT_FALSE(HostFileExists(L"C:\\Windows\\System32\\spool\\drivers\\x64\\3\\QuorvelA4203.pcd"));
  EXPECT_EQ(DeletePrinterDriverPackageByInf(driver->infPath), PackageDeletion::Deleted);
  EXPECT_FALSE(Machine().HostPath(driver->infPath) && std::filesystem::exists(*Machine().HostPath(driver->infPath)));
}

TEST_F(DriverInstall, TheAppletRefusesAnInfWhoseFilesAreMissing) {
  const DriverModelRecord model = BuildDriverModelRecords()[1];
  const std::wstring base = ExtractInstallFolder(model);
  ASSERT_EQ(Machine().DeleteFile(base + L"Driver64\\QuorvelA4300.pcd"), 0u);
  EXPECT_TRUE(RunDriverInstallApplet(model.driverName, base + L"Driver64\\" + model.infFile, nullptr));
  EXPECT_FALSE(DriverInstalled(model.driverName));
  EXPECT_EQ(Machine().ShellEvents().back().shown,
            L"Printer User Interface: Operation could not be completed (error 0x00000002).");

  EXPECT_TRUE(RunDriverInstallApplet(L"QuorvelA4-600", base + L"Driver32\\" + model.infFile, nullptr));
  EXPECT_EQ(Machine().ShellEvents().back().exitCode, 1797u) << "no such model in the INF";
}

TEST_F(DriverInstall, TheCertificateToolTakesOnlyCertificates) {
  const DriverModelRecord model = BuildDriverModelRecords()[0];
  const std::wstring base = ExtractInstallFolder(model);
  EXPECT_TRUE(InstallCertificate(base + L"Driver64\\" + model.infFile, nullptr));
  EXPECT_TRUE(InstallCertificate(base + L"no-such.cer", nullptr));
  EXPECT_TRUE(Machine().Snapshot().trustedPublishers.empty());
  InstallCertificate(base + model.certificateFile, nullptr);
  InstallCertificate(base + model.certificateFile, nullptr);
  EXPECT_EQ(Machine().Snapshot().trustedPublishers.size(), 1u);
  EXPECT_NE(Machine().ShellEvents().back().shown.find(L"already in store"), std::wstring::npos);
}

}  // namespace
