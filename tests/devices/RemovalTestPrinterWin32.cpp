#include <windows.h>
#include <winspool.h>

#include "devices/RemovalTestSpooler.h"

bool AddTestPrinter(const std::wstring& printerName, const std::wstring& driverName) {
  // Wine's spooler refuses a printer without a data type (1801); Windows takes RAW alike.
  std::wstring name = printerName, driver = driverName, port = L"LPT1:", processor = L"WinPrint", type = L"RAW";
  PRINTER_INFO_2W info{};
  info.pPrinterName = name.data();
  info.pDriverName = driver.data();
  info.pPortName = port.data();
  info.pPrintProcessor = processor.data();
  info.pDatatype = type.data();
  info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
  const HANDLE added = AddPrinterW(nullptr, 2, reinterpret_cast<LPBYTE>(&info));
  if (added == nullptr) return false;
  ClosePrinter(added);
  return true;
}
