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
#include "simulated/PrintUiApplet.h"
#include "simulated/SimulatedLastError.h"
#include "simulated/SystemErrorTexts.h"
#include "simulated/TcpIpPortRecord.h"

namespace {


constexpr uint32_t kEnumLocal = 0x02;
constexpr uint32_t kEnumConnections = 0x04;

constexpr uint16_t kEnglish = 0x0409;
constexpr uint16_t kChinese = 0x0804;

std::mutex currentLock;
std::shared_ptr<SimulatedMachine> current;

// Leaves the code as the last error and returns it.
uint32_t Failure(uint32_t code) {
  SetSimulatedLastError(code);
  return code;
}

std::wstring FileNameOf(std::wstring_view path) {
  const auto cut = path.find_last_of(L"\\/");
  return std::wstring(cut == std::wstring_view::npos ? path : path.substr(cut + 1));
}

std::filesystem::path HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/') return home;
  if (const passwd* user = getpwuid(getuid()); user != nullptr && user->pw_dir != nullptr) return user->pw_dir;
  return "/tmp";
}

}  // namespace

SimulatedMachine::SimulatedMachine(std::filesystem::path folder, MachineState state)
    : folder_(std::move(folder)), state_(std::move(state)), files_(folder_ / "drive_c"), spooler_(state_, files_),
      devices_(folder_) {}

SimulatedMachine::OpenResult SimulatedMachine::Open(const std::filesystem::path& folder) {
  OpenResult result;
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) {
    result.error = "cannot create the machine folder " + folder.string() + ": " + ec.message();
    return result;
  }
  const std::filesystem::path stateFile = folder / "machine.xml";
  MachineStateLoad load = LoadMachineState(stateFile);
  if (!load.error.empty()) {
    result.error = "the simulated machine in " + folder.string() + " cannot be used: " + load.error +
                   ". The file was left as it is; repair or move it, or name another folder with " + kFolderVariable +
                   ".";
    return result;
  }
  const bool fresh = !load.state;
  std::shared_ptr<SimulatedMachine> machine(new SimulatedMachine(std::filesystem::absolute(folder, ec),
                                                                 fresh ? FreshMachineState() : std::move(*load.state)));
  for (const auto& path : FreshMachineFolders()) {
    if (const uint32_t error = machine->files_.CreateDirectories(path)) {
      result.error =
          "cannot create " + WideToUtf8(path) + " in " + folder.string() + " (error " + std::to_string(error) + ")";
      return result;
    }
  }
  if (fresh) {
    if (std::string error = SaveMachineState(machine->state_, stateFile); !error.empty()) {
      result.error = error;
      return result;
    }
  }
  result.machine = std::move(machine);
  return result;
}

std::filesystem::path SimulatedMachine::DefaultFolder() {
  if (const char* named = std::getenv(kFolderVariable); named != nullptr && *named != '\0') return named;
  // XDG: a relative XDG_STATE_HOME is invalid and is ignored.
  if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && *state == '/') {
    return std::filesystem::path(state) / "quorvel-setup" / "machine";
  }
  return HomeFolder() / ".local" / "state" / "quorvel-setup" / "machine";
}

void SimulatedMachine::Install(std::shared_ptr<SimulatedMachine> machine) {
  std::lock_guard guard(currentLock);
  current = std::move(machine);
}

std::shared_ptr<SimulatedMachine> SimulatedMachine::Current() {
  std::lock_guard guard(currentLock);
  return current;
}

std::shared_ptr<SimulatedMachine> SimulatedMachine::CurrentOrUnavailable() {
  auto machine = Current();
  if (!machine) SetSimulatedLastError(kErrorRpcServerUnavailable);
  return machine;
}

std::optional<uint16_t> SimulatedMachine::ConfiguredUiLanguage() {
  const auto machine = Current();
  if (!machine) return std::nullopt;
  std::lock_guard guard(machine->lock_);
  return machine->state_.settings.uiLanguage;
}

