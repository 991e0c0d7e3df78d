#include "simulated/ReplaceFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

std::string ReplaceFileWhole(const std::filesystem::path& file, const std::string& text) {
  const std::filesystem::path partial = file.string() + ".new";
  const int fd = ::open(partial.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return "cannot write " + partial.string() + ": " + std::strerror(errno);
  size_t done = 0;
  std::string error;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = "cannot write " + partial.string() + ": " + std::strerror(errno);
      break;
    }
    done += static_cast<size_t>(n);
  }
  if (error.empty() && ::fsync(fd) != 0) error = "cannot write " + partial.string() + ": " + std::strerror(errno);
  ::close(fd);
  if (error.empty() && ::rename(partial.c_str(), file.c_str()) != 0) {
    error = "cannot replace " + file.string() + ": " + std::strerror(errno);
  }
  if (!error.empty()) ::unlink(partial.c_str());
  return error;
}
