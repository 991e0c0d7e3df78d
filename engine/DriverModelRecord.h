// The driver of one printer model: its names and the package paths that make it up.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct DriverModelRecord {
  int32_t modelCode = 0;  // 0 the 203 dpi model, 1 the 300 dpi model; its index in the list
  std::wstring modelName;
  std::wstring driverName;  // the spooler's driver name and the /m argument
  std::wstring driverFile;  // rendering plug-in
  std::wstring dataFile;
  std::wstring configurationFile;  // user-interface plug-in
  std::wstring helpFile = L"UNIDRV.HLP";
  std::vector<std::wstring> spoolerList32;  // relative package paths ("\" separators)
  std::vector<std::wstring> spoolerList64;
  std::vector<std::wstring> spoolerListIA64;
  std::wstring certificateFile;
  std::wstring infFile;  // read by the applet beside each architecture's files
  std::vector<std::wstring> folderListRoot;
  std::vector<std::wstring> folderList32;
  std::vector<std::wstring> folderList64;
  std::vector<std::wstring> folderListIA64;
  std::vector<std::wstring> subFolders;
};

// The records of both models, index 0 the 203 dpi model, index 1 the 300 dpi model.
std::vector<DriverModelRecord> BuildDriverModelRecords();

// The names that mark a printer or driver of this family in the removal lists and the
// console program's listings: the display names alone would match none of the family's
// drivers, whose names are written without the brackets.
std::vector<std::wstring> DriverFamilyNames();
