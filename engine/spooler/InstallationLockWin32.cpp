#include <windows.h>

#include <string>

#include "engine/spooler/InstallationLock.h"
#include "engine/spooler/ProgramDataFolder.h"
#include "engine/spooler/UniqueWin32Handle.h"

struct InstallationLock::File {
  KernelHandle handle;
};

void InstallationLock::FileCloser::operator()(File* file) const {
  delete file;
}

InstallationLock InstallationLock::TryAcquire() {
  InstallationLock result;
  const std::wstring folder = ProgramDataFolder().wstring();
  if (folder.empty()) {
    result.held_ = true;
    return result;
  }
  if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
    result.held_ = true;
    return result;
  }
  // No sharing: any second open fails while this handle lives. The handle belongs to the
  // process, not to a thread, and closes when the process ends; the file goes with it.
  KernelHandle handle =
      OwnFileHandle(CreateFileW((folder + L"\\installation.lock").c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  if (handle) {
    result.file_.reset(new File{std::move(handle)});
    result.held_ = true;
    return result;
  }
  const DWORD error = GetLastError();
  // Sharing violation: another run holds it. Access denied: another user's run holds it
  // (its file is theirs), or the file of a run that is just ending is being deleted.
  result.held_ = error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED;
  return result;
}
