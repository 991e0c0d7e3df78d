// The spooler's enumerations, one platform call each (with the two-call pattern), as
// plain rows, or the failing call's code. SpoolerOperations builds the program's lists and look-ups on them.
//
// Threads: any thread; no state.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/SystemResult.h"

struct PrinterRow {
  std::wstring printerName;
  std::wstring driverName;
  std::wstring portName;
};

struct DriverRow {
  std::wstring driverName;
  std::wstring infPath;        // level 8 only
  uint32_t version = 0;        // the spooler's driver version (3 for these drivers); levels 6 and 8
  uint64_t driverVersion = 0;  // the INF's DriverVer, 16 bits a part; levels 6 and 8
};

struct PortRow {
  std::wstring portName;
  std::wstring description;
  std::wstring monitorName;
  std::wstring hostAddress;  // Standard TCP/IP ports: the printer's host name or address
};

// EnumPrintersW, no name, level 2.
SystemResult<std::vector<PrinterRow>> EnumPrintersLevel2(uint32_t flags);
// EnumPrinterDriversW, no server; level 1, 6 or 8. An empty environment passes none
// (the calling program's own).
SystemResult<std::vector<DriverRow>> EnumPrinterDriversAtLevel(uint32_t level, const std::wstring& environment = {});
// EnumPortsW, no server, level 2.
SystemResult<std::vector<PortRow>> EnumPortsLevel2();
// GetDefaultPrinterW: the default printer's name; empty when there is none.
SystemResult<std::wstring> DefaultPrinterName();
// GetPrinterDriverDirectoryW, no server, level 1; no trailing "\". An empty environment
// passes none.
SystemResult<std::wstring> PrinterDriverDirectory(const std::wstring& environment = {});
