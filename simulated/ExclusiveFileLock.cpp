#include "simulated/ExclusiveFileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

ExclusiveFileLock::Outcome ExclusiveFileLock::TryTake(const std::filesystem::path& file) {
  Release();
  std::error_code error;
  std::filesystem::create_directories(file.parent_path(), error);
  if (error) {
    errno = error.value();
    return Outcome::Failed;
  }
  // O_CLOEXEC: a program the holder starts must not keep the lock alive after it.
  const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return Outcome::Failed;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int reason = errno;
    ::close(fd);
    errno = reason;
    return reason == EWOULDBLOCK ? Outcome::HeldElsewhere : Outcome::Failed;
  }
  fd_ = fd;
  return Outcome::Taken;
}

void ExclusiveFileLock::Release() {
  // Closing the only descriptor of its file description drops the flock.
  if (fd_ >= 0) ::close(std::exchange(fd_, -1));
}