std::optional<std::filesystem::path> SimulatedMachine::HostPath(std::wstring_view windowsPath) const {
  std::lock_guard guard(lock_);
  uint32_t error = 0;
  return files_.HostPath(windowsPath, state_.settings.currentDirectory, error);
}

bool SimulatedMachine::Faulted(std::string_view call) {
  auto code = faults_.Take(call);
  if (!code) code = devices_.TakeStoredFault(call);
  if (!code) return false;
  SetSimulatedLastError(*code);
  return true;
}

bool SimulatedMachine::Succeeded(uint32_t code) {
  if (code != 0) SetSimulatedLastError(code);
  return code == 0;
}

void SimulatedMachine::SaveLocked() {
  if (batchDepth_ > 0) {
    savePending_ = true;
    return;
  }
  savePending_ = false;
  if (const std::string error = SaveMachineState(state_, StateFile()); !error.empty()) {
    std::fprintf(stderr, "simulated machine: the change is not saved: %s\n", error.c_str());
  }
}

std::optional<std::vector<SimulatedPrinter>> SimulatedMachine::EnumPrinters(uint32_t flags) {
  std::lock_guard guard(lock_);
  if (Faulted("EnumPrintersW")) return std::nullopt;
  std::vector<SimulatedPrinter> printers;
  // Every printer of this machine is local; connections to shared printers are none.
  if (!(flags & (kEnumLocal | kEnumConnections))) return printers;
  printers.reserve(state_.printers.size());
  for (const auto& [key, printer] : state_.printers) printers.push_back(printer);
  return printers;
}

std::optional<std::vector<SimulatedDriver>> SimulatedMachine::EnumPrinterDrivers(uint32_t level) {
  std::lock_guard guard(lock_);
  if (Faulted("EnumPrinterDriversW")) return std::nullopt;
  const bool known = (level >= 1 && level <= 6) || level == 8;
  // Level 8 came with Windows Vista.
  if (!known || (level == 8 && state_.settings.majorVersion < 6)) {
    SetSimulatedLastError(kErrorInvalidLevel);
    return std::nullopt;
  }
  const std::wstring environment = machine_layout::Environment(state_.settings);
  std::vector<SimulatedDriver> drivers;
  for (const auto& [key, driver] : state_.drivers) {
    if (!EqualsNoCase(driver.environment, environment)) continue;
    drivers.push_back(driver);
    if (level != 8) drivers.back().infPath.clear();
  }
  return drivers;
}

std::optional<std::vector<SimulatedPort>> SimulatedMachine::EnumPorts() {
  std::lock_guard guard(lock_);
  if (Faulted("EnumPortsW")) return std::nullopt;
  return std::vector<SimulatedPort>(state_.ports.begin(), state_.ports.end());
}

std::optional<std::wstring> SimulatedMachine::GetPrinterDriverDirectory() {
  std::lock_guard guard(lock_);
  if (Faulted("GetPrinterDriverDirectoryW")) return std::nullopt;
  return machine_layout::DriverDirectory(state_.settings);
}

uint32_t SimulatedMachine::XcvAddPort(std::wstring_view monitor, const std::vector<uint8_t>& data) {
  std::lock_guard guard(lock_);
  if (Faulted("OpenPrinterW")) return SimulatedLastError();
  if (!spooler_.HasMonitor(monitor)) return Failure(kErrorUnknownPort);
  if (Faulted("XcvDataW")) return SimulatedLastError();

  SimulatedPort port;
  port.monitor = std::wstring(monitor);
  if (EqualsNoCase(monitor, L"Local Port")) {
    // The port name with its terminator, in UTF-16.
    if (data.size() < 2 || data.size() % 2) return Failure(kErrorInvalidParameter);
    for (size_t i = 0; i + 1 < data.size(); i += 2) {
      const wchar_t unit = static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
      if (unit == 0) break;
      port.name += unit;
    }
    port.description = L"Local Port";
    port.monitor = L"Local Port";
  } else if (EqualsNoCase(monitor, L"Standard TCP/IP Port")) {
    const auto record = DecodeTcpIpPortRecord(data);
    if (!record) return Failure(kErrorInvalidParameter);
    port.name = record->portName;
    port.hostAddress = record->hostAddress.empty() ? record->ipAddress : record->hostAddress;
    port.portNumber = record->portNumber;
    port.protocol = record->protocol;
    if (record->size != kTcpIpPortRecordBytes || record->version != 1 || (record->protocol != 1 && record->protocol != 2) ||
        port.hostAddress.empty()) {
      return Failure(kErrorInvalidParameter);
    }
    port.description = L"Standard TCP/IP Port";
    port.monitor = L"Standard TCP/IP Port";
  } else {
    return Failure(kErrorNotSupported);
  }
  const uint32_t status = spooler_.AddPort(std::move(port));
  if (status == 0) SaveLocked();
  Succeeded(status);
  return status;
}

