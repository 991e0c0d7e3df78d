#include "wizard/RunLockStep.h"

#include <utility>

#include "shell/MessageBoxes.h"
#include "ui/core/ResourceManager.h"

namespace {

// Between Next and the start of the run it makes; only the UI thread touches it.
InstallationLock& Reserved() {
  static InstallationLock reserved;
  return reserved;
}

InstallationLock AcquireOrTell() {
  InstallationLock lock = InstallationLock::TryAcquire();
  if (!lock.Held()) ShowNotice(ui::GetText(L"tip.anotherrun"));
  return lock;
}

}  // namespace

bool ReserveRunLock() {
  if (!Reserved().Held()) Reserved() = AcquireOrTell();
  return Reserved().Held();
}

InstallationLock TakeRunLock() {
  if (Reserved().Held()) return std::exchange(Reserved(), InstallationLock());
  return AcquireOrTell();
}

void DropRunLock() {
  Reserved() = InstallationLock();
}
