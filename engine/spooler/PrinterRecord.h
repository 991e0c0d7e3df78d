// The printer queue of AddPrinterLevel2 (the platform's level-2 printer record); every
// field not named here stays zero or absent.
#pragma once

#include <cstdint>
#include <string>

struct PrinterRecord {
  std::wstring printerName;
  std::wstring portName;
  std::wstring driverName;
  std::wstring printProcessor = L"WinPrint";
  uint32_t attributes = 0x40;  // local printer
  // What Windows gives a record without one (WinPrint's default); some spoolers refuse the gap.
  std::wstring dataType = L"RAW";
};
