// The spooler operations against the platform: the simulated machine in the Linux build,
// Wine's spooler in the Windows test program. Where Wine lacks a service of Windows the
// test is skipped and says which; the simulated machine follows Windows.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/WideText.h"
#include "engine/DriverModelRecord.h"
#include "engine/SpoolerMethod.h"
#include "engine/spooler/ContractPlatform.h"
#include "engine/spooler/DriverEnvironment.h"
#include "engine/spooler/SpoolerOperations.h"
#include "engine/spooler/SystemOperations.h"
#include "engine/spooler/TcpIpPortData.h"
#include "shell/EmbeddedPackage.h"
#include "ui/core/ResourceManager.h"

namespace {

const std::wstring kDriver = L"Quorvel Contract Driver";
const std::wstring kPrinter = L"Quorvel contract printer";

const SpoolerEntry* FindEntry(const std::vector<SpoolerEntry>& list, const std::wstring& first, bool byDriver = false) {
  const auto it = std::find_if(list.begin(), list.end(), [&](const SpoolerEntry& entry) {
    return (byDriver ? entry.driverName : entry.printerName) == first;
  });
  return it == list.end() ? nullptr : &*it;
}

// The driver of the 203 dpi model under a name of the tests' own, copied and registered
// by the installation's SpoolerMethod, for the environment of the system's printers.
SystemOutcome CopyContractFiles(const DriverModelRecord& model, const std::wstring& environment,
                                DependentFileList& files) {
  const auto directory = GetDriverDirectory(environment);
  if (!directory) return directory.Outcome();
  const auto failures = CopySpoolerFiles(SpoolerFileList(model, environment == kEnvironmentX64), *directory, files);
  return failures.empty() ? SystemOutcome() : SystemOutcome::Failure(failures.front().error);
}

SystemOutcome InstallContractDriver() {
  const DriverModelRecord model = BuildDriverModelRecords()[0];
  const std::wstring environment = contract::PrinterDriverEnvironment();
  DependentFileList files;
  if (const SystemOutcome copied = CopyContractFiles(model, environment, files); !copied) return copied;
  PrinterDriverRecord driver = DriverRegistration(model, environment, files);
  driver.driverName = kDriver;
  if (const SystemOutcome added = AddPrinterDriverLevel6(driver); !added) return added;
  if (!contract::WineLooksForPrinterDriversAmongTheCallers()) return {};
  // The same driver with the 32-bit files for the caller's environment, where Wine looks.
  DependentFileList x86Files;
  if (const SystemOutcome copied = CopyContractFiles(model, kEnvironmentX86, x86Files); !copied) return copied;
  PrinterDriverRecord x86 = DriverRegistration(model, kEnvironmentX86, x86Files);
  x86.driverName = kDriver;
  return AddPrinterDriverLevel6(x86);
}

PrinterRecord ContractPrinter() {
  PrinterRecord printer;
  printer.printerName = kPrinter;
  printer.portName = L"COM1:";
  printer.driverName = kDriver;
  return printer;
}

std::vector<uint8_t> LocalPortData(const std::wstring& name) {
  std::vector<uint8_t> bytes;
  for (wchar_t c : name + L'\0') {
    bytes.push_back(static_cast<uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<uint8_t>((c >> 8) & 0xFF));
  }
  return bytes;
}

class SpoolerContract : public testing::Test {
 protected:
  void SetUp() override { ui::ResourceManager::Instance().SetPackage(OpenEmbeddedPackage()); }
};

// A printer of the tests' own, on a driver of their own, for the length of one test.
class SpoolerContractPrinter : public SpoolerContract {
 protected:
  void SetUp() override {
    SpoolerContract::SetUp();
    defaultBefore_ = contract::DefaultPrinterName();
    DeletePrinterByName(kPrinter);  // left over by a run that was cut short
    const SystemOutcome installed = InstallContractDriver();
    ASSERT_TRUE(installed) << "error " << installed.Error();
    if (const SystemOutcome added = AddPrinterLevel2(ContractPrinter()); !added) {
      const uint32_t error = added.Error();
      // The add itself is checked by AddPrinterMakesAPrinterThatOpens; here the printer
      // is only the subject of other operations.
      ASSERT_TRUE(error == 1801 && contract::CompleteHalfAddedWinePrinter(kPrinter)) << "error " << error;
    }
  }
  void TearDown() override {
    DeletePrinterByName(kPrinter);
    if (!defaultBefore_.empty() && contract::DefaultPrinterName() != defaultBefore_) {
      SetDefaultPrinterByName(defaultBefore_);
    }
  }

