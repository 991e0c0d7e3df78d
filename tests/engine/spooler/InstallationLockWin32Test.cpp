// The installation lock and the administrator check on the real API (under Wine here): the
// lock is a file in ProgramData\QuorvelSetup that exists only while a run holds it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

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
