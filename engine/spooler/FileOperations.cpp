#include "engine/spooler/FileOperations.h"

#include "base/WindowsErrorCodes.h"
#include "engine/spooler/AnsiDirectoryCalls.h"

int CreateDirectoryPath(const std::wstring& path) {
  const std::string ansi = ToAnsiCodePage(path);
  auto walked = CurrentDirectoryAnsi();
  if (!walked) return -1;
  size_t start = 0;
  while (start <= ansi.size()) {
    size_t end = ansi.find('\\', start);
    if (end == std::string::npos) end = ansi.size();
    const std::string part = ansi.substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == ".") continue;
    if (part.find(':') != std::string::npos) {
      *walked = part;
      continue;
    }
    *walked += '\\';
    *walked += part;
    const AnsiPathKind kind = AnsiPathKindOf(*walked);
    if (kind == AnsiPathKind::Directory) continue;
    // A file of that name is no directory, however long the walk goes on.
    if (kind == AnsiPathKind::File) return -1;
    const uint32_t error = CreateDirectoryAnsi(*walked);
    if (error != 0 && error != kErrorAlreadyExists) return -1;
  }
  return 1;
}
