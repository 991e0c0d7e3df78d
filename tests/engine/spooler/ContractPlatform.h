// What the contract tests of the platform layer need from the machine beneath it, beyond
// the operations they test: scratch folders, reading files back, the default printer,
// a file held open by another program. Implemented on the real API (Windows, Wine) and
// on the simulated machine.
//
// Threads: the test thread only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace contract {

// Wine stands in for Windows but lacks some services; tests name the gap when they skip.
bool RunningUnderWine();

// The environment of the drivers that printers of this system use: the system's own
// architecture, whatever this test program is built for.
std::wstring PrinterDriverEnvironment();

// Wine's spooler in a 32-bit process on 64-bit Windows looks for a new printer's driver
// among the caller's ("Windows NT x86") drivers; Windows among the system's own.
bool WineLooksForPrinterDriversAmongTheCallers();

// A new empty folder for one test (a Windows path without a trailing "\"), removed with
// everything in it when the object goes.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
};

bool DirectoryExists(const std::wstring& path);
std::optional<std::vector<uint8_t>> ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes);
// File and folder names in a folder, without "." and "..".
std::vector<std::wstring> FolderEntries(const std::wstring& folder);

std::wstring WorkingDirectory();
bool ChangeWorkingDirectory(const std::wstring& path);

// Wine's AddPrinterW fails with 1801 for a printer without a data type (its spooler
// requires one; Windows takes RAW) after writing the printer's registry key. This gives
// that half-made printer its data type so that tests of other operations can use it;
// false where there is nothing to complete.
bool CompleteHalfAddedWinePrinter(const std::wstring& printerName);

// Empty when there is no default printer.
std::wstring DefaultPrinterName();

// Another program holding a file open without sharing.
class HeldFile {
 public:
  explicit HeldFile(const std::wstring& path);
  ~HeldFile();
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;
  bool Held() const { return held_; }

 private:
  std::wstring path_;
  void* handle_ = nullptr;
  bool held_ = false;
};

}  // namespace contract
