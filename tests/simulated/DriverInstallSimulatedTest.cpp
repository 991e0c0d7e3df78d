// The driver of a model installed on the simulated machine the two ways the installation
// does it: files into the driver directory and a registration (the SpoolerMethod), or an
// install folder, the certificate and the printer-installation applet (the FolderMethod).
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "base/WideText.h"
#include "engine/DriverModelRecord.h"
#include "engine/FolderMethod.h"
#include "engine/SpoolerMethod.h"
#include "engine/spooler/DriverEnvironment.h"
#include "engine/spooler/FileOperations.h"
#include "engine/spooler/ShellCommands.h"
#include "engine/spooler/SpoolerOperations.h"
#include "engine/spooler/SystemOperations.h"
#include "shell/EmbeddedPackage.h"
#include "shell/Languages.h"
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

class DriverInstall : public testing::Test {
 protected:
  void SetUp() override { ui::ResourceManager::Instance().SetPackage(OpenEmbeddedPackage()); }

  static std::wstring Environment() { return NativeDriverEnvironment(Is64BitWindows()); }

  // The SpoolerMethod's copy step; every copy must work here.
  static DependentFileList CopySpoolerList(const DriverModelRecord& model) {
    DependentFileList files;
    const auto failures = CopySpoolerFiles(SpoolerFileList(model, Is64BitWindows()),
                                           GetDriverDirectory(Environment()).ValueOr(L""), files);
    for (const auto& failure : failures) ADD_FAILURE() << WideToUtf8(failure.relativePath) << ": " << failure.error;
    return files;
  }

  static PrinterDriverRecord Registration(const DriverModelRecord& model, const DependentFileList& files) {
    return DriverRegistration(model, Environment(), files);
  }

  // The FolderMethod's extraction into the install folder; returns the folder.
  static std::wstring ExtractInstallFolder(const DriverModelRecord& model) {
    const std::wstring base = InstallFolderBase();
    EXPECT_EQ(CreateDirectoryPath(base), 1);
    EXPECT_TRUE(CreateInstallSubFolders(base, model));
    EXPECT_EQ(::ExtractInstallFolder(base, model), std::nullopt);
    return base;
  }
};

TEST_F(DriverInstall, The300DpiDriverLandsInTheDriverFolderAndTheStateFileAndOutlivesTheRun) {
  const DriverModelRecord model = BuildDriverModelRecords()[1];
  const SystemOutcome added = AddPrinterDriverLevel6(Registration(model, CopySpoolerList(model)));
  ASSERT_TRUE(added) << added.Error();

  const std::wstring directory = GetDriverDirectory(Environment()).ValueOr(L"");
  EXPECT_EQ(directory, L"C:\\Windows\\System32\\spool\\drivers\\x64\\");
  for (const wchar_t* file : {L"QuorvelA4UI300.dll", L"QuorvelA4UNI300.dll", L"QuorvelA4300.pcd", L"plotuia4.hlp"}) {
    EXPECT_TRUE(HostFileExists(directory + file)) << WideToUtf8(file);
    EXPECT_TRUE(HostFileExists(directory + L"3\\" + file)) << "installed: " << WideToUtf8(file);
  }
  const std::string state = StateFileText(Machine());
  EXPECT_NE(state.find("name=\"QuorvelA4-300\""), std::string::npos);
  EXPECT_NE(state.find("driverFile=\"QuorvelA4UNI300.DLL\""), std::string::npos);

  // The next start of the program opens the same folder and finds the driver there.
  const auto scratch = SimulatedMachine::Current();
  auto next = SimulatedMachine::Open(scratch->Folder());
  ASSERT_TRUE(next.machine) << next.error;
  SimulatedMachine::Install(next.machine);
  EXPECT_TRUE(DriverInstalled(L"QuorvelA4-300", kEnvironmentX64));
  EXPECT_TRUE(HostFileExists(L"C:\\Windows\\System32\\spool\\drivers\\x64\\3\\QuorvelA4UNI300.dll"));
  SimulatedMachine::Install(scratch);
}

