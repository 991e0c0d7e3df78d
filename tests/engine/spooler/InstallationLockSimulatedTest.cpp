// The installation lock of the simulated machine across processes: quorvel-machine's "lock"
// command holds it as another run would, from a process of its own, and the lock goes when
// that process is killed. Also what a lock is without a machine.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <utility>

#include "engine/spooler/InstallationLock.h"
#include "simulated/SimulatedMachine.h"

extern char** environ;

namespace {

// quorvel-machine (built beside this program) run on the test's machine, talking through
// pipes; killed if still running when the object goes.
class MachineTool {
 public:
  explicit MachineTool(const std::string& command) {
    const std::filesystem::path tool =
        std::filesystem::read_symlink("/proc/self/exe").parent_path() / "quorvel-machine";
    const std::string folder = SimulatedMachine::Current()->Folder().string();
    int input[2], output[2];
    if (pipe2(input, O_CLOEXEC) != 0 || pipe2(output, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], 0);
    posix_spawn_file_actions_adddup2(&actions, output[1], 1);
    std::string program = tool.string(), machineFlag = "--machine";
    std::string commandCopy = command;
    char* argv[] = {program.data(), machineFlag.data(), const_cast<char*>(folder.c_str()), commandCopy.data(), nullptr};
    if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv, environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(input[0]);
    close(output[1]);
    toChild_ = input[1];
    fromChild_ = output[0];
  }
  ~MachineTool() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (toChild_ >= 0) close(toChild_);
    if (fromChild_ >= 0) close(fromChild_);
  }
  MachineTool(const MachineTool&) = delete;
  MachineTool& operator=(const MachineTool&) = delete;

  bool Started() const { return pid_ > 0; }

  // The first line the tool prints (waiting at most 20 s for it).
  std::string Line() {
    std::string line;
    char c = 0;
    pollfd ready{fromChild_, POLLIN, 0};
    while (poll(&ready, 1, 20000) == 1 && read(fromChild_, &c, 1) == 1 && c != '\n') line += c;
    return line;
  }

  // The exit status once the tool ends by itself (after the end of its input), or -1.
  int EndOfInputAndWait() {
    close(std::exchange(toChild_, -1));
    return Wait();
  }
  // Killed as a crashing run would be: nothing of the tool releases anything.
  void Kill() {
    kill(pid_, SIGKILL);
    Wait();
  }

 private:
  int Wait() {
    int status = 0;
    if (waitpid(std::exchange(pid_, -1), &status, 0) < 0 || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
  }

  pid_t pid_ = -1;
  int toChild_ = -1;
  int fromChild_ = -1;
};

TEST(InstallationLockSimulated, AnotherProcessHoldsTheLockUntilItDies) {
  {
    // This process holds it: the other one is refused.
    const InstallationLock mine = InstallationLock::TryAcquire();
    ASSERT_TRUE(mine.Held());
    MachineTool other("lock");
    ASSERT_TRUE(other.Started());
    EXPECT_EQ(other.Line().rfind("busy", 0), 0u);
    EXPECT_EQ(other.EndOfInputAndWait(), 1);
  }
  {
    MachineTool other("lock");
    ASSERT_EQ(other.Line().rfind("held", 0), 0u);
    EXPECT_FALSE(InstallationLock::TryAcquire().Held());
    other.Kill();
    EXPECT_TRUE(InstallationLock::TryAcquire().Held()) << "released by the system when the holder died";
  }
}

TEST(InstallationLockSimulated, WithoutAMachineTheLockIsHeldWithNothingToCollideWith) {
  const InstallationLock mine = InstallationLock::TryAcquire();
  ASSERT_TRUE(mine.Held());
  EXPECT_TRUE(std::filesystem::exists(SimulatedMachine::Current()->Folder() / "locks" / "installation.lock"));

  const auto machine = SimulatedMachine::Current();
  SimulatedMachine::Install(nullptr);
  const InstallationLock first = InstallationLock::TryAcquire();
  const InstallationLock second = InstallationLock::TryAcquire();
  SimulatedMachine::Install(machine);
  EXPECT_TRUE(first.Held());
  EXPECT_TRUE(second.Held());
  EXPECT_FALSE(InstallationLock::TryAcquire().Held()) << "the machine's own lock is still taken";
}

}  // namespace