bool SimulatedMachine::AddPortDialog(std::wstring_view monitor) {
  std::lock_guard guard(lock_);
  if (Faulted("AddPortW")) return false;
  if (!spooler_.HasMonitor(monitor)) return Succeeded(kErrorInvalidParameter);
  const bool local = EqualsNoCase(monitor, L"Local Port");
  const bool tcp = EqualsNoCase(monitor, L"Standard TCP/IP Port");
  // The WSD and app monitors make their ports themselves; they have no add-port dialog.
  if (!local && !tcp) return Succeeded(kErrorNotSupported);
  auto& answers = state_.settings.dialogAnswers;
  PortDialogAnswer answer;
  if (!answers.empty()) {
    answer = answers.front();
    answers.pop_front();
    SaveLocked();
  }
  if (!answer.confirmed) return Succeeded(kErrorCancelled);
  SimulatedPort port;
  port.monitor = std::wstring(monitor);
  port.description = port.monitor;
  port.name = answer.portName;
  if (tcp) {
    port.hostAddress = answer.hostAddress;
    port.portNumber = 9100;
    port.protocol = 1;
    if (port.name.empty()) port.name = L"IP_" + answer.hostAddress;
  }
  const uint32_t error = spooler_.AddPort(std::move(port));
  if (error == 0) SaveLocked();
  return Succeeded(error);
}

bool SimulatedMachine::DeletePort(std::wstring_view portName) {
  std::lock_guard guard(lock_);
  if (Faulted("DeletePortW")) return false;
  const uint32_t error = spooler_.DeletePort(portName);
  if (error == 0) SaveLocked();
  return Succeeded(error);
}

bool SimulatedMachine::ConfigurePortDialog(std::wstring_view portName) {
  std::lock_guard guard(lock_);
  if (Faulted("ConfigurePortW")) return false;
  const SimulatedPort* port = state_.ports.Find(portName);
  if (port == nullptr) return Succeeded(kErrorUnknownPort);
  if (EqualsNoCase(port->monitor, L"WSD Port") || EqualsNoCase(port->monitor, L"Appmon")) {
    return Succeeded(kErrorNotSupported);
  }
  // The port's dialog; without a scripted answer the user presses OK.
  auto& answers = state_.settings.dialogAnswers;
  if (answers.empty()) return true;
  const bool confirmed = answers.front().confirmed;
  answers.pop_front();
  SaveLocked();
  return confirmed || Succeeded(kErrorCancelled);
}

uint32_t SimulatedMachine::OpenAndDeletePrinter(std::wstring_view printerName) {
  std::lock_guard guard(lock_);
  if (Faulted("OpenPrinterW")) return SimulatedLastError();
  if (spooler_.FindPrinter(printerName) == nullptr) return Failure(kErrorInvalidPrinterName);
  if (Faulted("DeletePrinter")) return SimulatedLastError();
  const uint32_t error = spooler_.DeletePrinter(printerName);
  if (error == 0) SaveLocked();
  Succeeded(error);
  return error;
}

bool SimulatedMachine::AddPrinterDriver(SimulatedDriver driver) {
  std::lock_guard guard(lock_);
  if (Faulted("AddPrinterDriverExW")) return false;
  const uint32_t error = spooler_.AddDriver(std::move(driver));
  if (error == 0) SaveLocked();
  return Succeeded(error);
}

