// Whether the spooler would refuse a new printer or port of this name. The spooler
// compares printer and port names without regard to letter case (a second printer whose
// name differs only in case fails with 1802, such a port with 183), so these do too,
// unlike the exact PrinterNameExists and PortExists.
//
// Threads: any thread; no state.
#pragma once

#include <string>

bool PrinterNameInUse(const std::wstring& printerName);
bool PortNameInUse(const std::wstring& portName);