TEST_F(DriverInstall, AnInjectedRegistrationFailureComesBackWithItsCodeAndText) {
  const DriverModelRecord model = BuildDriverModelRecords()[1];
  const DependentFileList files = CopySpoolerList(model);
  ASSERT_TRUE(Machine().InjectFault("AddPrinterDriverExW", 5, FaultMode::Once));
  const uint32_t error = AddPrinterDriverLevel6(Registration(model, files)).Error();
  EXPECT_EQ(error, 5u);
  SetMessageLanguageId(0x0409);
  EXPECT_EQ(FormatSystemError(error), L"Code: 5 - Access is denied.\r\n");
  EXPECT_FALSE(DriverInstalled(model.driverName, Environment()));
  EXPECT_EQ(StateFileText(Machine()).find("QuorvelA4-300"), std::string::npos);
}

TEST_F(DriverInstall, ARegistrationNamingAMissingFileIsRefused) {
  const DriverModelRecord model = BuildDriverModelRecords()[0];
  DependentFileList absent;
  absent.AppendName(L"absent.gpd");
  absent.EndName();
  absent.Close();
  const PrinterDriverRecord driver = Registration(model, absent);
  CopySpoolerList(model);
  EXPECT_EQ(AddPrinterDriverLevel6(driver).Error(), 2u);
  EXPECT_FALSE(DriverInstalled(model.driverName, Environment()));
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

  ASSERT_TRUE(RunDriverInstallApplet(model.driverName, InstallFolderInf(base, model, Is64BitWindows()), nullptr));
  ASSERT_TRUE(DriverInstalled(model.driverName, Environment())) << WideToUtf8(Machine().ShellEvents().back().shown);
  EXPECT_FALSE(DriverInstalled(model.driverName)) << "a 32-bit program asking without an environment sees x86 drivers";
  std::vector<SpoolerEntry> drivers;
  ListDrivers(drivers, Environment());
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
  const PackageDeletionResult inUse = DeletePrinterDriverPackageByInf(driver->infPath, Environment());
  EXPECT_EQ(inUse.state, PackageDeletion::Failed);
  EXPECT_EQ(inUse.outcome.Error(), 3015u);
  EXPECT_FALSE(DeletePrinterDriverVersion3(model.driverName, Environment()));
  EXPECT_EQ(DeletePrinterByName(L"Quorvel-A4(203)").Error(), 0u);
  EXPECT_EQ(DeletePrinterDriverVersion3(model.driverName).Error(), 1797u) << "no x86 driver of that name";
  EXPECT_TRUE(DeletePrinterDriverVersion3(model.driverName, Environment()));
  EXPECT_FALSE(HostFileExists(L"C:\\Windows\\System32\\spool\\drivers\\x64\\3\\QuorvelA4203.pcd"));
  EXPECT_EQ(DeletePrinterDriverPackageByInf(driver->infPath).state, PackageDeletion::Failed) << "an amd64 package";
  EXPECT_EQ(DeletePrinterDriverPackageByInf(driver->infPath, Environment()).state, PackageDeletion::Deleted);
  EXPECT_FALSE(Machine().HostPath(driver->infPath) && std::filesystem::exists(*Machine().HostPath(driver->infPath)));
}

TEST_F(DriverInstall, TheAppletRefusesAnInfWhoseFilesAreMissing) {
  const DriverModelRecord model = BuildDriverModelRecords()[1];
  const std::wstring base = ExtractInstallFolder(model);
  ASSERT_EQ(Machine().DeleteFile(base + L"Driver64\\QuorvelA4300.pcd"), 0u);
  EXPECT_TRUE(RunDriverInstallApplet(model.driverName, InstallFolderInf(base, model, true), nullptr));
  EXPECT_FALSE(DriverInstalled(model.driverName, Environment()));
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
