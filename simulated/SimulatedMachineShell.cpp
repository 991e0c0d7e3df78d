// SimulatedMachine: programs started through the shell.
#include "simulated/SimulatedMachine.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "base/WideText.h"
#include "base/WindowsErrorCodes.h"
#include "simulated/CertUtilTool.h"
#include "simulated/FreshMachineState.h"
#include "simulated/MachineLayout.h"
#include "simulated/MachineStateFile.h"
#include "simulated/PortMonitorDialog.h"
#include "simulated/PrintUiApplet.h"
#include "simulated/SimulatedLastError.h"
#include "simulated/SystemErrorTexts.h"
#include "simulated/TcpIpPortRecord.h"

namespace {

std::wstring FileNameOf(std::wstring_view path) {
  const auto cut = path.find_last_of(L"\\/");
  return std::wstring(cut == std::wstring_view::npos ? path : path.substr(cut + 1));
}

}  // namespace

std::optional<ShellEvent> SimulatedMachine::ShellExecute(const std::wstring& file, const std::wstring& parameters,
                                                         int showState) {
  std::lock_guard guard(lock_);
  if (Faulted("ShellExecuteExW")) return std::nullopt;
  const std::wstring program = FileNameOf(file);
  ShellEvent event;
  if (EqualsNoCase(program, L"rundll32.exe")) {
    event = RunPrintUiApplet(parameters, spooler_);
  } else if (EqualsNoCase(program, L"certutil.exe")) {
    event = RunCertUtil(parameters, state_, files_);
  } else {
    SetSimulatedLastError(kErrorFileNotFound);
    return std::nullopt;
  }
  event.program = file;
  event.showState = showState;
  shellEvents_.push_back(event);
  SaveLocked();
  return event;
}

std::optional<std::wstring> SimulatedMachine::ProgramFilesFolder() {
  std::lock_guard guard(lock_);
  if (Faulted("SHGetSpecialFolderPathW")) return std::nullopt;
  return machine_layout::ProgramFiles(state_.settings);
}

std::vector<ShellEvent> SimulatedMachine::ShellEvents() const {
  std::lock_guard guard(lock_);
  return shellEvents_;
}
