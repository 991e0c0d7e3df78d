#include <windows.h>

#include <shlobj.h>

#include <string>

#include "engine/spooler/ProgramDataFolder.h"

namespace {

// FOLDERID_ProgramData, spelled out so that no GUID library is needed.
constexpr KNOWNFOLDERID kProgramDataFolder = {
    0x62AB5D82, 0xFDC1, 0x4DC3, {0xA9, 0xDD, 0x07, 0x0D, 0x1D, 0x49, 0x5D, 0x97}};

// C:\ProgramData, from the shell, else from the environment; empty when neither names it.
std::wstring MachineDataFolder() {
  wchar_t* known = nullptr;
  if (SUCCEEDED(SHGetKnownFolderPath(kProgramDataFolder, 0, nullptr, &known)) && known != nullptr) {
    std::wstring folder(known);
    CoTaskMemFree(known);
    return folder;
  }
  CoTaskMemFree(known);
  wchar_t buffer[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"ProgramData", buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::wstring(buffer, length);
}

}  // namespace

std::filesystem::path ProgramDataFolder() {
  const std::wstring data = MachineDataFolder();
  if (data.empty()) return {};
  return std::filesystem::path(data + L"\\QuorvelSetup");
}
