#include <unistd.h>

#include <climits>

#include "base/WideText.h"
#include "shell/app/StartUp.h"

std::wstring ExecutableDirectory() {
  char path[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return {};
  std::string text(path, static_cast<size_t>(n));
  return Utf8ToWide(text.substr(0, text.rfind('/') + 1));
}
