// At most one installation or removal run at a time on the machine, across processes (the
// wizard and the console program). The lock is an exclusive hold on a machine-wide file,
// not a thread-owned mutex, so it can be released on another thread than the one that took
// it, and the system frees it when the holding process dies, however it ends.
//
// Windows: <ProgramData>\QuorvelSetup\installation.lock, opened without sharing and deleted
// when closed. Linux build: the simulated machine's locks/installation.lock, held by a flock;
// with no simulated machine installed there is nothing to install to and no one to collide
// with, so the lock is held without a file.
//
// A lock that cannot be made at all (the folder cannot be created, no ProgramData folder) is
// held without a file too: the run goes ahead as it did before there was a lock, instead of
// being refused for ever as if another run were going.
//
// Threads: TryAcquire on any thread. One lock object is used by one thread at a time; it may
// be moved to another thread and released there (the wizard takes it on the UI thread and
// hands it to the worker thread, which releases it when the run has ended).
#pragma once

#include <memory>
#include <utility>

class InstallationLock {
 public:
  InstallationLock() = default;  // holds nothing
  // Tries once, without waiting. The result does not hold the lock when another run holds it.
  static InstallationLock TryAcquire();
  bool Held() const { return held_; }

  InstallationLock(InstallationLock&& other) noexcept
      : file_(std::move(other.file_)), held_(std::exchange(other.held_, false)) {}
  InstallationLock& operator=(InstallationLock&& other) noexcept {
    if (this != &other) {
      file_ = std::move(other.file_);
      held_ = std::exchange(other.held_, false);
    }
    return *this;
  }
  InstallationLock(const InstallationLock&) = delete;
  InstallationLock& operator=(const InstallationLock&) = delete;
  ~InstallationLock() = default;  // releases

 private:
  // The open lock file of the platform's backend.
  struct File;
  struct FileCloser {
    void operator()(File* file) const;
  };

  std::unique_ptr<File, FileCloser> file_;
  bool held_ = false;
};