 private:
  std::wstring defaultBefore_;
};

std::wstring MonitorOf(const std::wstring& port) {
  std::vector<SpoolerEntry> ports;
  ListPorts(ports);
  const SpoolerEntry* entry = FindEntry(ports, port);
  return entry ? entry->infPath : L"";
}

TEST_F(SpoolerContract, PortsListTheLocalPortsAndAreFoundByExactName) {
  std::vector<SpoolerEntry> ports{{L"stale", L"", L""}};
  ListPorts(ports);
  for (const wchar_t* name : {L"COM1:", L"LPT1:", L"FILE:"}) {
    const SpoolerEntry* port = FindEntry(ports, name);
    ASSERT_NE(port, nullptr) << WideToUtf8(name);
    EXPECT_EQ(port->infPath, MonitorOf(L"COM1:")) << "one monitor for the local ports";
    EXPECT_FALSE(port->infPath.empty()) << "the monitor name";
    EXPECT_FALSE(port->driverName.empty()) << "the description";
  }
  EXPECT_EQ(FindEntry(ports, L"stale"), nullptr);
  EXPECT_TRUE(PortExists(L"COM1:"));
  EXPECT_FALSE(PortExists(L"com1:"));
  EXPECT_FALSE(PortExists(L"COM1"));
}

TEST_F(SpoolerContract, LocalPortsBelongToTheLocalPortMonitor) {
  const std::wstring monitor = MonitorOf(L"COM1:");
  if (monitor == L"Local Monitor" && contract::RunningUnderWine()) {
    GTEST_SKIP() << "Wine names the local ports' monitor \"Local Monitor\" in the port list (Windows: \"Local Port\")";
  }
  EXPECT_EQ(monitor, L"Local Port");
  EXPECT_EQ(MonitorOf(L"LPT1:"), L"Local Port");
}

TEST_F(SpoolerContract, DriverDirectoryExistsAndEndsWithABackslash) {
  for (const std::wstring& environment : {std::wstring(), contract::PrinterDriverEnvironment()}) {
    const auto found = GetDriverDirectory(environment);
    ASSERT_TRUE(found) << WideToUtf8(environment) << ": error " << found.Error();
    const std::wstring& directory = *found;
    ASSERT_FALSE(directory.empty());
    EXPECT_EQ(directory.back(), L'\\');
    EXPECT_TRUE(contract::DirectoryExists(directory.substr(0, directory.size() - 1)));
  }
  const auto unknown = GetDriverDirectory(L"Windows 3.1 on a toaster");
  EXPECT_FALSE(unknown);
  EXPECT_EQ(unknown.Error(), 1805u) << "ERROR_INVALID_ENVIRONMENT";
}

TEST_F(SpoolerContract, WithoutAnEnvironmentTheCallerOwnIsMeant) {
  // The documented rule: no environment means the calling program's. This program is
  // 32-bit in the product (x86 folder), the Linux build stands for it, and the Windows
  // test build may be 64-bit.
#ifdef _WIN32
  const std::wstring caller = sizeof(void*) == 8 ? kEnvironmentX64 : kEnvironmentX86;
#else
  const std::wstring caller = kEnvironmentX86;
#endif
  const auto directory = [](const std::wstring& environment) { return GetDriverDirectory(environment).ValueOr(L"?"); };
  EXPECT_EQ(directory(L""), directory(caller));
  if (contract::PrinterDriverEnvironment() == kEnvironmentX64) {
    EXPECT_NE(directory(kEnvironmentX86), directory(kEnvironmentX64));
  }
}

TEST_F(SpoolerContract, RegisteredDriverIsListedAndFoundInAnyLetterCase) {
  const SystemOutcome installed = InstallContractDriver();
  ASSERT_TRUE(installed) << "error " << installed.Error();
  const std::wstring environment = contract::PrinterDriverEnvironment();
  EXPECT_TRUE(DriverInstalled(kDriver, environment));
  EXPECT_TRUE(DriverInstalled(ToLowerUnits(kDriver), environment));
  EXPECT_FALSE(DriverInstalled(kDriver + L" 2", environment));
  std::vector<SpoolerEntry> drivers;
  ListDrivers(drivers, environment);
  const SpoolerEntry* driver = FindEntry(drivers, kDriver, true);
  ASSERT_NE(driver, nullptr);
  EXPECT_TRUE(driver->printerName.empty());
}

TEST_F(SpoolerContract, AddPrinterMakesAPrinterThatOpens) {
  const SystemOutcome installed = InstallContractDriver();
  ASSERT_TRUE(installed) << "error " << installed.Error();
  DeletePrinterByName(kPrinter);
  const SystemOutcome outcome = AddPrinterLevel2(ContractPrinter());
  const bool added = outcome.Succeeded();
  const uint32_t error = outcome.Error();
  if (!added && error == 1801 && contract::CompleteHalfAddedWinePrinter(kPrinter)) {
    DeletePrinterByName(kPrinter);
    GTEST_SKIP() << "Wine's AddPrinterW fails with 1801 for a printer without a data type (its spooler requires "
                    "one; Windows takes RAW)";
  }
  EXPECT_TRUE(added) << "error " << error;
  EXPECT_TRUE(PrinterNameExists(kPrinter));
  EXPECT_EQ(DeletePrinterByName(kPrinter).Error(), 0u);
}

TEST_F(SpoolerContractPrinter, AddedPrinterIsListedWithItsDriverAndFoundByExactName) {
  EXPECT_TRUE(PrinterNameExists(kPrinter));
  EXPECT_FALSE(PrinterNameExists(ToLowerUnits(kPrinter)));
  std::vector<SpoolerEntry> printers, drivers;
  ListPrinters(printers, contract::PrinterDriverEnvironment());
  ListDrivers(drivers, contract::PrinterDriverEnvironment());
  const SpoolerEntry* printer = FindEntry(printers, kPrinter);
  ASSERT_NE(printer, nullptr);
  EXPECT_EQ(printer->driverName, kDriver);
  // A printer shows the INF path of its driver as the driver list has it.
  const SpoolerEntry* driver = FindEntry(drivers, kDriver, true);
  ASSERT_NE(driver, nullptr);
  EXPECT_EQ(printer->infPath, driver->infPath);
}

TEST_F(SpoolerContractPrinter, ASecondPrinterOfTheSameNameIsRefused) {
  const SystemOutcome added = AddPrinterLevel2(ContractPrinter());
  if (added && contract::RunningUnderWine()) {
    GTEST_SKIP() << "Wine adds a second printer of an existing name (Windows refuses it with 1802)";
  }
  EXPECT_EQ(added.Error(), 1802u);
}

TEST_F(SpoolerContractPrinter, DefaultPrinterIsSetThroughOrdinal204) {
  const SystemOutcome made = SetDefaultPrinterByName(kPrinter);
  ASSERT_TRUE(made) << "error " << made.Error();
  EXPECT_EQ(contract::DefaultPrinterName(), kPrinter);
  EXPECT_EQ(SetDefaultPrinterByName(L"Quorvel no such printer").Error(), 1801u);
  EXPECT_EQ(contract::DefaultPrinterName(), kPrinter);
}

TEST_F(SpoolerContractPrinter, DeletedPrinterIsGoneAndASecondDeleteFindsNone) {
  EXPECT_EQ(DeletePrinterByName(kPrinter).Error(), 0u);
  EXPECT_FALSE(PrinterNameExists(kPrinter));
  EXPECT_EQ(DeletePrinterByName(kPrinter).Error(), 1801u);
}

TEST_F(SpoolerContractPrinter, DriverInUseStaysUntilItsPrinterIsGone) {
  const std::wstring environment = contract::PrinterDriverEnvironment();
  const SystemOutcome inUse = DeletePrinterDriverVersion3(kDriver, environment);
  if (inUse.Error() == 87 && contract::RunningUnderWine()) {
    GTEST_SKIP() << "Wine's DeletePrinterDriverExW fails with 87 for any non-zero flags (here 3, version 3)";
  }
  EXPECT_EQ(inUse.Error(), 3001u);
  EXPECT_TRUE(DriverInstalled(kDriver, environment));
  ASSERT_EQ(DeletePrinterByName(kPrinter).Error(), 0u);
  const SystemOutcome deleted = DeletePrinterDriverVersion3(kDriver, environment);
  EXPECT_TRUE(deleted) << "error " << deleted.Error();
  EXPECT_FALSE(DriverInstalled(kDriver, environment));
}

TEST_F(SpoolerContract, PrinterOnAnUnknownDriverOrPortIsRefused) {
  const SystemOutcome installed = InstallContractDriver();
  ASSERT_TRUE(installed) << "error " << installed.Error();
  PrinterRecord printer = ContractPrinter();
  printer.driverName = L"Quorvel no such driver";
  EXPECT_EQ(AddPrinterLevel2(printer).Error(), 1797u);
  printer = ContractPrinter();
  printer.portName = L"QUORVEL_NO_SUCH_PORT:";
  const SystemOutcome outcome = AddPrinterLevel2(printer);
  const bool added = outcome.Succeeded();
  const uint32_t error = outcome.Error();
  const bool halfAdded = !added && error == 1801 && contract::CompleteHalfAddedWinePrinter(kPrinter);
  if (added || halfAdded) DeletePrinterByName(kPrinter);
  if ((added || halfAdded) && contract::RunningUnderWine()) {
    GTEST_SKIP() << "Wine does not check the port of a new printer (Windows refuses an unknown one with 1796)";
  }
  EXPECT_FALSE(added);
  EXPECT_EQ(error, 1796u);
}

TEST_F(SpoolerContract, LocalPortMadeThroughTheXcvMonitorIsDeletedByName) {
  const std::wstring name = L"QuorvelContractPort";
  std::wstring error;
  DeletePortByName(name, nullptr, error);  // left over by a run that was cut short
  ASSERT_EQ(XcvAddPort(L"Local Port", LocalPortData(name)).Error(), 0u);
  EXPECT_TRUE(PortExists(name));
  EXPECT_FALSE(XcvAddPort(L"Local Port", LocalPortData(name))) << "the port exists";
  std::vector<SpoolerEntry> ports;
  ListPorts(ports);
  ASSERT_NE(FindEntry(ports, name), nullptr);
  EXPECT_EQ(FindEntry(ports, name)->infPath, MonitorOf(L"COM1:"));

  EXPECT_TRUE(DeletePortByName(name, nullptr, error)) << WideToUtf8(error);
  EXPECT_FALSE(PortExists(name));
  EXPECT_FALSE(DeletePortByName(name, nullptr, error));
  EXPECT_EQ(error.rfind(L"Code: ", 0), 0u) << WideToUtf8(error);
}

TEST_F(SpoolerContract, StandardTcpIpPortIsAddedOnceAndASecondAddFails) {
  const std::wstring name = L"QuorvelContract_10.11.12.13";
  std::wstring error;
  DeletePortByName(name, nullptr, error);
  const SystemOutcome added = AddStandardTcpIpPort(name, L"10.11.12.13");
  if (added.Error() == 1796 && contract::RunningUnderWine()) {
    GTEST_SKIP() << "Wine has no Standard TCP/IP port monitor (OpenPrinterW \",XcvMonitor Standard TCP/IP Port\" "
                    "fails with 1796)";
  }
  ASSERT_TRUE(added) << "error " << added.Error();
  std::vector<SpoolerEntry> ports;
  ListPorts(ports);
  ASSERT_NE(FindEntry(ports, name), nullptr);
  EXPECT_EQ(FindEntry(ports, name)->infPath, L"Standard TCP/IP Port");
  // The monitor refuses the port it has already; its status is the failure.
  EXPECT_FALSE(AddStandardTcpIpPort(name, L"10.11.12.13"));
  EXPECT_TRUE(DeletePortByName(name, nullptr, error)) << WideToUtf8(error);
}

TEST_F(SpoolerContract, PortTextsThatDoNotFitTheRecordAreRefusedNotCut) {
  const std::wstring longName(kMaxTcpIpPortName + 1, L'P');
  EXPECT_EQ(AddStandardTcpIpPort(longName, L"10.0.0.1").Error(), 87u);
  EXPECT_FALSE(PortExists(longName));
  EXPECT_FALSE(PortExists(longName.substr(0, kMaxTcpIpPortName)));
  // The host address also fills the 15-character IP-address field.
  EXPECT_EQ(AddStandardTcpIpPort(L"QuorvelContractHost", L"printer-17.example").Error(), 87u);
  EXPECT_FALSE(PortExists(L"QuorvelContractHost"));
}

TEST_F(SpoolerContract, UnknownDriverPackageIsNotDeleted) {
  const PackageDeletionResult result =
      DeletePrinterDriverPackageByInf(L"C:\\Windows\\INF\\quorvel-no-such-package.inf");
  if (result.state == PackageDeletion::Unavailable && contract::RunningUnderWine()) {
    GTEST_SKIP() << "Wine's winspool.drv has no DeletePrinterDriverPackageW";
  }
  EXPECT_EQ(result.state, PackageDeletion::Failed);
  EXPECT_FALSE(result.outcome);
}

}  // namespace
