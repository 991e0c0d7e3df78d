#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <string>

#include "base/UniqueWin32Handle.h"
#include "engine/spooler/InstallationLock.h"
#include "engine/spooler/ProgramDataFolder.h"

namespace {

// SYSTEM and the administrators: everything; everyone else may look but neither create,
// change nor delete. Protected, so that ProgramData's own entries (users may create files
// there) are not inherited. OWNER RIGHTS takes the owner's implied right to change the
// list away, should a standard user have made the folder before any run.
constexpr wchar_t kFolderAccess[] = L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)(A;;0x1200a9;;;OW)";

// The lock's folder, made with that list, or an existing one given it: otherwise a standard
// user could hold the lock file and block every installation. The list is applied as far as
// the system allows; false only when there is no folder at all.
bool MakeLockFolder(const std::wstring& folder) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kFolderAccess, SDDL_REVISION_1, &descriptor, nullptr)) {
    return CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
  }
  const LocalMemory owned(descriptor);
  SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
  if (CreateDirectoryW(folder.c_str(), &attributes)) return true;
  if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
  BOOL present = FALSE;
  BOOL defaulted = FALSE;
  PACL list = nullptr;
  if (GetSecurityDescriptorDacl(descriptor, &present, &list, &defaulted) && present) {
    SetNamedSecurityInfoW(const_cast<wchar_t*>(folder.c_str()), SE_FILE_OBJECT,
                          DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr, list,
                          nullptr);
  }
  return true;
}

}  // namespace

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
  if (!MakeLockFolder(folder)) {
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
