// The installation lock and the administrator check on the real API (under Wine here): the
// lock is a file in ProgramData\QuorvelSetup that exists only while a run holds it.
#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "base/WideText.h"
#include "engine/spooler/ContractPlatform.h"
#include "engine/spooler/InstallationLock.h"
#include "engine/spooler/SystemOperations.h"

namespace {

std::wstring LockFilePath() {
  wchar_t buffer[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"ProgramData", buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::wstring(buffer, length) + L"\\QuorvelSetup\\installation.lock";
}

std::wstring FolderOf(const std::wstring& file) {
  return file.substr(0, file.rfind(L'\\'));
}

// The folder also holds the console's run logs, left by earlier runs in the same prefix.
bool RemoveFolderTree(const std::wstring& folder) {
  std::error_code error;
  std::filesystem::remove_all(std::filesystem::path(folder), error);
  return !error && GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES;
}

// The SDDL text of the folder's access list, or nothing when it cannot be read.
std::wstring AccessListOf(const std::wstring& folder) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetNamedSecurityInfoW(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, nullptr,
                            nullptr, &descriptor) != ERROR_SUCCESS) {
    return {};
  }
  wchar_t* text = nullptr;
  std::wstring result;
  if (ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION,
                                                           &text, nullptr)) {
    result = text;
    LocalFree(text);
  }
  LocalFree(descriptor);
  return result;
}

// Whether anyone but SYSTEM and the administrators may create, change or delete in the folder.
bool OthersMayWrite(const std::wstring& folder) {
  PACL list = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetNamedSecurityInfoW(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &list, nullptr,
                            &descriptor) != ERROR_SUCCESS) {
    return true;
  }
  bool others = list == nullptr;  // no list: everyone may do anything
  constexpr DWORD kWriting = FILE_ADD_FILE | FILE_ADD_SUBDIRECTORY | FILE_WRITE_DATA | FILE_APPEND_DATA |
                             FILE_DELETE_CHILD | DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;
  for (DWORD i = 0; list != nullptr && i < list->AceCount; ++i) {
    ACE_HEADER* header = nullptr;
    if (!GetAce(list, i, reinterpret_cast<void**>(&header)) || header->AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
    const auto* ace = reinterpret_cast<const ACCESS_ALLOWED_ACE*>(header);
    PSID sid = const_cast<DWORD*>(&ace->SidStart);
    if ((ace->Mask & kWriting) == 0 || IsWellKnownSid(sid, WinLocalSystemSid) ||
        IsWellKnownSid(sid, WinBuiltinAdministratorsSid)) {
      continue;
    }
    others = true;
  }
  LocalFree(descriptor);
  return others;
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(InstallationLockWin32, TheLockFileLivesInProgramDataWhileHeldAndIsOpenedByNobodyElse) {
  const std::wstring path = LockFilePath();
  ASSERT_FALSE(path.empty()) << "no ProgramData folder";
  {
    const InstallationLock lock = InstallationLock::TryAcquire();
    ASSERT_TRUE(lock.Held());
    EXPECT_TRUE(Exists(path)) << WideToUtf8(path);
    // Any other open of it, as another program would try, meets the sharing violation.
    const HANDLE other = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, 0, nullptr);
    const DWORD error = GetLastError();
    EXPECT_EQ(other, INVALID_HANDLE_VALUE);
    if (other != INVALID_HANDLE_VALUE) CloseHandle(other);
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  }
  EXPECT_FALSE(Exists(path)) << "deleted when closed";
}

// A folder made before, open to everyone (as a standard user could make it in ProgramData),
// is tightened by the next lock: from then on only SYSTEM and the administrators write there.
TEST(InstallationLockWin32, TheLockFolderLetsOnlyAdministratorsAndSystemWrite) {
  const std::wstring folder = FolderOf(LockFilePath());
  ASSERT_FALSE(folder.empty()) << "no ProgramData folder";
  ASSERT_TRUE(RemoveFolderTree(folder)) << WideToUtf8(folder);
  PSECURITY_DESCRIPTOR open = nullptr;
  ASSERT_TRUE(
      ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;OICI;FA;;;WD)", SDDL_REVISION_1, &open, nullptr));
  SECURITY_ATTRIBUTES attributes{sizeof attributes, open, FALSE};
  const bool made = CreateDirectoryW(folder.c_str(), &attributes) != FALSE;
  LocalFree(open);
  ASSERT_TRUE(made) << "the folder could not be made: " << GetLastError();
  // Wine keeps no list: it answers one made from the Unix file mode.
  const std::wstring kept = AccessListOf(folder);
  if (kept.find(L"(A;OICI;FA;;;WD)") == std::wstring::npos) {
    RemoveDirectoryW(folder.c_str());
    GTEST_SKIP() << "this system keeps no access list on folders: asked for everyone's full access, it answers "
                 << WideToUtf8(kept);
  }
  ASSERT_TRUE(OthersMayWrite(folder));
  {
    const InstallationLock lock = InstallationLock::TryAcquire();
    ASSERT_TRUE(lock.Held());
  }
  EXPECT_FALSE(OthersMayWrite(folder)) << WideToUtf8(AccessListOf(folder));

  // A new folder gets the same list.
  ASSERT_TRUE(RemoveDirectoryW(folder.c_str())) << GetLastError();
  {
    const InstallationLock lock = InstallationLock::TryAcquire();
    ASSERT_TRUE(lock.Held());
  }
  EXPECT_FALSE(OthersMayWrite(folder)) << WideToUtf8(AccessListOf(folder));
}

// Wine starts every program with an administrator's token; the answer is printed so that a
// run on Windows shows its own.
TEST(InstallationLockWin32, RunningAsAdministratorAnswersAsThePlatformSays) {
  const bool administrator = RunningAsAdministrator();
  std::printf("RunningAsAdministrator: %s\n", administrator ? "yes" : "no");
  RecordProperty("administrator", administrator ? "yes" : "no");
  if (contract::RunningUnderWine()) {
    EXPECT_TRUE(administrator);
  }
}

}  // namespace