bool SimulatedMachine::AddPrinter(SimulatedPrinter printer) {
  std::lock_guard guard(lock_);
  if (Faulted("AddPrinterW")) return false;
  const uint32_t error = spooler_.AddPrinter(std::move(printer));
  if (error == 0) SaveLocked();
  return Succeeded(error);
}

bool SimulatedMachine::SetDefaultPrinter(std::wstring_view printerName) {
  std::lock_guard guard(lock_);
  if (Faulted("SetDefaultPrinterW")) return false;
  const uint32_t error = spooler_.SetDefaultPrinter(printerName);
  if (error == 0) SaveLocked();
  return Succeeded(error);
}

bool SimulatedMachine::DeletePrinterDriver(std::wstring_view driverName, uint32_t flags, uint32_t version) {
  std::lock_guard guard(lock_);
  if (Faulted("DeletePrinterDriverExW")) return false;
  const uint32_t error = spooler_.DeleteDriver(driverName, flags, version);
  if (error == 0) SaveLocked();
  return Succeeded(error);
}

bool SimulatedMachine::DeletePrinterDriverPackage(std::wstring_view infPath) {
  std::lock_guard guard(lock_);
  if (Faulted("DeletePrinterDriverPackageW")) return false;
  const uint32_t error = spooler_.DeleteDriverPackage(infPath);
  if (error == 0) SaveLocked();
  return Succeeded(error);
}

std::optional<ShellEvent> SimulatedMachine::ShellExecute(const std::wstring& file, const std::wstring& parameters,
                                                         int showState) {
  std::lock_guard guard(lock_);
  if (Faulted("ShellExecuteExW")) return std::nullopt;
  const std::wstring program = FileNameOf(file);
  ShellEvent event;
  if (EqualsNoCase(program, L"rundll32.exe")) {
    event = RunPrintUiApplet(parameters, spooler_);
  } else if (EqualsNoCase(program, L"certutil.exe")) {
    event = RunCertUtil(parameters, state_, files_);
  } else {
    SetSimulatedLastError(kErrorFileNotFound);
    return std::nullopt;
  }
  event.program = file;
  event.showState = showState;
  shellEvents_.push_back(event);
  SaveLocked();
  return event;
}

std::optional<std::wstring> SimulatedMachine::ProgramFilesFolder() {
  std::lock_guard guard(lock_);
  if (Faulted("SHGetSpecialFolderPathW")) return std::nullopt;
  return machine_layout::ProgramFiles(state_.settings);
}

std::optional<SimulatedMachine::Version> SimulatedMachine::GetVersion() {
  std::lock_guard guard(lock_);
  if (Faulted("GetVersionExW")) return std::nullopt;
  const auto& settings = state_.settings;
  return Version{settings.majorVersion, settings.minorVersion, settings.buildNumber};
}

std::optional<bool> SimulatedMachine::IsWow64Process() {
  std::lock_guard guard(lock_);
  if (Faulted("IsWow64Process")) return std::nullopt;
  return state_.settings.x64;
}

