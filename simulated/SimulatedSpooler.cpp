#include "simulated/SimulatedSpooler.h"

#include <algorithm>
#include <cstdio>

#include "base/WideText.h"
#include "base/WindowsErrorCodes.h"
#include "simulated/MachineLayout.h"
#include "simulated/ProtectedPrintRules.h"

namespace {

constexpr uint32_t kDeleteUnusedFiles = 1;
constexpr uint32_t kDeleteSpecificVersion = 2;

constexpr size_t kMaxPrinterName = 220;

std::wstring FileNameOf(std::wstring_view path) {
  const auto cut = path.find_last_of(L"\\/");
  return std::wstring(cut == std::wstring_view::npos ? path : path.substr(cut + 1));
}

std::wstring FolderOf(std::wstring_view path) {
  const auto cut = path.find_last_of(L"\\/");
  return cut == std::wstring_view::npos ? std::wstring() : std::wstring(path.substr(0, cut));
}

// "DriverVer=mm/dd/yyyy,a.b.c.d" as the 64-bit version the spooler reports.
uint64_t DriverVersionOf(std::wstring_view driverVer) {
  const auto comma = driverVer.find(L',');
  if (comma == std::wstring_view::npos) return 0;
  unsigned a = 0, b = 0, c = 0, d = 0;
  const std::string text = WideToUtf8(driverVer.substr(comma + 1));
  if (std::sscanf(text.c_str(), "%u.%u.%u.%u", &a, &b, &c, &d) != 4) return 0;
  return (uint64_t{a & 0xFFFF} << 48) | (uint64_t{b & 0xFFFF} << 32) | (uint64_t{c & 0xFFFF} << 16) | (d & 0xFFFF);
}

// The driver store names a package folder after the INF, the architecture and a hash of
// the INF's bytes.
std::wstring PackageFolderName(std::wstring_view infName, const wchar_t* architecture,
                               const std::vector<uint8_t>& bytes) {
  uint64_t hash = 1469598103934665603ull;
  for (uint8_t byte : bytes) hash = (hash ^ byte) * 1099511628211ull;
  wchar_t hex[17];
  std::swprintf(hex, 17, L"%016llx", static_cast<unsigned long long>(hash));
  return ToLowerUnits(infName) + L"_" + architecture + L"_" + hex;
}

}  // namespace

const SimulatedPrinter* SimulatedSpooler::FindPrinter(std::wstring_view name) const {
  const auto it = state_.printers.find(ToLowerUnits(name));
  return it == state_.printers.end() ? nullptr : &it->second;
}

const SimulatedDriver* SimulatedSpooler::FindDriver(std::wstring_view name, std::wstring_view environment) const {
  const auto it = state_.drivers.find(DriverKey(environment, name));
  return it == state_.drivers.end() ? nullptr : &it->second;
}

uint32_t SimulatedSpooler::CopyDriverFiles(const std::vector<std::wstring>& files, const std::wstring& sourceFolder,
                                           const std::wstring& targetFolder) {
  // Every file must be there before anything is copied, as the spooler checks them first.
  std::vector<std::wstring> sources;
  for (const auto& file : files) {
    const std::wstring source = file.find(L'\\') != std::wstring::npos ? file : sourceFolder + L"\\" + file;
    if (files_.KindOf(source, L"C:\\") != SimulatedFileSystem::Kind::File) return kErrorFileNotFound;
    sources.push_back(source);
  }
  if (const uint32_t error = files_.CreateDirectories(targetFolder)) return error;
  for (const auto& source : sources) {
    if (const uint32_t error = files_.CopyFile(source, targetFolder + L"\\" + FileNameOf(source))) return error;
  }
  return 0;
}

uint32_t SimulatedSpooler::AddDriver(SimulatedDriver driver) {
  if (driver.name.empty() || driver.version != 3 || driver.driverFile.empty() || driver.dataFile.empty() ||
      driver.configFile.empty()) {
    return kErrorInvalidParameter;
  }
  if (const uint32_t refusal = ProtectedPrintCheck(state_.settings, driver.name)) return refusal;
  std::vector<std::wstring> files = {driver.driverFile, driver.dataFile, driver.configFile};
  if (!driver.helpFile.empty()) files.push_back(driver.helpFile);
  files.insert(files.end(), driver.dependentFiles.begin(), driver.dependentFiles.end());
  const auto environment = machine_layout::ResolveEnvironment(driver.environment);
  if (!environment) return kErrorInvalidEnvironment;
  const std::wstring source = machine_layout::DriverDirectoryOf(*environment);
  const std::wstring target = machine_layout::DriverVersionDirectoryOf(*environment, driver.version);
  if (const uint32_t error = CopyDriverFiles(files, source, target)) return error;

  for (auto* file : {&driver.driverFile, &driver.dataFile, &driver.configFile, &driver.helpFile}) {
    *file = FileNameOf(*file);
  }
  for (auto& file : driver.dependentFiles) file = FileNameOf(file);
  driver.environment = *environment;
  driver.infPath.clear();  // added without an INF, so it belongs to no driver package
  state_.drivers[DriverKey(driver.environment, driver.name)] = std::move(driver);
  return 0;
}

