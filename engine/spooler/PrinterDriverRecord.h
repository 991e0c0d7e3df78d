// The driver registration of AddPrinterDriverLevel6 (the platform's level-6 driver
// record): file names only, the files themselves lie in the printer-driver directory.
#pragma once

#include <cstdint>
#include <string>

struct PrinterDriverRecord {
  uint32_t version = 3;
  std::wstring driverName;
  std::wstring environment;  // empty: none passed, the calling program's own
  std::wstring driverFile;
  std::wstring dataFile;
  std::wstring configurationFile;
  std::wstring helpFile;
  // File names, each followed by one NUL, the list ended by a further NUL; empty for none.
  std::wstring dependentFiles;
  uint64_t driverVersion = 11;
  std::wstring manufacturer = L"VT";
  std::wstring provider = L"VT";
};
