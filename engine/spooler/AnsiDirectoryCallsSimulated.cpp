#include "base/WideText.h"
#include "engine/spooler/AnsiDirectoryCalls.h"
#include "simulated/SimulatedLastError.h"
#include "simulated/SimulatedMachine.h"

// The simulated machine's ANSI code page is UTF-8 (the "beta: use Unicode UTF-8" setting
// of Windows 10), so no name is lost on the way.
std::string ToAnsiCodePage(std::wstring_view text) {
  return WideToUtf8(text);
}

std::optional<std::string> CurrentDirectoryAnsi() {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine) return std::nullopt;
  const auto directory = machine->CurrentDirectory();
  if (!directory) return std::nullopt;
  return WideToUtf8(*directory);
}

AnsiPathKind AnsiPathKindOf(const std::string& path) {
  const auto machine = SimulatedMachine::Current();
  if (!machine) return AnsiPathKind::Missing;
  switch (machine->PathKind(Utf8ToWide(path))) {
    case SimulatedFileSystem::Kind::Directory:
      return AnsiPathKind::Directory;
    case SimulatedFileSystem::Kind::File:
      return AnsiPathKind::File;
    default:
      return AnsiPathKind::Missing;
  }
}

uint32_t CreateDirectoryAnsi(const std::string& path) {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine) return SimulatedLastError();
  return machine->CreateDirectory(Utf8ToWide(path));
}
