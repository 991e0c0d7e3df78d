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
bool InstallContractDriver() {
  const DriverModelRecord model = BuildDriverModelRecords()[0];
  const std::wstring environment = contract::PrinterDriverEnvironment();
  const std::wstring directory = GetDriverDirectory(environment);
  if (directory.empty()) return false;
  DependentFileList files;
  const bool is64 = environment == kEnvironmentX64;
  if (!CopySpoolerFiles(SpoolerFileList(model, is64), directory, files).empty()) return false;
  PrinterDriverRecord driver = DriverRegistration(model, environment, files);
  driver.driverName = kDriver;
  if (!AddPrinterDriverLevel6(driver)) return false;
  if (!contract::WineLooksForPrinterDriversAmongTheCallers()) return true;
  // The same driver with the 32-bit files for the caller's environment, where Wine looks.
  DependentFileList x86Files;
  if (!CopySpoolerFiles(SpoolerFileList(model, false), GetDriverDirectory(kEnvironmentX86), x86Files).empty()) {
    return false;
  }
  PrinterDriverRecord x86 = DriverRegistration(model, kEnvironmentX86, x86Files);
  x86.driverName = kDriver;
  return AddPrinterDriverLevel6(x86).Succeeded();
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
    ASSERT_TRUE(InstallContractDriver()) << "error " << LastErrorCode();
    if (!AddPrinterLevel2(ContractPrinter())) {
      const uint32_t error = LastErrorCode();
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
    const std::wstring directory = GetDriverDirectory(environment);
    ASSERT_FALSE(directory.empty()) << WideToUtf8(environment);
    EXPECT_EQ(directory.back(), L'\\');
    EXPECT_TRUE(contract::DirectoryExists(directory.substr(0, directory.size() - 1)));
  }
  EXPECT_EQ(GetDriverDirectory(L"Windows 3.1 on a toaster"), L"");
  EXPECT_EQ(LastErrorCode(), 1805u) << "ERROR_INVALID_ENVIRONMENT";
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
  EXPECT_EQ(GetDriverDirectory(), GetDriverDirectory(caller));
  if (contract::PrinterDriverEnvironment() == kEnvironmentX64) {
    EXPECT_NE(GetDriverDirectory(kEnvironmentX86), GetDriverDirectory(kEnvironmentX64));
  }
}

TEST_F(SpoolerContract, RegisteredDriverIsListedAndFoundInAnyLetterCase) {
  ASSERT_TRUE(InstallContractDriver()) << "error " << LastErrorCode();
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
  ASSERT_TRUE(InstallContractDriver()) << "error " << LastErrorCode();
  DeletePrinterByName(kPrinter);
  const bool added = AddPrinterLevel2(ContractPrinter()).Succeeded();
  const uint32_t error = LastErrorCode();
  if (!added && error == 1801 && contract::CompleteHalfAddedWinePrinter(kPrinter)) {
    DeletePrinterByName(kPrinter);
    GTEST_SKIP() << "Wine's AddPrinterW fails with 1801 for a printer without a data type (its spooler requires "
                    "one; Windows takes RAW)";
  }
  EXPECT_TRUE(added) << "error " << error;
  EXPECT_TRUE(PrinterNameExists(kPrinter));
  EXPECT_EQ(DeletePrinterByName(kPrinter), 0u);
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
  const bool added = AddPrinterLevel2(ContractPrinter()).Succeeded();
  if (added && contract::RunningUnderWine()) {
    GTEST_SKIP() << "Wine adds a second printer of an existing name (Windows refuses it with 1802)";
  }
  EXPECT_FALSE(added);
  EXPECT_EQ(LastErrorCode(), 1802u);
}

TEST_F(SpoolerContractPrinter, DefaultPrinterIsSetThroughOrdinal204) {
  ASSERT_TRUE(SetDefaultPrinterByName(kPrinter)) << "error " << LastErrorCode();
  EXPECT_EQ(contract::DefaultPrinterName(), kPrinter);
  EXPECT_FALSE(SetDefaultPrinterByName(L"Quorvel no such printer"));
  EXPECT_EQ(LastErrorCode(), 1801u);
  EXPECT_EQ(contract::DefaultPrinterName(), kPrinter);
}

TEST_F(SpoolerContractPrinter, DeletedPrinterIsGoneAndASecondDeleteFindsNone) {
  EXPECT_EQ(DeletePrinterByName(kPrinter), 0u);
  EXPECT_FALSE(PrinterNameExists(kPrinter));
  EXPECT_EQ(DeletePrinterByName(kPrinter), 1801u);
}

