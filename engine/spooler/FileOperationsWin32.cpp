#include <windows.h>

#include <vector>

#include "base/UniqueWin32Handle.h"
#include "engine/spooler/FileOperations.h"
#include "engine/spooler/SystemOperations.h"

namespace {

constexpr DWORD kDeviceWaitMs = 1000;
constexpr DWORD kCancelWaitMs = 1000;

// One overlapped write. It lives on the heap and holds its own copy of the bytes: should
// the device never complete it, it is left behind rather than freed under the driver.
struct DeviceWrite {
  OVERLAPPED overlapped{};  // first member: the completion routine gets its address
  std::vector<uint8_t> bytes;
  DWORD transferred = 0;
  DWORD error = ERROR_SUCCESS;
  bool completed = false;
};

void CALLBACK WriteCompleted(DWORD error, DWORD transferred, LPOVERLAPPED overlapped) noexcept {
  auto* write = reinterpret_cast<DeviceWrite*>(overlapped);
  write->transferred = error == ERROR_SUCCESS ? transferred : 0;
  write->error = error;
  write->completed = true;
}

// Alertable sleeps until the routine has run or the time is up.
void WaitForCompletion(const DeviceWrite& write, DWORD milliseconds) {
  const ULONGLONG deadline = GetTickCount64() + milliseconds;
  while (!write.completed) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) break;
    SleepExMs(static_cast<uint32_t>(deadline - now), true);
  }
}

}  // namespace

SystemOutcome WriteDeviceBytes(const std::wstring& devicePath, const uint8_t* bytes, uint32_t count) {
  if (devicePath.empty() || (bytes == nullptr && count != 0)) return SystemOutcome::Failure(ERROR_INVALID_PARAMETER);
  KernelHandle device =
      OwnFileHandle(CreateFileW(devicePath.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OVERLAPPED | FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!device) return SystemOutcome::Failure(GetLastError());
  KernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!event) return SystemOutcome::Failure(GetLastError());
  auto* write = new DeviceWrite();
  write->bytes.assign(bytes, bytes + count);
  write->overlapped.hEvent = event.Get();
  if (!WriteFileEx(device.Get(), write->bytes.data(), count, &write->overlapped, WriteCompleted)) {
    const DWORD error = GetLastError();
    delete write;
    return SystemOutcome::Failure(error);
  }
  WaitForCompletion(*write, kDeviceWaitMs);
  if (!write->completed) {
    // Cancel, and let the cancelled write report back before its memory can go.
    CancelIoEx(device.Get(), &write->overlapped);
    WaitForCompletion(*write, kCancelWaitMs);
    // Unless the write came back, it stays pending; its record is deliberately not freed.
    if (write->completed) delete write;
    return SystemOutcome::Failure(ERROR_TIMEOUT);
  }
  const DWORD error = write->error != ERROR_SUCCESS ? write->error
                      : write->transferred != count ? static_cast<DWORD>(ERROR_WRITE_FAULT)
                                                    : static_cast<DWORD>(ERROR_SUCCESS);
  delete write;
  return SystemOutcome::OfCode(error);
}

bool FileAttributesMissing(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_FILE_NOT_FOUND;
}

SystemOutcome WriteWholeFile(const std::wstring& path, std::span<const uint8_t> bytes) {
  if (bytes.size() > MAXDWORD) return SystemOutcome::Failure(ERROR_INVALID_PARAMETER);
  const std::wstring partial = path + L".partial";
  DWORD error = ERROR_SUCCESS;
  {
    KernelHandle file = OwnFileHandle(
        CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return SystemOutcome::Failure(GetLastError());
    DWORD written = 0;
    if (!WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
      error = GetLastError();
    } else if (written != bytes.size()) {
      error = ERROR_WRITE_FAULT;
    } else if (!CloseHandle(file.Release())) {
      error = GetLastError();  // data that was cached may not have reached the disk
    }
  }
  if (error == ERROR_SUCCESS &&
      !MoveFileExW(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = GetLastError();
  }
  if (error != ERROR_SUCCESS) DeleteFileW(partial.c_str());
  return SystemOutcome::OfCode(error);
}
