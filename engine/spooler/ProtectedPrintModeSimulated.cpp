#include "engine/spooler/ProtectedPrintMode.h"
#include "simulated/SimulatedMachine.h"

// The simulated machine keeps one switch, the settings page's; it has no runtime query
// (it stands for Windows 10) and no policy.
ProtectedPrintMode DetectProtectedPrintMode() {
  const auto machine = SimulatedMachine::Current();
  const bool on = machine && machine->ProtectedPrintModeOn();
  return CombineProtectedPrintAnswers(std::nullopt, std::nullopt, on ? 1u : 0u);
}
