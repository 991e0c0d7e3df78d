// SimulatedMachine: drive C: and the devices written to.
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

// Leaves the code as the last error and returns it.
uint32_t Failure(uint32_t code) {
  SetSimulatedLastError(code);
  return code;
}

}  // namespace

std::optional<std::wstring> SimulatedMachine::CurrentDirectory() {
  std::lock_guard guard(lock_);
  if (Faulted("GetCurrentDirectoryA")) return std::nullopt;
  return state_.settings.currentDirectory;
}

SimulatedFileSystem::Kind SimulatedMachine::PathKind(std::wstring_view path) {
  std::lock_guard guard(lock_);
  return files_.KindOf(path, state_.settings.currentDirectory);
}

uint32_t SimulatedMachine::CreateDirectory(std::wstring_view path) {
  std::lock_guard guard(lock_);
  if (Faulted("CreateDirectoryA")) return SimulatedLastError();
  const uint32_t error = files_.CreateDirectory(path, state_.settings.currentDirectory);
  Succeeded(error);
  return error;
}

uint32_t SimulatedMachine::FileAttributes(std::wstring_view path) {
  std::lock_guard guard(lock_);
  if (Faulted("GetFileAttributesW")) return SimulatedLastError();
  const uint32_t error = files_.Attributes(path, state_.settings.currentDirectory);
  Succeeded(error);
  return error;
}

uint32_t SimulatedMachine::WriteNewFile(std::wstring_view path, const std::vector<uint8_t>& bytes) {
  std::lock_guard guard(lock_);
  if (Faulted("CreateFileW")) return SimulatedLastError();
  const std::wstring& directory = state_.settings.currentDirectory;
  auto code = faults_.Take("WriteFile");
  if (!code) code = devices_.TakeStoredFault("WriteFile");
  if (code) {
    // The write breaks off half-way: the file is there, holding part of the bytes.
    files_.WriteNewFile(path, directory, bytes, bytes.size() / 2);
    SetSimulatedLastError(*code);
    return *code;
  }
  const uint32_t error = files_.WriteNewFile(path, directory, bytes);
  Succeeded(error);
  return error;
}

uint32_t SimulatedMachine::MoveFileReplacing(std::wstring_view from, std::wstring_view to) {
  std::lock_guard guard(lock_);
  if (Faulted("MoveFileExW")) return SimulatedLastError();
  const uint32_t error = files_.MoveReplacing(from, to, state_.settings.currentDirectory);
  Succeeded(error);
  return error;
}

uint32_t SimulatedMachine::DeleteFile(std::wstring_view path) {
  std::lock_guard guard(lock_);
  const uint32_t error = files_.DeleteFile(path, state_.settings.currentDirectory);
  Succeeded(error);
  return error;
}

std::optional<uint32_t> SimulatedMachine::WriteDevice(std::wstring_view devicePath, const std::vector<uint8_t>& bytes) {
  std::lock_guard guard(lock_);
  if (Faulted("CreateFileW")) return std::nullopt;
  if (devices_.IsUsbDevicePath(devicePath)) {
    if (Faulted("WriteFileEx")) return std::nullopt;
    if (const uint32_t error = devices_.AppendReceived(devicePath, bytes)) {
      Failure(error);
      return std::nullopt;
    }
    return static_cast<uint32_t>(bytes.size());
  }
  const auto device = std::find_if(state_.devices.begin(), state_.devices.end(),
                                   [&](const std::wstring& path) { return EqualsNoCase(path, devicePath); });
  if (device != state_.devices.end()) {
    if (Faulted("WriteFileEx")) return std::nullopt;
    auto& received = deviceBytes_[ToLowerUnits(*device)];
    received.insert(received.end(), bytes.begin(), bytes.end());
    return static_cast<uint32_t>(bytes.size());
  }
  // An existing file opens like a device; the write starts at its beginning.
  const std::wstring& directory = state_.settings.currentDirectory;
  if (files_.KindOf(devicePath, directory) != SimulatedFileSystem::Kind::File) {
    const uint32_t missing = files_.Attributes(devicePath, directory);
    SetSimulatedLastError(missing == 0 ? kErrorAccessDenied : missing);  // a folder cannot be written like a device
    return std::nullopt;
  }
  if (Faulted("WriteFileEx")) return std::nullopt;
  uint32_t error = 0;
  auto content = files_.ReadFile(devicePath, directory, error);
  if (!content) {
    SetSimulatedLastError(error);
    return std::nullopt;
  }
  if (content->size() < bytes.size()) content->resize(bytes.size());
  std::copy(bytes.begin(), bytes.end(), content->begin());
  if ((error = files_.WriteNewFile(devicePath, directory, *content)) != 0) {
    SetSimulatedLastError(error);
    return std::nullopt;
  }
  return static_cast<uint32_t>(bytes.size());
}

bool SimulatedMachine::SetCurrentDirectory(std::wstring_view path) {
  std::lock_guard guard(lock_);
  uint32_t error = 0;
  const auto host = files_.HostPath(path, state_.settings.currentDirectory, error);
  if (!host || files_.KindOf(path, state_.settings.currentDirectory) != SimulatedFileSystem::Kind::Directory) {
    return false;
  }
  std::wstring absolute(path);
  if (absolute.size() < 2 || absolute[1] != L':') absolute = state_.settings.currentDirectory + L"\\" + absolute;
  state_.settings.currentDirectory = absolute;
  SaveLocked();
  return true;
}

void SimulatedMachine::AddDevice(std::wstring devicePath) {
  std::lock_guard guard(lock_);
  state_.devices.push_back(std::move(devicePath));
  SaveLocked();
}

std::vector<uint8_t> SimulatedMachine::DeviceBytes(std::wstring_view devicePath) const {
  std::lock_guard guard(lock_);
  const auto it = deviceBytes_.find(ToLowerUnits(devicePath));
  return it == deviceBytes_.end() ? std::vector<uint8_t>() : it->second;
}

bool SimulatedMachine::HoldFileOpen(std::wstring_view path) {
  std::lock_guard guard(lock_);
  return files_.Hold(path, state_.settings.currentDirectory);
}

void SimulatedMachine::ReleaseFile(std::wstring_view path) {
  std::lock_guard guard(lock_);
  files_.Release(path, state_.settings.currentDirectory);
}
