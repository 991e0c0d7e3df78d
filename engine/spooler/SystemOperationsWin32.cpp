#include <windows.h>

#include <shlwapi.h>

#include "base/UniqueWin32Handle.h"
#include "engine/spooler/SystemOperations.h"

static_assert(sizeof(OSVERSIONINFOEXW) == 284, "the extended version record is 284 bytes");

std::optional<WindowsVersion> GetWindowsVersion() {
  OSVERSIONINFOEXW info{};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  // The manifest declares Windows 10, so the call reports the real version.
  if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info))) return std::nullopt;
#pragma GCC diagnostic pop
  return WindowsVersion{info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
}

bool Is64BitWindows() {
#if defined(_WIN64)
  // A 64-bit process runs only on 64-bit Windows, and never under WOW64.
  return true;
#else
  BOOL wow64 = FALSE;
  if (IsWow64Process(GetCurrentProcess(), &wow64)) return wow64 != FALSE;
  SYSTEM_INFO native{};
  GetNativeSystemInfo(&native);
  return native.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ||
         native.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_IA64 ||
         native.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_ARM64;
#endif
}

namespace {

void FreeSidMemory(PSID sid) {
  FreeSid(sid);
}
using SidMemory = UniqueWin32Handle<PSID, FreeSidMemory>;

}  // namespace

bool RunningAsAdministrator() {
  HANDLE token = nullptr;
  if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
    const KernelHandle owned(token);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    if (GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size)) {
      return elevation.TokenIsElevated != 0;
    }
  }
  // No elevation to ask about: membership of the Administrators group decides.
  SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
  SidMemory administrators;
  if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                administrators.Receive())) {
    return false;
  }
  BOOL member = FALSE;
  return CheckTokenMembership(nullptr, administrators.Get(), &member) && member;
}

std::optional<std::wstring> SystemMessageText(uint32_t code, uint16_t languageId) {
  const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM;
  static_assert((FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM) ==
                0x1300);
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(flags, nullptr, code, languageId, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
  const LocalMemory buffer(text);
  if (length == 0 || text == nullptr) return std::nullopt;
  return std::wstring(text, length);
}

std::wstring FileNameOfPath(std::wstring_view path) {
  if (path.empty()) return {};
  const std::wstring copy(path);
  const wchar_t* name = PathFindFileNameW(copy.c_str());
  return name ? std::wstring(name) : std::wstring();
}

void SleepMs(uint32_t milliseconds) {
  Sleep(milliseconds);
}

bool SleepExMs(uint32_t milliseconds, bool alertable) {
  return SleepEx(milliseconds, alertable ? TRUE : FALSE) == WAIT_IO_COMPLETION;
}
