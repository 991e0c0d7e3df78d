#include "engine/spooler/InstallationLock.h"
#include "simulated/ExclusiveFileLock.h"
#include "simulated/SimulatedMachine.h"

struct InstallationLock::File {
  ExclusiveFileLock lock;
};

void InstallationLock::FileCloser::operator()(File* file) const {
  delete file;
}

InstallationLock InstallationLock::TryAcquire() {
  InstallationLock result;
  const auto machine = SimulatedMachine::Current();
  if (!machine) {
    result.held_ = true;
    return result;
  }
  auto file = std::make_unique<File>();
  switch (file->lock.TryTake(machine->InstallationLockFile())) {
    case ExclusiveFileLock::Outcome::Taken:
      result.file_.reset(file.release());
      result.held_ = true;
      break;
    case ExclusiveFileLock::Outcome::HeldElsewhere:
      break;
    case ExclusiveFileLock::Outcome::Failed:
      result.held_ = true;
      break;
  }
  return result;
}
