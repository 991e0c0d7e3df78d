// A COM installation on the simulated machine, timed two ways: in the wizard, from Next
// on the summary panel until the finish bar shows (the spooler calls and the wizard's own
// overhead around them: the install log, the messages from the worker, the paints), with
// the headless host and the machine's delays scaled to nothing; and through the console
// program as a whole process (start, package, checks, the run, exit) on a fresh machine
// folder, with the machine's real delays. The median of five rounds, each on a fresh
// machine; --quick: one round.
// Run: build/linux/bench/InstallTimeBench [--quick]
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "BenchFigures.h"
#include "engine/spooler/InstallationLock.h"
#include "shell/app/MainWnd.h"
#include "shell/app/StartUp.h"
#include "simulated/ScratchMachine.h"
#include "ui/controls/TabLayout.h"
#include "ui/core/SystemConstants.h"
#include "ui/core/WindowTree.h"
#include "ui/headless/HostHeadless.h"
#include "wizard/WizardContext.h"

extern char** environ;

namespace {

using bench::Clock;
using bench::Median;
using bench::Ms;
using bench::ThreadCpuMs;

struct Round {
  double wallMs = 0;
  double cpuMs = 0;  // of the UI thread, or of the child process
};

// Index, port kinds (COM), model, ports (COM1:), printer name, summary; then Next.
bool WizardRound(ui::HostHeadless& host, Round& round) {
  ScratchMachine machine;
  auto& context = WizardContext::Instance();
  context.request = InstallRequest{};
  context.activeWizard = ActiveWizard::None;
  ui::WindowTree::ClearShared();
  auto window = std::make_unique<CMainWnd>();
  if (!window->Create(nullptr, L"printer driver", ui::kWsOverlappedWindow | ui::kWsVisible, 0, {0, 0, 900, 640})) {
    std::fprintf(stderr, "InstallTimeBench: the main window could not be created\n");
    return false;
  }
  const auto handle = window->GetHWND();
  host.RunUntilIdle();
  for (ui::TabLayout* tab : {context.mainTab, context.installTab}) {
    if (tab) tab->SetAnimation(false);
  }
  for (int press = 0; press < 5; ++press) {
    host.ClickControl(handle, L"btn_setup_next");
    host.RunUntilIdle();
  }
  const bool onSummary = context.installTab != nullptr && context.installTab->GetCurSel() == 8;
  ui::Control* finishRow = window->FindControl(L"hor_btn_h1");
  bool finished = false;
  if (onSummary && finishRow != nullptr) {
    const auto start = Clock::now();
    const double cpuStart = ThreadCpuMs();
    host.ClickControl(handle, L"btn_setup_next");
    while (!(finished = finishRow->IsVisible()) && Clock::now() - start < std::chrono::seconds(30)) {
      host.RunUntilIdle();
      std::this_thread::yield();
    }
    round = {Ms(Clock::now() - start), ThreadCpuMs() - cpuStart};
  }
  // The worker's last messages come after the finish bar; the window waits for them.
  for (int i = 0; i < 5000 && finished && !InstallationLock::TryAcquire().Held(); ++i) {
    host.RunUntilIdle();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  window->DestroyWindow();
  host.RunUntilIdle();
  context.mainWindow = nullptr;
  if (!onSummary) std::fprintf(stderr, "InstallTimeBench: the wizard did not reach the summary panel\n");
  if (onSummary && !finished) std::fprintf(stderr, "InstallTimeBench: no finish bar within 30 s\n");
  return finished;
}

// The console program beside this one's folder: build/<preset>/bin.
std::filesystem::path ConsoleProgram() {
  return std::filesystem::canonical("/proc/self/exe").parent_path().parent_path() / "bin" / "quorvel-setup-cli";
}

bool ConsoleRound(const std::filesystem::path& program, Round& round) {
  char folderTemplate[] = "/tmp/quorvel-bench-XXXXXX";
  if (mkdtemp(folderTemplate) == nullptr) return false;
  const std::filesystem::path folder = folderTemplate;
  std::vector<std::string> environment = {"QUORVEL_MACHINE_DIR=" + folder.string()};
  for (char** variable = environ; *variable != nullptr; ++variable) {
    if (!std::string_view(*variable).starts_with("QUORVEL_MACHINE_DIR=")) environment.emplace_back(*variable);
  }
  std::vector<char*> envp;
  for (auto& variable : environment) envp.push_back(variable.data());
  envp.push_back(nullptr);
  std::vector<std::string> args = {program.string(), "install",
                                   "--model",        "203",
                                   "--port",         "com",
                                   "--port-name",    "COM1:",
                                   "--log",          (folder / "run.log").string()};
  std::vector<char*> argv;
  for (auto& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  rusage before{};
  getrusage(RUSAGE_CHILDREN, &before);
  const auto start = Clock::now();
  pid_t child = 0;
  const bool started = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0;
  posix_spawn_file_actions_destroy(&actions);
  int status = 1;
  if (started) waitpid(child, &status, 0);
  const auto end = Clock::now();
  rusage after{};
  getrusage(RUSAGE_CHILDREN, &after);
  auto cpu = [](const rusage& usage) {
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
  };
  round = {Ms(end - start), cpu(after) - cpu(before)};
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  if (!started || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "InstallTimeBench: %s ended with %d\n", program.c_str(),
                 started && WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    return false;
  }
  return true;
}

void Print(const char* what, const std::vector<Round>& rounds) {
  std::vector<double> wall, cpu;
  for (const Round& round : rounds) {
    wall.push_back(round.wallMs);
    cpu.push_back(round.cpuMs);
  }
  std::printf("  %-44s %9.1f ms  (cpu %.1f ms)\n", what, Median(wall), Median(cpu));
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = bench::QuickMode(argc, argv) ? 1 : 5;
  OpenResourcePackage(ExecutableDirectory());
  FillContextLanguageTable();
  auto hostOwner = std::make_unique<ui::HostHeadless>(100);
  ui::HostHeadless* host = hostOwner.get();
  ui::InstallHost(std::move(hostOwner));

  std::printf("COM installation of the 203 dpi model, median of %d\n", rounds);
  std::vector<Round> wizard(rounds), console(rounds);
  for (Round& round : wizard) {
    if (!WizardRound(*host, round)) return 1;
  }
  Print("wizard: Next on the summary to the finish bar", wizard);
  const std::filesystem::path program = ConsoleProgram();
  for (Round& round : console) {
    if (!ConsoleRound(program, round)) return 1;
  }
  Print("console program, the whole process", console);
  return 0;
}