TEST_F(SpoolerContractPrinter, DriverInUseStaysUntilItsPrinterIsGone) {
  const std::wstring environment = contract::PrinterDriverEnvironment();
  const bool deleted = DeletePrinterDriverVersion3(kDriver, environment).Succeeded();
  if (!deleted && LastErrorCode() == 87 && contract::RunningUnderWine()) {
    GTEST_SKIP() << "Wine's DeletePrinterDriverExW fails with 87 for any non-zero flags (here 3, version 3)";
  }
  EXPECT_FALSE(deleted);
  EXPECT_EQ(LastErrorCode(), 3001u);
  EXPECT_TRUE(DriverInstalled(kDriver, environment));
  ASSERT_EQ(DeletePrinterByName(kPrinter), 0u);
  EXPECT_TRUE(DeletePrinterDriverVersion3(kDriver, environment)) << "error " << LastErrorCode();
  EXPECT_FALSE(DriverInstalled(kDriver, environment));
}

TEST_F(SpoolerContract, PrinterOnAnUnknownDriverOrPortIsRefused) {
  ASSERT_TRUE(InstallContractDriver()) << "error " << LastErrorCode();
  PrinterRecord printer = ContractPrinter();
  printer.driverName = L"Quorvel no such driver";
  EXPECT_FALSE(AddPrinterLevel2(printer));
  EXPECT_EQ(LastErrorCode(), 1797u);
  printer = ContractPrinter();
  printer.portName = L"QUORVEL_NO_SUCH_PORT:";
  const bool added = AddPrinterLevel2(printer).Succeeded();
  const uint32_t error = LastErrorCode();
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
  ASSERT_EQ(XcvAddPort(L"Local Port", LocalPortData(name)), 0u);
  EXPECT_TRUE(PortExists(name));
  EXPECT_NE(XcvAddPort(L"Local Port", LocalPortData(name)), 0u) << "the port exists";
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
  const bool added = AddStandardTcpIpPort(name, L"10.11.12.13");
  if (!added && LastErrorCode() == 1796 && contract::RunningUnderWine()) {
    GTEST_SKIP() << "Wine has no Standard TCP/IP port monitor (OpenPrinterW \",XcvMonitor Standard TCP/IP Port\" "
                    "fails with 1796)";
  }
  ASSERT_TRUE(added) << "error " << LastErrorCode();
  std::vector<SpoolerEntry> ports;
  ListPorts(ports);
  ASSERT_NE(FindEntry(ports, name), nullptr);
  EXPECT_EQ(FindEntry(ports, name)->infPath, L"Standard TCP/IP Port");
  // The monitor refuses the port it has already; its status is the failure.
  EXPECT_FALSE(AddStandardTcpIpPort(name, L"10.11.12.13"));
  EXPECT_NE(LastErrorCode(), 0u);
  EXPECT_TRUE(DeletePortByName(name, nullptr, error)) << WideToUtf8(error);
}

TEST_F(SpoolerContract, PortTextsThatDoNotFitTheRecordAreRefusedNotCut) {
  const std::wstring longName(kMaxTcpIpPortName + 1, L'P');
  EXPECT_FALSE(AddStandardTcpIpPort(longName, L"10.0.0.1"));
  EXPECT_EQ(LastErrorCode(), 87u);
  EXPECT_FALSE(PortExists(longName));
  EXPECT_FALSE(PortExists(longName.substr(0, kMaxTcpIpPortName)));
  // The host address also fills the 15-character IP-address field.
  EXPECT_FALSE(AddStandardTcpIpPort(L"QuorvelContractHost", L"printer-17.example"));
  EXPECT_EQ(LastErrorCode(), 87u);
  EXPECT_FALSE(PortExists(L"QuorvelContractHost"));
}

TEST_F(SpoolerContract, UnknownDriverPackageIsNotDeleted) {
  const PackageDeletion result = DeletePrinterDriverPackageByInf(L"C:\\Windows\\INF\\quorvel-no-such-package.inf");
  if (result == PackageDeletion::Unavailable && contract::RunningUnderWine()) {
    GTEST_SKIP() << "Wine's winspool.drv has no DeletePrinterDriverPackageW";
  }
  EXPECT_EQ(result, PackageDeletion::Failed);
  EXPECT_NE(LastErrorCode(), 0u);
}

}  // namespace
