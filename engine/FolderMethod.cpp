#include "engine/FolderMethod.h"

#include <utility>

#include "engine/CopyPackageEntry.h"
#include "engine/DependentFileList.h"
#include "engine/spooler/FileOperations.h"
#include "engine/spooler/ShellCommands.h"
#include "engine/spooler/SystemOperations.h"

std::wstring InstallFolderBase() {
  const auto programFiles = ProgramFilesFolder();
  if (!programFiles) return L"C:\\PrinterDriver\\Vexlomar\\";
  return *programFiles + L"\\PrinterDriver\\Vexlomar\\";
}

bool CreateInstallSubFolders(const std::wstring& base, const DriverModelRecord& model) {
  for (const auto& folder : model.subFolders) {
    if (CreateDirectoryPath(base + folder) != 1) return false;
  }
  return true;
}

std::optional<uint32_t> ExtractInstallFolder(const std::wstring& base, const DriverModelRecord& model) {
  const std::pair<const std::vector<std::wstring>*, std::wstring> lists[] = {
      {&model.folderListRoot, base},
      {&model.folderListIA64, base + L"ia64\\"},
      {&model.folderList64, base + L"Driver64\\"},
      {&model.folderList32, base + L"Driver32\\"},
  };
  DependentFileList unused;  // the copy lists the names; this method does not need them
  for (const auto& [list, target] : lists) {
    for (const auto& path : *list) {
      if (const SystemOutcome copied = CopyPackageEntry(path, target, unused.Units()); !copied) return copied.Error();
    }
  }
  return std::nullopt;
}

std::wstring InstallFolderInf(const std::wstring& base, const DriverModelRecord& model, bool is64BitWindows) {
  return base + (is64BitWindows ? L"Driver64" : L"Driver32") + L"\\" + model.infFile;
}
