// Windows compares printer and port names without regard to letter case; the wizard's
// name checks must decide as the spooler will.
#include <gtest/gtest.h>

#include "engine/spooler/SpoolerNamesInUse.h"
#include "engine/spooler/SpoolerOperations.h"
#include "engine/spooler/SystemOperations.h"
#include "simulated/SimulatedLastError.h"
#include "simulated/SimulatedMachine.h"

TEST(NameCase, APrinterNameThatDiffersOnlyInCaseIsRefusedAndCountsAsInUse) {
  auto& machine = *SimulatedMachine::Current();
  ASSERT_TRUE(
      machine.AddPrinter({L"Label Printer", L"Microsoft Software Printer Driver", L"nul:", L"winprint", 0, {}}));
  EXPECT_FALSE(
      machine.AddPrinter({L"LABEL printer", L"Microsoft Software Printer Driver", L"nul:", L"winprint", 0, {}}));
  EXPECT_EQ(SimulatedLastError(), 1802u);
  EXPECT_FALSE(PrinterNameExists(L"LABEL printer"));  // the exact look-up stays exact
  EXPECT_TRUE(PrinterNameInUse(L"LABEL printer"));
  EXPECT_TRUE(PrinterNameInUse(L"Label Printer"));
  EXPECT_FALSE(PrinterNameInUse(L"Label Printer 2"));
}

TEST(NameCase, APortNameThatDiffersOnlyInCaseIsRefusedAndCountsAsInUse) {
  auto& machine = *SimulatedMachine::Current();
  machine.AddDialogAnswer({true, L"com1:", L""});
  std::wstring error;
  EXPECT_FALSE(AddPortThroughMonitor(L"Local Port", nullptr, error));
  EXPECT_EQ(error.rfind(L"Code: 183", 0), 0u);
  EXPECT_FALSE(PortExists(L"com1:"));
  EXPECT_TRUE(PortNameInUse(L"com1:"));
  EXPECT_FALSE(PortNameInUse(L"COM9:"));
}
