// SimulatedMachine: opening and saving the machine, the current machine, faults, batches;
// the platform calls are in SimulatedMachine<Service>.cpp beside it.
#include "simulated/SimulatedMachine.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "base/WideText.h"
#include "base/WindowsErrorCodes.h"
#include "simulated/CertUtilTool.h"
#include "simulated/FreshMachineState.h"
#include "simulated/MachineLayout.h"
#include "simulated/MachineStateFile.h"
#include "simulated/PortMonitorDialog.h"
#include "simulated/PrintUiApplet.h"
#include "simulated/SimulatedLastError.h"
#include "simulated/SystemErrorTexts.h"
#include "simulated/TcpIpPortRecord.h"

namespace {

std::mutex currentLock;
std::shared_ptr<SimulatedMachine> current;

std::filesystem::path HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/') return home;
  if (const passwd* user = getpwuid(getuid()); user != nullptr && user->pw_dir != nullptr) return user->pw_dir;
  return "/tmp";
}

}  // namespace

SimulatedMachine::SimulatedMachine(std::filesystem::path folder, MachineState state)
    : folder_(std::move(folder)),
      state_(std::move(state)),
      files_(folder_ / "drive_c"),
      spooler_(state_, files_),
      devices_(folder_) {}

SimulatedMachine::OpenResult SimulatedMachine::Open(const std::filesystem::path& folder) {
  OpenResult result;
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) {
    result.error = "cannot create the machine folder " + folder.string() + ": " + ec.message();
    return result;
  }
  const std::filesystem::path stateFile = folder / "machine.xml";
  MachineStateLoad load = LoadMachineState(stateFile);
  if (!load.error.empty()) {
    result.error = "the simulated machine in " + folder.string() + " cannot be used: " + load.error +
                   ". The file was left as it is; repair or move it, or name another folder with " + kFolderVariable +
                   ".";
    return result;
  }
  const bool fresh = !load.state;
  std::shared_ptr<SimulatedMachine> machine(new SimulatedMachine(std::filesystem::absolute(folder, ec),
                                                                 fresh ? FreshMachineState() : std::move(*load.state)));
  for (const auto& path : FreshMachineFolders()) {
    if (const uint32_t error = machine->files_.CreateDirectories(path)) {
      result.error =
          "cannot create " + WideToUtf8(path) + " in " + folder.string() + " (error " + std::to_string(error) + ")";
      return result;
    }
  }
  if (fresh) {
    if (std::string error = SaveMachineState(machine->state_, stateFile); !error.empty()) {
      result.error = error;
      return result;
    }
  }
  result.machine = std::move(machine);
  return result;
}

std::filesystem::path SimulatedMachine::DefaultFolder() {
  if (const char* named = std::getenv(kFolderVariable); named != nullptr && *named != '\0') return named;
  // XDG: a relative XDG_STATE_HOME is invalid and is ignored.
  if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && *state == '/') {
    return std::filesystem::path(state) / "quorvel-setup" / "machine";
  }
  return HomeFolder() / ".local" / "state" / "quorvel-setup" / "machine";
}

void SimulatedMachine::Install(std::shared_ptr<SimulatedMachine> machine) {
  std::lock_guard guard(currentLock);
  current = std::move(machine);
}

std::shared_ptr<SimulatedMachine> SimulatedMachine::Current() {
  std::lock_guard guard(currentLock);
  return current;
}

std::shared_ptr<SimulatedMachine> SimulatedMachine::CurrentOrUnavailable() {
  auto machine = Current();
  if (!machine) SetSimulatedLastError(kErrorRpcServerUnavailable);
  return machine;
}

std::optional<uint16_t> SimulatedMachine::ConfiguredUiLanguage() {
  const auto machine = Current();
  if (!machine) return std::nullopt;
  std::lock_guard guard(machine->lock_);
  return machine->state_.settings.uiLanguage;
}

std::optional<std::filesystem::path> SimulatedMachine::HostPath(std::wstring_view windowsPath) const {
  std::lock_guard guard(lock_);
  uint32_t error = 0;
  return files_.HostPath(windowsPath, state_.settings.currentDirectory, error);
}

bool SimulatedMachine::Faulted(std::string_view call) {
  auto code = faults_.Take(call);
  if (!code) code = devices_.TakeStoredFault(call);
  if (!code) return false;
  SetSimulatedLastError(*code);
  return true;
}

bool SimulatedMachine::Succeeded(uint32_t code) {
  if (code != 0) SetSimulatedLastError(code);
  return code == 0;
}

void SimulatedMachine::SaveLocked() {
  if (batchDepth_ > 0) {
    savePending_ = true;
    return;
  }
  savePending_ = false;
  if (const std::string error = SaveMachineState(state_, StateFile()); !error.empty()) {
    std::fprintf(stderr, "simulated machine: the change is not saved: %s\n", error.c_str());
  }
}

bool SimulatedMachine::InjectFault(std::string_view call, uint32_t code, FaultMode mode) {
  std::lock_guard guard(lock_);
  return faults_.Inject(call, code, mode);
}

bool SimulatedMachine::InjectFault(std::string_view call, uint32_t code, int times) {
  std::lock_guard guard(lock_);
  return faults_.Inject(call, code, times);
}

bool SimulatedMachine::FailsNow(std::string_view call) {
  std::lock_guard guard(lock_);
  return Faulted(call);
}

void SimulatedMachine::ClearFaults() {
  std::lock_guard guard(lock_);
  faults_.Clear();
}

MachineState SimulatedMachine::Snapshot() const {
  std::lock_guard guard(lock_);
  return state_;
}

SimulatedMachine::Batch::Batch(SimulatedMachine& machine) : machine_(machine) {
  std::lock_guard guard(machine_.lock_);
  ++machine_.batchDepth_;
}

SimulatedMachine::Batch::~Batch() {
  std::lock_guard guard(machine_.lock_);
  if (--machine_.batchDepth_ == 0 && machine_.savePending_) machine_.SaveLocked();
}
