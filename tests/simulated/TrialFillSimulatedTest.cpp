// The fill commands of quorvel-machine: what they add is what the wizard's lists show.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/spooler/SpoolerOperations.h"
#include "simulated/SimulatedMachine.h"

namespace {

SimulatedMachine& Machine() {
  return *SimulatedMachine::Current();
}

size_t CountIf(const std::vector<SpoolerEntry>& list, const auto& test) {
  return static_cast<size_t>(std::count_if(list.begin(), list.end(), test));
}

TEST(TrialFill, NetworkPortsTakeTheNextFreeAddresses) {
  EXPECT_EQ(Machine().FillNetworkPorts(3), 3u);
  EXPECT_EQ(Machine().FillNetworkPorts(2), 2u);
  std::vector<SpoolerEntry> ports;
  ListPorts(ports);
  EXPECT_EQ(CountIf(ports, [](const SpoolerEntry& port) { return port.printerName.starts_with(L"IP_10.0.0."); }), 5u);
  const MachineState state = Machine().Snapshot();
  const SimulatedPort* fifth = state.ports.Find(L"IP_10.0.0.5");
  ASSERT_NE(fifth, nullptr);
  EXPECT_EQ(fifth->monitor, L"Standard TCP/IP Port");
  EXPECT_EQ(fifth->hostAddress, L"10.0.0.5");
}

TEST(TrialFill, PrintersUseTheFamilyDriverOfTheSystemsEnvironment) {
  EXPECT_EQ(Machine().FillPrinters(L"QuorvelA4-300", 4), 4u);
  EXPECT_EQ(Machine().FillPrinters(L"QuorvelA4-300", 2), 2u);  // the driver is there now
  std::vector<SpoolerEntry> entries;
  ListPrinters(entries, SystemDriverEnvironment());
  EXPECT_EQ(CountIf(entries, [](const SpoolerEntry& printer) { return printer.driverName == L"QuorvelA4-300"; }), 6u);
  ListDrivers(entries, SystemDriverEnvironment());
  EXPECT_EQ(CountIf(entries, [](const SpoolerEntry& driver) { return driver.driverName == L"QuorvelA4-300"; }), 1u);
  EXPECT_TRUE(PrinterNameExists(L"QuorvelA4-300 trial 6"));
}

}  // namespace
