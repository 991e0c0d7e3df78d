// The simulated spooler keeps drivers per environment and reads a missing environment
// as the calling program's, the 32-bit one.
#include <gtest/gtest.h>

#include <span>

#include "engine/spooler/DriverEnvironment.h"
#include "engine/spooler/FileOperations.h"
#include "engine/spooler/SpoolerOperations.h"
#include "engine/spooler/SystemOperations.h"
#include "simulated/SimulatedMachine.h"

namespace {

// A driver of three one-byte files, registered for the environment.
SystemOutcome AddSmallDriver(const std::wstring& environment) {
  const auto directory = GetDriverDirectory(environment);
  if (!directory) return directory.Outcome();
  const uint8_t byte = 1;
  for (const wchar_t* file : {L"s.dll", L"s.pcd", L"sui.dll"}) {
    if (const SystemOutcome written = WriteWholeFile(*directory + file, std::span<const uint8_t>(&byte, 1)); !written) {
      return written;
    }
  }
  PrinterDriverRecord driver;
  driver.driverName = L"Small driver";
  driver.environment = environment;
  driver.driverFile = L"s.dll";
  driver.dataFile = L"s.pcd";
  driver.configurationFile = L"sui.dll";
  return AddPrinterDriverLevel6(driver);
}

TEST(DriverEnvironments, OneNameLivesOncePerEnvironmentAndOnlyTheSystemsServesPrinters) {
  ASSERT_TRUE(AddSmallDriver(L""));
  EXPECT_TRUE(DriverInstalled(L"Small driver", kEnvironmentX86));
  EXPECT_FALSE(DriverInstalled(L"Small driver", kEnvironmentX64));
  EXPECT_EQ(AddPrinterLevel2({L"Small", L"LPT1:", L"Small driver", L"WinPrint", 0x40}).Error(), 1797u);

  ASSERT_TRUE(AddSmallDriver(L"windows x64")) << "environment names ignore letter case";
  ASSERT_TRUE(AddPrinterLevel2({L"Small", L"LPT1:", L"Small driver", L"WinPrint", 0x40}));
  // The x86 copy serves no printer, so it goes while the x64 one is in use.
  EXPECT_EQ(DeletePrinterDriverVersion3(L"Small driver", kEnvironmentX64).Error(), 3001u);
  EXPECT_TRUE(DeletePrinterDriverVersion3(L"Small driver"));
  EXPECT_FALSE(DriverInstalled(L"Small driver"));
  EXPECT_TRUE(DriverInstalled(L"Small driver", kEnvironmentX64));
  const auto x64File =
      SimulatedMachine::Current()->HostPath(GetDriverDirectory(kEnvironmentX64).ValueOr(L"") + L"3\\s.dll");
  EXPECT_TRUE(x64File && std::filesystem::exists(*x64File)) << "the x64 files stay";
}

TEST(DriverEnvironments, AnUnknownEnvironmentIsRefused) {
  std::vector<SpoolerEntry> drivers{{L"", L"stale", L""}};
  ListDrivers(drivers, L"Windows IA64 on paper");
  EXPECT_TRUE(drivers.empty());
  EXPECT_FALSE(DriverInstalled(L"Microsoft Print To PDF", L"Windows 4.0"));
  EXPECT_EQ(AddSmallDriver(L"Windows 4.0").Error(), 1805u);
  ListDrivers(drivers, kEnvironmentX64);
  EXPECT_FALSE(drivers.empty()) << "the in-box drivers are x64 ones";
  ListDrivers(drivers);
  EXPECT_TRUE(drivers.empty()) << "a fresh 64-bit Windows has no x86 drivers";
}

}  // namespace