uint32_t SimulatedSpooler::InstallDriverFromInf(std::wstring_view modelName, std::wstring_view infPath) {
  uint32_t error = 0;
  const auto bytes = files_.ReadFile(infPath, L"C:\\", error);
  if (!bytes) return error;
  const auto inf = PrinterInfFile::Parse(*bytes);
  if (!inf || !inf->IsPrinterInf()) return kErrorInvalidData;
  const auto model = inf->FindModel(modelName, machine_layout::InfDecoration(state_.settings));
  if (!model) return kErrorUnknownPrinterDriver;
  if (const uint32_t refusal = ProtectedPrintCheck(state_.settings, modelName)) return refusal;

  const std::wstring infFolder = FolderOf(infPath);
  std::vector<std::wstring> sources;
  for (const auto& file : model->files) {
    const std::wstring sub = inf->SourceSubfolder(file);
    sources.push_back(infFolder + (sub.empty() ? L"" : L"\\" + sub) + L"\\" + file);
  }

  // Stage the package in the driver store, then install from there.
  const std::wstring infName = FileNameOf(infPath);
  const std::wstring package = std::wstring(machine_layout::DriverStore()) + L"\\" +
                               PackageFolderName(infName, machine_layout::ArchitectureTag(state_.settings), *bytes);
  std::vector<std::wstring> staged = sources;
  staged.push_back(std::wstring(infPath));
  if ((error = CopyDriverFiles(staged, L"", package)) != 0) {
    files_.RemoveTree(package);
    return error;
  }
  const std::wstring stagedInf = package + L"\\" + infName;
  const bool known = std::any_of(state_.driverPackages.begin(), state_.driverPackages.end(),
                                 [&](const std::wstring& path) { return EqualsNoCase(path, stagedInf); });
  if (!known) state_.driverPackages.push_back(stagedInf);

  std::vector<std::wstring> installed;
  for (const auto& file : model->files) installed.push_back(package + L"\\" + file);
  if ((error = CopyDriverFiles(installed, L"", machine_layout::DriverVersionDirectory(state_.settings, 3))) != 0) {
    return error;
  }
  SimulatedDriver driver;
  driver.name = std::wstring(modelName);
  driver.version = 3;
  driver.environment = machine_layout::Environment(state_.settings);
  driver.driverFile = model->driverFile;
  driver.configFile = model->configFile;
  driver.dataFile = model->dataFile;
  driver.helpFile = model->helpFile;
  driver.dependentFiles = model->dependentFiles;
  driver.infPath = stagedInf;
  driver.manufacturer = model->manufacturer;
  driver.provider = inf->Provider();
  driver.driverVersion = DriverVersionOf(inf->DriverVer());
  state_.drivers[DriverKey(driver.environment, driver.name)] = std::move(driver);
  return 0;
}

uint32_t SimulatedSpooler::DeleteDriver(std::wstring_view name, uint32_t flags, uint32_t version,
                                        std::wstring_view environment) {
  const auto resolved = machine_layout::ResolveEnvironment(environment);
  if (!resolved) return kErrorInvalidEnvironment;
  const auto it = state_.drivers.find(DriverKey(*resolved, name));
  if (it == state_.drivers.end()) return kErrorUnknownPrinterDriver;
  if ((flags & kDeleteSpecificVersion) && it->second.version != version) return kErrorUnknownPrinterDriver;
  // Printers use the drivers of the machine's own environment only.
  if (EqualsNoCase(*resolved, machine_layout::Environment(state_.settings))) {
    for (const auto& [key, printer] : state_.printers) {
      if (EqualsNoCase(printer.driver, it->second.name)) return kErrorPrinterDriverInUse;
    }
  }
  const SimulatedDriver removed = std::move(it->second);
  state_.drivers.erase(it);
  if (flags & kDeleteUnusedFiles) {
    const std::wstring folder = machine_layout::DriverVersionDirectoryOf(removed.environment, removed.version);
    std::vector<std::wstring> files = {removed.driverFile, removed.dataFile, removed.configFile, removed.helpFile};
    files.insert(files.end(), removed.dependentFiles.begin(), removed.dependentFiles.end());
    for (const auto& file : files) {
      if (!file.empty() && !FileUsedByOtherDriver(file, removed)) files_.DeleteFile(folder + L"\\" + file, L"C:\\");
    }
  }
  return 0;
}

