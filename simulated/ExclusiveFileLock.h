// An exclusive lock on a file of the simulated machine's folder, standing for a file that a
// Windows program holds open without sharing. It is a flock on an open file description of
// its own, so two holders conflict whether they are two processes or two objects of one
// process, and the system drops it when the holding process dies, however it ends.
//
// Threads: TryTake on any thread; one object is used by one thread at a time, and may be
// moved to another thread and released there.
#pragma once

#include <filesystem>
#include <utility>

class ExclusiveFileLock {
 public:
  enum class Outcome {
    Taken,
    HeldElsewhere,  // another holder has it
    Failed,         // the file cannot be made or opened (errno tells why)
  };

  ExclusiveFileLock() = default;
  ~ExclusiveFileLock() { Release(); }
  ExclusiveFileLock(ExclusiveFileLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  ExclusiveFileLock& operator=(ExclusiveFileLock&& other) noexcept {
    if (this != &other) {
      Release();
      fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
  }
  ExclusiveFileLock(const ExclusiveFileLock&) = delete;
  ExclusiveFileLock& operator=(const ExclusiveFileLock&) = delete;

  // Once, without waiting; makes the file and its folders when missing. Taking it again
  // while this object holds it gives it up first.
  Outcome TryTake(const std::filesystem::path& file);
  bool Taken() const { return fd_ >= 0; }
  void Release();

 private:
  int fd_ = -1;
};
