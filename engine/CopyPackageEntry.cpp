#include "engine/CopyPackageEntry.h"

#include <algorithm>

#include "base/ProgramPackage.h"
#include "base/WideText.h"
#include "base/WindowsErrorCodes.h"
#include "engine/spooler/FileOperations.h"
#include "engine/spooler/SystemOperations.h"

SystemOutcome CopyPackageEntry(std::wstring_view relativePath, const std::wstring& targetDirectory,
                               std::wstring& dependentFileList) {
  const size_t cut = relativePath.rfind(L'\\');
  if (cut == std::wstring_view::npos) return SystemOutcome::Failure(kErrorInvalidParameter);
  const std::wstring fileName(relativePath.substr(cut + 1));
  dependentFileList += fileName;

  std::wstring entryName(relativePath);
  std::replace(entryName.begin(), entryName.end(), L'\\', L'/');
  const std::string entry = WideToUtf8(entryName);
  const auto package = ProgramPackage();
  const auto size = package ? package->EntrySize(entry) : std::nullopt;
  if (!size) return SystemOutcome::Failure(kErrorFileNotFound);
  if (*size == 0 || *size > kMaxPackageEntrySize)
    return SystemOutcome::Failure(*size == 0 ? kErrorInvalidData : kErrorFileTooLarge);
  const auto bytes = package->ReadEntry(entry, kMaxPackageEntrySize);
  if (!bytes) return SystemOutcome::Failure(kErrorInvalidData);  // damaged in the package
  return WriteWholeFile(targetDirectory + fileName, *bytes);
}
