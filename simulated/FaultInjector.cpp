#include "simulated/FaultInjector.h"

#include <algorithm>

const std::vector<std::string_view>& FaultInjector::KnownCalls() {
  static const std::vector<std::string_view> calls = {
      "EnumPrintersW",
      "EnumPrinterDriversW",
      "EnumPortsW",
      "GetPrinterDriverDirectoryW",
      "OpenPrinterW",
      "XcvDataW",
      "AddPortW",
      "DeletePortW",
      "ConfigurePortW",
      "DeletePrinter",
      "AddPrinterDriverExW",
      "AddPrinterW",
      "SetDefaultPrinterW",
      "DeletePrinterDriverExW",
      "DeletePrinterDriverPackageW",
      "ShellExecuteExW",
      "SHGetSpecialFolderPathW",
      "GetVersionExW",
      "IsWow64Process",
      "FormatMessageW",
      "GetCurrentDirectoryA",
      "CreateDirectoryA",
      "GetFileAttributesW",
      "CreateFileW",
      "WriteFile",
      "MoveFileExW",
      "WriteFileEx",
      // Devices and Bluetooth
      "SetupDiGetClassDevsW",
      "SetupDiEnumDeviceInterfaces",
      "SetupDiGetDeviceInterfaceDetailW",
      "SetupDiGetDeviceInstanceIdW",
      "SetupDiGetDeviceRegistryPropertyW",
      "SetupDiEnumDeviceInfo",
      "SetupDiOpenDevRegKey",
      "RegOpenKeyExW",
      "RegQueryValueExW",
      "LoadLibraryExW",
      "BluetoothFindFirstRadio",
      "BluetoothFindFirstDevice",
      "BluetoothFindNextDevice",
      "BluetoothAuthenticateDevice",
      "BluetoothSetServiceState",
      "BluetoothSetLocalServiceInfo",
  };
  return calls;
}

bool FaultInjector::Inject(std::string_view call, uint32_t code, FaultMode mode) {
  const auto& known = KnownCalls();
  if (std::find(known.begin(), known.end(), call) == known.end()) return false;
  faults_[std::string(call)] = Fault{code, mode == FaultMode::Once ? 1 : -1};
  return true;
}

bool FaultInjector::Inject(std::string_view call, uint32_t code, int times) {
  if (!Inject(call, code, FaultMode::Once)) return false;
  faults_.find(call)->second.remaining = std::max(times, 1);
  return true;
}

void FaultInjector::Clear() {
  faults_.clear();
}

std::optional<uint32_t> FaultInjector::Take(std::string_view call) {
  const auto it = faults_.find(call);
  if (it == faults_.end()) return std::nullopt;
  const uint32_t code = it->second.code;
  if (it->second.remaining > 0 && --it->second.remaining == 0) faults_.erase(it);
  return code;
}
