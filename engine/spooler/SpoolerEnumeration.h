// The spooler's enumerations, one platform call each (with the two-call pattern), as
// plain rows. SpoolerOperations builds the program's lists and look-ups on them.
//
// Threads: any thread; no state.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct PrinterRow {
  std::wstring printerName;
  std::wstring driverName;
};

struct DriverRow {
  std::wstring driverName;
  std::wstring infPath;  // level 8 only
};

struct PortRow {
  std::wstring portName;
  std::wstring description;
  std::wstring monitorName;
};

// EnumPrintersW, no name, level 2.
std::optional<std::vector<PrinterRow>> EnumPrintersLevel2(uint32_t flags);
// EnumPrinterDriversW, no server; level 1, 6 or 8. An empty environment passes none
// (the calling program's own).
std::optional<std::vector<DriverRow>> EnumPrinterDriversAtLevel(uint32_t level, const std::wstring& environment = {});
// EnumPortsW, no server, level 2.
std::optional<std::vector<PortRow>> EnumPortsLevel2();
// GetPrinterDriverDirectoryW, no server, level 1; no trailing "\". An empty environment
// passes none.
std::optional<std::wstring> PrinterDriverDirectory(const std::wstring& environment = {});
