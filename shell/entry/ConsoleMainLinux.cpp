#include <cstdio>
#include <string>
#include <vector>

#include "base/WideText.h"
#include "shell/console/ConsoleProgram.h"
#include "simulated/SimulatedMachine.h"

int main(int argc, char** argv) {
  // The Windows machine this build runs on; one whose state cannot be read is not touched.
  auto machine = SimulatedMachine::Open(SimulatedMachine::DefaultFolder());
  if (!machine.machine) {
    std::fprintf(stderr, "quorvel-setup-cli: %s\n", machine.error.c_str());
    return kExitStepFailed;
  }
  SimulatedMachine::Install(machine.machine);

  std::vector<std::wstring> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(Utf8ToWide(argv[i]));
  return RunConsoleProgram(arguments, StandardStreams());
}
