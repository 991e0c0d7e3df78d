#include <fstream>

#include "base/WideText.h"
#include "engine/spooler/ContractPlatform.h"
#include "simulated/SimulatedMachine.h"

namespace contract {

namespace {

SimulatedMachine& Machine() {
  return *SimulatedMachine::Current();
}

std::filesystem::path Host(const std::wstring& path) {
  return Machine().HostPath(path).value_or("/nonexistent");
}

}  // namespace

bool RunningUnderWine() {
  return false;
}

std::wstring PrinterDriverEnvironment() {
  return Machine().Snapshot().settings.x64 ? L"Windows x64" : L"Windows NT x86";
}

bool WineLooksForPrinterDriversAmongTheCallers() {
  return false;
}

ScratchFolder::ScratchFolder() {
  static unsigned counter = 0;
  path_ = L"C:\\Windows\\Temp\\contract-" + std::to_wstring(++counter);
  std::filesystem::create_directories(Host(path_));
}

ScratchFolder::~ScratchFolder() {
  std::error_code ec;
  std::filesystem::remove_all(Host(path_), ec);
}

bool DirectoryExists(const std::wstring& path) {
  return Machine().PathKind(path) == SimulatedFileSystem::Kind::Directory;
}

std::optional<std::vector<uint8_t>> ReadFileBytes(const std::wstring& path) {
  if (Machine().PathKind(path) != SimulatedFileSystem::Kind::File) return std::nullopt;
  std::ifstream in(Host(path), std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(Host(path), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

std::vector<std::wstring> FolderEntries(const std::wstring& folder) {
  std::vector<std::wstring> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(Host(folder), ec)) {
    names.push_back(Utf8ToWide(entry.path().filename().string()));
  }
  return names;
}

std::wstring WorkingDirectory() {
  return Machine().CurrentDirectory().value_or(L"");
}

bool ChangeWorkingDirectory(const std::wstring& path) {
  return Machine().SetCurrentDirectory(path);
}

bool CompleteHalfAddedWinePrinter(const std::wstring&) {
  return false;
}

std::wstring DefaultPrinterName() {
  return Machine().DefaultPrinter();
}

HeldFile::HeldFile(const std::wstring& path) : path_(path), held_(Machine().HoldFileOpen(path)) {}

HeldFile::~HeldFile() {
  if (held_) Machine().ReleaseFile(path_);
}

}  // namespace contract
