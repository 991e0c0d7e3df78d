#include "engine/SpoolerMethod.h"

#include "engine/CopyPackageEntry.h"
#include "engine/spooler/FileOperations.h"
#include "engine/spooler/SystemOperations.h"

const std::vector<std::wstring>& SpoolerFileList(const DriverModelRecord& model, bool is64BitWindows) {
  return is64BitWindows ? model.spoolerList64 : model.spoolerList32;
}

std::vector<FileCopyFailure> CopySpoolerFiles(const std::vector<std::wstring>& relativePaths,
                                              const std::wstring& driverDirectory, DependentFileList& files) {
  std::vector<FileCopyFailure> failures;
  for (const auto& path : relativePaths) {
    // The shared Unidrv files may belong to drivers installed before: never overwrite them.
    if (path.find(L"driver\\common") != std::wstring::npos) {
      const std::wstring name = FileNameOfPath(path);
      if (!FileAttributesMissing(driverDirectory + name)) {
        files.AppendName(name);
        files.EndName();
        continue;
      }
    }
    if (const SystemOutcome copied = CopyPackageEntry(path, driverDirectory, files.Units()); !copied) {
      failures.push_back({path, copied.Error()});
    }
    files.EndName();
  }
  files.Close();
  return failures;
}

PrinterDriverRecord DriverRegistration(const DriverModelRecord& model, const std::wstring& environment,
                                       const DependentFileList& files) {
  PrinterDriverRecord driver;
  driver.version = 3;
  driver.driverName = model.driverName;
  driver.environment = environment;
  driver.driverFile = model.driverFile;
  driver.dataFile = model.dataFile;
  driver.configurationFile = model.configurationFile;
  driver.helpFile = model.helpFile;
  driver.dependentFiles = files.Units();
  driver.driverVersion = 11;
  driver.manufacturer = L"VT";
  driver.provider = L"VT";
  return driver;
}
