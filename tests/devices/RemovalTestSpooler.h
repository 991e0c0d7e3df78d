// Printers and drivers for the removal tests, added through the spooler operations, so
// the same set-up runs on the simulated machine and under Wine.
#pragma once

#include <string>

// A version-3 driver with stand-in files written into the driver directory first.
bool InstallTestDriver(const std::wstring& driverName);
// A local printer of that driver on LPT1: (the data type RAW, which Wine's spooler needs).
bool AddTestPrinter(const std::wstring& printerName, const std::wstring& driverName);
bool PrinterListed(const std::wstring& printerName);
bool DriverListed(const std::wstring& driverName);
