#include "engine/spooler/ShellCommands.h"
#include "engine/spooler/SystemOperations.h"
#include "simulated/PrintUiWindow.h"
#include "simulated/SimulatedLastError.h"
#include "simulated/SimulatedMachine.h"

SystemOutcome StartShellProgram(const std::wstring& file, const std::wstring& parameters, ui::WindowHandle owner,
                                int showState, bool wait) {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine) return SimulatedFailure();
  // The simulated program does its work at once; waiting for it takes as long as the
  // real one would run, after the machine's time scale.
  const auto run = machine->ShellExecute(file, parameters, showState);
  if (!run) return SimulatedFailure();
  if (wait) SleepMs(run->durationMs);
  // The applet's window, over the window that started it, once the machine recorded the run.
  ShowPrintUiWindow(owner, run->window);
  return {};
}

std::optional<std::wstring> ProgramFilesFolder() {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine) return std::nullopt;
  return machine->ProgramFilesFolder();
}