std::optional<std::wstring> SimulatedMachine::FormatMessage(uint32_t code, uint16_t languageId) {
  std::lock_guard guard(lock_);
  if (Faulted("FormatMessageW")) return std::nullopt;
  MessageLanguage language = MessageLanguage::English;
  if (languageId == 0) {
    // Neutral: the language of the user's interface.
    if (state_.settings.uiLanguage == kChinese) language = MessageLanguage::Chinese;
  } else if (languageId == kChinese) {
    language = MessageLanguage::Chinese;
  } else if (languageId != kEnglish) {
    // The machine has the English and Chinese language packs only.
    SetSimulatedLastError(kErrorResourceLanguageNotFound);
    return std::nullopt;
  }
  auto text = SystemErrorText(code, language);
  if (!text) SetSimulatedLastError(kErrorMessageNotFound);
  return text;
}

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
  if (const auto code = faults_.Take("WriteFile")) {
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

uint64_t SimulatedMachine::ScaledDelayMs(uint64_t milliseconds) {
  std::lock_guard guard(lock_);
  requestedDelayMs_ += milliseconds;
  return static_cast<uint64_t>(static_cast<double>(milliseconds) * timeScale_);
}

bool SimulatedMachine::InjectFault(std::string_view call, uint32_t code, FaultMode mode) {
  std::lock_guard guard(lock_);
  return faults_.Inject(call, code, mode);
}

bool SimulatedMachine::FailsNow(std::string_view call) {
  std::lock_guard guard(lock_);
  return Faulted(call);
}

void SimulatedMachine::ClearFaults() {
  std::lock_guard guard(lock_);
  faults_.Clear();
}

void SimulatedMachine::SetTimeScale(double scale) {
  std::lock_guard guard(lock_);
  timeScale_ = std::max(0.0, scale);
}

uint64_t SimulatedMachine::RequestedDelayMs() const {
  std::lock_guard guard(lock_);
  return requestedDelayMs_;
}

void SimulatedMachine::SetWindowsVersion(uint32_t major, uint32_t minor, uint32_t build) {
  std::lock_guard guard(lock_);
  state_.settings.majorVersion = major;
  state_.settings.minorVersion = minor;
  state_.settings.buildNumber = build;
  SaveLocked();
}

void SimulatedMachine::SetX64(bool x64) {
  std::lock_guard guard(lock_);
  state_.settings.x64 = x64;
  SaveLocked();
}

bool SimulatedMachine::ProtectedPrintModeOn() const {
  std::lock_guard guard(lock_);
  return state_.settings.protectedPrintMode;
}

void SimulatedMachine::SetProtectedPrintMode(bool on) {
  std::lock_guard guard(lock_);
  state_.settings.protectedPrintMode = on;
  SaveLocked();
}

void SimulatedMachine::SetUiLanguage(std::optional<uint16_t> languageId) {
  std::lock_guard guard(lock_);
  state_.settings.uiLanguage = languageId;
  SaveLocked();
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

void SimulatedMachine::AddDialogAnswer(PortDialogAnswer answer) {
  std::lock_guard guard(lock_);
  state_.settings.dialogAnswers.push_back(std::move(answer));
  SaveLocked();
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

void SimulatedMachine::RemoveMonitor(std::wstring_view monitor) {
  std::lock_guard guard(lock_);
  auto& monitors = state_.monitors;
  monitors.erase(std::remove_if(monitors.begin(), monitors.end(),
                                [&](const std::wstring& name) { return EqualsNoCase(name, monitor); }),
                 monitors.end());
  SaveLocked();
}

MachineState SimulatedMachine::Snapshot() const {
  std::lock_guard guard(lock_);
  return state_;
}

std::wstring SimulatedMachine::DefaultPrinter() const {
  std::lock_guard guard(lock_);
  return state_.defaultPrinter;
}

std::vector<ShellEvent> SimulatedMachine::ShellEvents() const {
  std::lock_guard guard(lock_);
  return shellEvents_;
}

SimulatedMachine::Batch::Batch(SimulatedMachine& machine) : machine_(machine) {
  std::lock_guard guard(machine_.lock_);
  ++machine_.batchDepth_;
}

SimulatedMachine::Batch::~Batch() {
  std::lock_guard guard(machine_.lock_);
  if (--machine_.batchDepth_ == 0 && machine_.savePending_) machine_.SaveLocked();
}

void SimulatedMachine::PopulateForBenchmark(size_t printers, size_t ports) {
  std::lock_guard guard(lock_);
  for (size_t i = 0; i < ports; ++i) {
    state_.ports.Add({L"BENCH" + std::to_wstring(i) + L":", L"Local Port", L"Local Port", L"", 0, 0});
  }
  for (size_t i = 0; i < printers; ++i) {
    SimulatedPrinter printer{
        L"Bench printer " + std::to_wstring(i), L"Microsoft Print To PDF", L"nul:", L"winprint", 0x40, {}};
    state_.printers.emplace(ToLowerUnits(printer.name), std::move(printer));
  }
  SaveLocked();
}
