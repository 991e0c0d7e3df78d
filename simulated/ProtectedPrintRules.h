// Windows protected print mode in the simulated spooler. With the mode on, Windows keeps
// only its own print drivers: adding any other driver, by AddPrinterDriverEx or through
// the printer applet, fails. The platform documents the refusal but no error code for
// it, so the simulated machine answers ERROR_ACCESS_DENIED.
//
// Threads: any; plain functions without state.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/WindowsErrorCodes.h"
#include "simulated/MachineState.h"

constexpr uint32_t kProtectedPrintRefusal = kErrorAccessDenied;

// True for the drivers that ship with Windows and stay usable in the mode.
bool IsInboxDriverName(std::wstring_view driverName);

// 0 when the machine may take the driver, else the refusal.
uint32_t ProtectedPrintCheck(const MachineSettings& settings, std::wstring_view driverName);