bool SimulatedSpooler::FileUsedByOtherDriver(std::wstring_view file, const SimulatedDriver& except) const {
  for (const auto& [key, driver] : state_.drivers) {
    // Another environment keeps its files in another folder.
    if (!EqualsNoCase(driver.environment, except.environment) || driver.version != except.version) continue;
    if (EqualsNoCase(driver.name, except.name)) continue;
    for (const auto* name : {&driver.driverFile, &driver.dataFile, &driver.configFile, &driver.helpFile}) {
      if (EqualsNoCase(*name, file)) return true;
    }
    for (const auto& name : driver.dependentFiles) {
      if (EqualsNoCase(name, file)) return true;
    }
  }
  return false;
}

uint32_t SimulatedSpooler::DeleteDriverPackage(std::wstring_view infPath, std::wstring_view environment) {
  const auto resolved = machine_layout::ResolveEnvironment(environment);
  if (!resolved) return kErrorInvalidEnvironment;
  auto& packages = state_.driverPackages;
  const auto it = std::find_if(packages.begin(), packages.end(),
                               [&](const std::wstring& path) { return EqualsNoCase(path, infPath); });
  if (it == packages.end()) return kErrorFileNotFound;
  const std::wstring tag = std::wstring(L"_") + machine_layout::ArchitectureTagOf(*resolved) + L"_";
  if (ToLowerUnits(FolderOf(*it)).find(tag) == std::wstring::npos) return kErrorFileNotFound;
  for (const auto& [key, driver] : state_.drivers) {
    if (EqualsNoCase(driver.infPath, infPath)) return kErrorPrinterDriverPackageInUse;
  }
  const std::wstring folder = FolderOf(*it);
  packages.erase(it);
  files_.RemoveTree(folder);
  return 0;
}

uint32_t SimulatedSpooler::AddPrinter(SimulatedPrinter printer) {
  if (printer.name.empty() || printer.name.size() > kMaxPrinterName ||
      printer.name.find_first_of(L"\\,") != std::wstring::npos) {
    return kErrorInvalidPrinterName;
  }
  std::wstring key = ToLowerUnits(printer.name);
  if (state_.printers.count(key)) return kErrorPrinterAlreadyExists;
  if (FindDriver(printer.driver, machine_layout::Environment(state_.settings)) == nullptr)
    return kErrorUnknownPrinterDriver;
  if (state_.ports.Find(printer.port) == nullptr) return kErrorUnknownPort;
  if (!EqualsNoCase(printer.printProcessor, L"winprint")) return kErrorUnknownPrintProcessor;
  // A machine without a default printer makes its first new printer the default.
  if (state_.defaultPrinter.empty()) state_.defaultPrinter = printer.name;
  state_.printers.emplace(std::move(key), std::move(printer));
  return 0;
}

uint32_t SimulatedSpooler::DeletePrinter(std::wstring_view name) {
  const auto it = state_.printers.find(ToLowerUnits(name));
  if (it == state_.printers.end()) return kErrorInvalidPrinterName;
  if (EqualsNoCase(state_.defaultPrinter, it->second.name)) state_.defaultPrinter.clear();
  state_.printers.erase(it);
  return 0;
}

uint32_t SimulatedSpooler::SetDefaultPrinter(std::wstring_view name) {
  const SimulatedPrinter* printer = FindPrinter(name);
  if (printer == nullptr) return kErrorInvalidPrinterName;
  state_.defaultPrinter = printer->name;
  return 0;
}

uint32_t SimulatedSpooler::QueueJob(std::wstring_view printerName, std::wstring document) {
  const auto it = state_.printers.find(ToLowerUnits(printerName));
  if (it == state_.printers.end()) return kErrorInvalidPrinterName;
  it->second.jobs.push_back(std::move(document));
  return 0;
}

uint32_t SimulatedSpooler::AddPort(SimulatedPort port) {
  if (port.name.empty()) return kErrorInvalidParameter;
  if (!HasMonitor(port.monitor)) return kErrorUnknownPort;
  if (!state_.ports.Add(std::move(port))) return kErrorAlreadyExists;
  return 0;
}

uint32_t SimulatedSpooler::DeletePort(std::wstring_view name) {
  const SimulatedPort* port = state_.ports.Find(name);
  if (port == nullptr) return kErrorUnknownPort;
  for (const auto& [key, printer] : state_.printers) {
    if (EqualsNoCase(printer.port, port->name)) return kErrorBusy;
  }
  state_.ports.Erase(name);
  return 0;
}

bool SimulatedSpooler::HasMonitor(std::wstring_view monitor) const {
  return std::any_of(state_.monitors.begin(), state_.monitors.end(),
                     [&](const std::wstring& name) { return EqualsNoCase(name, monitor); });
}
