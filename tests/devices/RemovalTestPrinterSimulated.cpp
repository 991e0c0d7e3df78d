#include "devices/RemovalTestSpooler.h"
#include "engine/spooler/SpoolerOperations.h"

bool AddTestPrinter(const std::wstring& printerName, const std::wstring& driverName) {
  PrinterRecord printer;
  printer.printerName = printerName;
  printer.driverName = driverName;
  printer.portName = L"LPT1:";
  return AddPrinterLevel2(printer).Succeeded();
}
