// The machine-wide installation lock against the platform: on Linux the simulated machine's
// lock file, under Wine the real exclusive file in ProgramData. Two locks of one process
// conflict as two processes would, and the lock is not tied to the thread that took it.
#include <gtest/gtest.h>

#include <thread>
#include <utility>

#include "engine/spooler/InstallationLock.h"

namespace {

TEST(InstallationLockContract, ASecondLockIsRefusedUntilTheFirstGoes) {
  InstallationLock first = InstallationLock::TryAcquire();
  ASSERT_TRUE(first.Held());
  EXPECT_FALSE(InstallationLock::TryAcquire().Held());
  EXPECT_FALSE(InstallationLock::TryAcquire().Held()) << "a refused try leaves nothing behind";

  // Moved on, the lock stays held; the moved-from object holds nothing.
  InstallationLock moved = std::move(first);
  EXPECT_FALSE(first.Held());
  EXPECT_TRUE(moved.Held());
  EXPECT_FALSE(InstallationLock::TryAcquire().Held());

  // Assigning over a held lock releases it.
  moved = InstallationLock();
  EXPECT_FALSE(moved.Held());
  InstallationLock again = InstallationLock::TryAcquire();
  EXPECT_TRUE(again.Held());
}

TEST(InstallationLockContract, AnotherThreadReleasesTheLockItWasHanded) {
  InstallationLock lock = InstallationLock::TryAcquire();
  ASSERT_TRUE(lock.Held());
  bool refusedWhileHeld = false;
  std::thread worker(
      [held = std::move(lock), &refusedWhileHeld] { refusedWhileHeld = !InstallationLock::TryAcquire().Held(); });
  worker.join();
  EXPECT_TRUE(refusedWhileHeld) << "the lock does not belong to a thread";
  EXPECT_TRUE(InstallationLock::TryAcquire().Held()) << "released when the worker's function ended";
}

}  // namespace
