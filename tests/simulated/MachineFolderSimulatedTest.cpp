// The simulated machine's folder: what a fresh one holds, that changes outlive a run,
// and that a state file it cannot read is reported and left alone.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "engine/spooler/DriverEnvironment.h"
#include "engine/spooler/SpoolerOperations.h"
#include "simulated/ScratchMachine.h"
#include "simulated/SimulatedMachine.h"

namespace {

std::string ReadText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteText(const std::filesystem::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}

// A folder of its own for one test, beside the test's own machine.
class MachineFolder : public testing::Test {
 protected:
  std::filesystem::path Folder() const { return SimulatedMachine::Current()->Folder() / "other"; }
};

// Sets an environment variable for one test and puts the old value back.
class Environment {
 public:
  Environment(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) before_ = old;
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~Environment() {
    if (before_) {
      setenv(name_, before_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> before_;
};

TEST_F(MachineFolder, AFreshMachineIsAWindows10MachineWithItsInBoxPrinters) {
  std::vector<SpoolerEntry> printers, ports;
  ListPrinters(printers, kEnvironmentX64);
  ListPorts(ports);
  ASSERT_GE(printers.size(), 2u);
  EXPECT_EQ(printers[0].printerName, L"Microsoft Print to PDF");
  EXPECT_EQ(printers[0].driverName, L"Microsoft Print To PDF");
  EXPECT_NE(printers[0].infPath.find(L"\\DriverStore\\FileRepository\\"), std::wstring::npos);
  EXPECT_EQ(SimulatedMachine::Current()->DefaultPrinter(), L"Microsoft Print to PDF");
  for (const wchar_t* name : {L"COM1:", L"COM4:", L"LPT1:", L"LPT3:", L"FILE:"}) EXPECT_TRUE(PortExists(name));
  EXPECT_TRUE(std::filesystem::is_directory(*SimulatedMachine::Current()->HostPath(GetDriverDirectory().ValueOr(L""))));
  EXPECT_TRUE(std::filesystem::is_directory(*SimulatedMachine::Current()->HostPath(L"C:\\Program Files (x86)")));
}

TEST_F(MachineFolder, ChangesAreInTheStateFileAndInTheNextRun) {
  auto first = SimulatedMachine::Open(Folder());
  ASSERT_TRUE(first.machine) << first.error;
  EXPECT_TRUE(first.machine->AddPrinter({L"Kept printer", L"Microsoft Print To PDF", L"LPT2:", L"winprint", 0x40, {}}));
  first.machine->SetUiLanguage(2052);
  EXPECT_NE(ReadText(Folder() / "machine.xml").find("Kept printer"), std::string::npos);
  first.machine.reset();

  auto second = SimulatedMachine::Open(Folder());
  ASSERT_TRUE(second.machine) << second.error;
  const MachineState state = second.machine->Snapshot();
  ASSERT_TRUE(state.printers.count(L"kept printer"));
  EXPECT_EQ(state.printers.at(L"kept printer").port, L"LPT2:");
  EXPECT_EQ(state.settings.uiLanguage, 2052);
  EXPECT_FALSE(std::filesystem::exists(Folder() / "machine.xml.new"));
}

TEST_F(MachineFolder, AStateFileThatCannotBeReadIsReportedAndLeftAsItIs) {
  ASSERT_TRUE(SimulatedMachine::Open(Folder()).machine);
  const std::string good = ReadText(Folder() / "machine.xml");
  const std::pair<std::string, std::string> damages[] = {
      {good.substr(0, good.size() / 2), "damaged"},
      {"<printers/>", "not a state file"},
      {std::string(good).replace(good.find("majorVersion=\"10\""), 17, "majorVersion=\"ten\""), "no number"},
  };
  for (const auto& [content, reason] : damages) {
    WriteText(Folder() / "machine.xml", content);
    const auto opened = SimulatedMachine::Open(Folder());
    EXPECT_FALSE(opened.machine);
    EXPECT_NE(opened.error.find(reason), std::string::npos) << opened.error;
    EXPECT_NE(opened.error.find("machine.xml"), std::string::npos) << opened.error;
    EXPECT_EQ(ReadText(Folder() / "machine.xml"), content);
  }
  // A state file that is no file at all cannot be read either.
  std::filesystem::remove(Folder() / "machine.xml");
  std::filesystem::create_directory(Folder() / "machine.xml");
  const auto opened = SimulatedMachine::Open(Folder());
  EXPECT_FALSE(opened.machine);
  EXPECT_NE(opened.error.find("cannot read"), std::string::npos) << opened.error;
  EXPECT_TRUE(std::filesystem::is_directory(Folder() / "machine.xml"));
}

TEST(MachineFolderLocation, FollowsTheVariableThenTheXdgStateFolder) {
  {
    const Environment named(SimulatedMachine::kFolderVariable, "/srv/machines/a");
    EXPECT_EQ(SimulatedMachine::DefaultFolder(), "/srv/machines/a");
  }
  const Environment unnamed(SimulatedMachine::kFolderVariable, nullptr);
  {
    const Environment state("XDG_STATE_HOME", "/var/state");
    EXPECT_EQ(SimulatedMachine::DefaultFolder(), "/var/state/quorvel-setup/machine");
  }
  const Environment home("HOME", "/home/quorvel");
  {
    const Environment relative("XDG_STATE_HOME", "relative/state");
    EXPECT_EQ(SimulatedMachine::DefaultFolder(), "/home/quorvel/.local/state/quorvel-setup/machine");
  }
}

}  // namespace
