#include "engine/spooler/ProgramDataFolder.h"
#include "simulated/SimulatedMachine.h"

std::filesystem::path ProgramDataFolder() {
  const auto machine = SimulatedMachine::Current();
  if (!machine) return {};
  return machine->HostPath(L"C:\\ProgramData\\QuorvelSetup").value_or(std::filesystem::path());
}
