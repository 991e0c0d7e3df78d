#include "base/WindowsErrorCodes.h"
#include "engine/spooler/FileOperations.h"
#include "simulated/SimulatedLastError.h"
#include "simulated/SimulatedMachine.h"

SystemOutcome WriteDeviceBytes(const std::wstring& devicePath, const uint8_t* bytes, uint32_t count) {
  if (devicePath.empty() || (bytes == nullptr && count != 0)) return SystemOutcome::Failure(kErrorInvalidParameter);
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine) return SimulatedFailure();
  const auto transferred = machine->WriteDevice(devicePath, std::vector<uint8_t>(bytes, bytes + count));
  if (!transferred) return SimulatedFailure();
  return *transferred == count ? SystemOutcome() : SystemOutcome::Failure(kErrorWriteFault);
}

bool FileAttributesMissing(const std::wstring& path) {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  return machine && machine->FileAttributes(path) == kErrorFileNotFound;
}

SystemOutcome WriteWholeFile(const std::wstring& path, std::span<const uint8_t> bytes) {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine) return SimulatedFailure();
  const std::wstring partial = path + L".partial";
  uint32_t error = machine->WriteNewFile(partial, std::vector<uint8_t>(bytes.begin(), bytes.end()));
  if (error == 0) error = machine->MoveFileReplacing(partial, path);
  if (error != 0) machine->DeleteFile(partial);
  return SystemOutcome::OfCode(error);
}
