#include <cstdio>

#include "shell/app/StartUp.h"
#include "simulated/SimulatedMachine.h"
#include "ui/cairo/CanvasCairo.h"
#include "ui/gtk/HostGtk.h"

// Command-line arguments are ignored, as in the product.
int main() {
  // The Windows machine this build runs on; one whose state cannot be read is not
  // touched, so nothing it holds is lost.
  auto machine = SimulatedMachine::Open(SimulatedMachine::DefaultFolder());
  if (!machine.machine) {
    std::fprintf(stderr, "quorvel-setup: %s\n", machine.error.c_str());
    return 1;
  }
  SimulatedMachine::Install(machine.machine);

  ui::CanvasCairo::PrepareFonts();
  std::string whyNot;
  auto host = ui::HostGtk::Create(whyNot);
  if (!host) {
    std::fprintf(stderr, "quorvel-setup: %s\nRun it on a display, for example: xvfb-run -a quorvel-setup\n",
                 whyNot.c_str());
    return 1;
  }
  ui::InstallHost(std::move(host));

  return RunMainWindow();
}
