#include <windows.h>
#include <winspool.h>

#include "base/UniqueWin32Handle.h"
#include "base/WindowsErrorCodes.h"
#include "engine/spooler/SpoolerEnumeration.h"

namespace {

// The spooler takes non-const texts it does not change; empty passes none.
wchar_t* EnvironmentOrNull(const std::wstring& environment) {
  return environment.empty() ? nullptr : const_cast<wchar_t*>(environment.c_str());
}

std::wstring TextOf(const wchar_t* text) {
  return text ? std::wstring(text) : std::wstring();
}

// The two-call pattern: the first call with no buffer asks for the byte count, the
// second fills a zeroed buffer of that size. Any failure gives its code.
template <typename Call>
SystemResult<GlobalMemory> EnumerateInto(Call call, DWORD& count) {
  DWORD needed = 0;
  count = 0;
  if (call(nullptr, 0, &needed, &count)) return GlobalMemory();  // nothing to list
  const DWORD error = GetLastError();
  if (error != ERROR_INSUFFICIENT_BUFFER) return SystemOutcome::Failure(error);
  if (needed == 0) return SystemOutcome::Failure(kErrorGenFailure);
  GlobalMemory buffer(GlobalAlloc(GPTR, needed));
  if (!buffer) return SystemOutcome::Failure(GetLastError());
  if (!call(static_cast<LPBYTE>(buffer.Get()), needed, &needed, &count)) return SystemOutcome::Failure(GetLastError());
  return buffer;
}

constexpr const wchar_t* kTcpIpMonitor = L"Standard TCP/IP Port";

// A registry text value; empty when it is missing or not a text.
std::wstring RegistryText(const std::wstring& key, const wchar_t* value) {
  wchar_t text[256];
  DWORD size = sizeof(text);
  if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), value, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS) {
    return {};
  }
  return std::wstring(text, wcsnlen(text, size / sizeof(wchar_t)));
}

// The Standard TCP/IP monitor keeps each port's host in its registry key, which every
// user may read (its configuration call would need administrator rights).
std::wstring TcpIpPortHost(const std::wstring& portName) {
  // A name with a backslash would name another key.
  if (portName.empty() || portName.find(L'\\') != std::wstring::npos) return {};
  const std::wstring key =
      L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Standard TCP/IP Port\\Ports\\" + portName;
  std::wstring host = RegistryText(key, L"HostName");
  return host.empty() ? RegistryText(key, L"IPAddress") : host;
}

}  // namespace

SystemResult<std::vector<PrinterRow>> EnumPrintersLevel2(uint32_t flags) {
  DWORD count = 0;
  auto buffer = EnumerateInto(
      [flags](LPBYTE data, DWORD size, DWORD* needed, DWORD* returned) {
        return EnumPrintersW(flags, nullptr, 2, data, size, needed, returned) != FALSE;
      },
      count);
  if (!buffer) return buffer.Outcome();
  std::vector<PrinterRow> rows;
  const auto* info = static_cast<const PRINTER_INFO_2W*>(buffer->Get());
  if (info == nullptr) return rows;
  rows.reserve(count);
  for (DWORD i = 0; i < count; ++i) {
    rows.push_back({TextOf(info[i].pPrinterName), TextOf(info[i].pDriverName), TextOf(info[i].pPortName)});
  }
  return rows;
}

SystemResult<std::vector<DriverRow>> EnumPrinterDriversAtLevel(uint32_t level, const std::wstring& environment) {
  DWORD count = 0;
  wchar_t* const named = EnvironmentOrNull(environment);
  auto buffer = EnumerateInto(
      [level, named](LPBYTE data, DWORD size, DWORD* needed, DWORD* returned) {
        return EnumPrinterDriversW(nullptr, named, level, data, size, needed, returned) != FALSE;
      },
      count);
  if (!buffer) return buffer.Outcome();
  std::vector<DriverRow> rows;
  if (buffer->Get() == nullptr) return rows;
  rows.reserve(count);
  for (DWORD i = 0; i < count; ++i) {
    switch (level) {
      case 8: {
        const auto& info = static_cast<const DRIVER_INFO_8W*>(buffer->Get())[i];
        rows.push_back({TextOf(info.pName), TextOf(info.pszInfPath), info.cVersion, info.dwlDriverVersion});
        break;
      }
      case 6: {
        const auto& info = static_cast<const DRIVER_INFO_6W*>(buffer->Get())[i];
        rows.push_back({TextOf(info.pName), L"", info.cVersion, info.dwlDriverVersion});
        break;
      }
      case 1:
        rows.push_back({TextOf(static_cast<const DRIVER_INFO_1W*>(buffer->Get())[i].pName), L""});
        break;
      default:
        return SystemOutcome::Failure(kErrorInvalidLevel);
    }
  }
  return rows;
}

SystemResult<std::vector<PortRow>> EnumPortsLevel2() {
  DWORD count = 0;
  auto buffer =
      EnumerateInto([](LPBYTE data, DWORD size, DWORD* needed,
                       DWORD* returned) { return EnumPortsW(nullptr, 2, data, size, needed, returned) != FALSE; },
                    count);
  if (!buffer) return buffer.Outcome();
  std::vector<PortRow> rows;
  const auto* info = static_cast<const PORT_INFO_2W*>(buffer->Get());
  if (info == nullptr) return rows;
  rows.reserve(count);
  for (DWORD i = 0; i < count; ++i) {
    PortRow row{TextOf(info[i].pPortName), TextOf(info[i].pDescription), TextOf(info[i].pMonitorName), L""};
    if (row.monitorName == kTcpIpMonitor) row.hostAddress = TcpIpPortHost(row.portName);
    rows.push_back(std::move(row));
  }
  return rows;
}

SystemResult<std::wstring> DefaultPrinterName() {
  DWORD needed = 0;
  if (GetDefaultPrinterW(nullptr, &needed)) return std::wstring();
  const DWORD error = GetLastError();
  // No default printer: the spooler answers ERROR_FILE_NOT_FOUND.
  if (error == ERROR_FILE_NOT_FOUND) return std::wstring();
  if (error != ERROR_INSUFFICIENT_BUFFER) return SystemOutcome::Failure(error);
  if (needed == 0) return SystemOutcome::Failure(kErrorGenFailure);
  std::wstring name(needed, L'\0');
  if (!GetDefaultPrinterW(name.data(), &needed)) return SystemOutcome::Failure(GetLastError());
  name.resize(wcsnlen(name.c_str(), name.size()));
  return name;
}

SystemResult<std::wstring> PrinterDriverDirectory(const std::wstring& environment) {
  DWORD needed = 0;
  wchar_t* const named = EnvironmentOrNull(environment);
  if (!GetPrinterDriverDirectoryW(nullptr, named, 1, nullptr, 0, &needed) && needed == 0) {
    return SystemOutcome::Failure(GetLastError());
  }
  if (needed == 0) return SystemOutcome::Failure(kErrorGenFailure);
  std::wstring directory(needed / sizeof(wchar_t) + 1, L'\0');
  if (!GetPrinterDriverDirectoryW(nullptr, named, 1, reinterpret_cast<LPBYTE>(directory.data()),
                                  static_cast<DWORD>(directory.size() * sizeof(wchar_t)), &needed)) {
    return SystemOutcome::Failure(GetLastError());
  }
  directory.resize(wcsnlen(directory.c_str(), directory.size()));
  return directory;
}
