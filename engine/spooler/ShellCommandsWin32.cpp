#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include "base/SystemLibrary.h"
#include "base/UniqueWin32Handle.h"
#include "engine/spooler/ShellCommands.h"

static_assert(sizeof(void*) != 4 || sizeof(SHELLEXECUTEINFOW) == 60, "the 32-bit execution record is 60 bytes");

SystemOutcome StartShellProgram(const std::wstring& file, const std::wstring& parameters, ui::WindowHandle owner,
                                int showState, bool wait) {
  // The programs are the system's own: a file of that name beside the program or in the
  // current directory must not be the one that runs elevated.
  const std::wstring path = SystemDirectoryFile(file);
  if (path.empty()) return SystemOutcome::Failure(GetLastError());
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  info.hwnd = owner;
  info.lpVerb = L"open";
  info.lpFile = path.c_str();
  info.lpParameters = parameters.c_str();
  info.lpDirectory = nullptr;
  info.nShow = showState;
  if (!ShellExecuteExW(&info)) return SystemOutcome::Failure(GetLastError());
  const KernelHandle process(info.hProcess);
  if (wait && process) WaitForSingleObject(process.Get(), INFINITE);
  return {};
}

std::optional<std::wstring> ProgramFilesFolder() {
  wchar_t folder[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathW(nullptr, folder, CSIDL_PROGRAM_FILES, FALSE)) return std::nullopt;
  static_assert(CSIDL_PROGRAM_FILES == 0x26);
  return std::wstring(folder);
}
