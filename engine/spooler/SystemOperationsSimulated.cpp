#include <chrono>
#include <thread>

#include "engine/spooler/SystemOperations.h"
#include "simulated/SimulatedLastError.h"
#include "simulated/SimulatedMachine.h"

namespace {

// A delay of the product, as long as the current machine's time scale makes it.
void Delay(uint32_t milliseconds) {
  const auto machine = SimulatedMachine::Current();
  const uint64_t real = machine ? machine->ScaledDelayMs(milliseconds) : milliseconds;
  if (real > 0) std::this_thread::sleep_for(std::chrono::milliseconds(real));
}

bool IsSeparator(wchar_t c) {
  return c == L'\\' || c == L'/' || c == L':';
}

}  // namespace

std::optional<WindowsVersion> GetWindowsVersion() {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine) return std::nullopt;
  const auto version = machine->GetVersion();
  if (!version) return std::nullopt;
  return WindowsVersion{version->major, version->minor, version->build};
}

bool Is64BitWindows() {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine) return false;
  if (const auto wow64 = machine->IsWow64Process()) return *wow64;
  return machine->NativeSystemIs64Bit();
}

bool RunningAsAdministrator() {
  const auto machine = SimulatedMachine::Current();
  return machine && machine->RunningAsAdministrator();
}

std::optional<std::wstring> SystemMessageText(uint32_t code, uint16_t languageId) {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine) return std::nullopt;
  return machine->FormatMessage(code, languageId);
}

std::wstring FileNameOfPath(std::wstring_view path) {
  // PathFindFileNameW: the part after the last separator (\, / or :) that is followed by
  // something other than another separator.
  size_t start = 0;
  for (size_t i = 0; i < path.size(); ++i) {
    if (IsSeparator(path[i]) && i + 1 < path.size() && path[i + 1] != L'\\' && path[i + 1] != L'/') start = i + 1;
  }
  return std::wstring(path.substr(start));
}

void SleepMs(uint32_t milliseconds) {
  Delay(milliseconds);
}

bool SleepExMs(uint32_t milliseconds, bool /*alertable*/) {
  // Writes to simulated devices complete before their call returns: nothing can end the
  // sleep early.
  Delay(milliseconds);
  return false;
}
