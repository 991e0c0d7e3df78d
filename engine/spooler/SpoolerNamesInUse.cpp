#include "engine/spooler/SpoolerNamesInUse.h"

#include <algorithm>

#include "base/WideText.h"
#include "engine/spooler/SpoolerEnumeration.h"

namespace {

constexpr uint32_t kEnumLocalConnectionsNetwork = 0x46;

}  // namespace

bool PrinterNameInUse(const std::wstring& printerName) {
  const auto printers = EnumPrintersLevel2(kEnumLocalConnectionsNetwork);
  return printers && std::any_of(printers->begin(), printers->end(), [&](const PrinterRow& printer) {
           return EqualsNoCase(printer.printerName, printerName);
         });
}

bool PortNameInUse(const std::wstring& portName) {
  const auto ports = EnumPortsLevel2();
  return ports && std::any_of(ports->begin(), ports->end(),
                              [&](const PortRow& port) { return EqualsNoCase(port.portName, portName); });
}
