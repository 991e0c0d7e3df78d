// The simulated machine's answer to "does the program run as an administrator": the
// machine's setting, on unless switched off, kept in machine.xml across runs.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "engine/spooler/SystemOperations.h"
#include "simulated/SimulatedMachine.h"

namespace {

std::string StateText(const SimulatedMachine& machine) {
  std::ifstream in(machine.StateFile());
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(AdministratorSimulated, TheAnswerFollowsTheSettingAndOutlivesTheRun) {
  SimulatedMachine& machine = *SimulatedMachine::Current();
  EXPECT_TRUE(RunningAsAdministrator()) << "the program asks to run elevated";
  EXPECT_EQ(StateText(machine).find("administrator="), std::string::npos) << "the default is not written";

  machine.SetAdministrator(false);
  EXPECT_FALSE(RunningAsAdministrator());
  EXPECT_NE(StateText(machine).find("administrator=\"false\""), std::string::npos);
  auto reopened = SimulatedMachine::Open(machine.Folder());
  ASSERT_TRUE(reopened.machine) << reopened.error;
  EXPECT_FALSE(reopened.machine->RunningAsAdministrator());

  // A state file without the setting (as every older one) reads as an administrator.
  machine.SetAdministrator(true);
  EXPECT_EQ(StateText(machine).find("administrator="), std::string::npos);
  reopened = SimulatedMachine::Open(machine.Folder());
  ASSERT_TRUE(reopened.machine) << reopened.error;
  EXPECT_TRUE(reopened.machine->RunningAsAdministrator());
}

TEST(AdministratorSimulated, WithoutAMachineTheQueryFails) {
  const auto machine = SimulatedMachine::Current();
  SimulatedMachine::Install(nullptr);
  const bool answer = RunningAsAdministrator();
  SimulatedMachine::Install(machine);
  EXPECT_FALSE(answer);
}

}  // namespace
