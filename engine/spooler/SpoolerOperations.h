// The print spooler as the rest of the program sees it: lists and look-ups, changes to
// ports and printers, and the few spooler calls that the installation and removal
// workers make directly. Each function takes plain values and returns a plain value.
//
// Threads: any thread; the functions keep no state and take no locks. The lists and
// look-ups run on the UI thread and on the workers; the port dialogs (AddPortThroughMonitor,
// DeletePortByName, ConfigurePortByName) only on the UI thread, which owns the window.
// A failure's system error code travels in the returned SystemOutcome or SystemResult.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/SystemOutcome.h"
#include "base/SystemResult.h"
#include "base/WindowHandle.h"
#include "engine/spooler/PrinterDriverRecord.h"
#include "engine/spooler/PrinterRecord.h"
#include "engine/spooler/SpoolerEntry.h"

// Lists: the list is replaced; a failed enumeration leaves it empty and returns the
// enumeration's error.
// Every environment argument below: empty passes none, which means the calling program's
// environment ("Windows NT x86" for this 32-bit program, DriverEnvironment.h).
// The environment of the drivers that this system's printers use ("Windows x64" on 64-bit
// Windows): the one to name when the system's drivers are meant.
std::wstring SystemDriverEnvironment();
SystemOutcome ListPrinters(std::vector<SpoolerEntry>& list, const std::wstring& driverEnvironment = {});
SystemOutcome ListDrivers(std::vector<SpoolerEntry>& list, const std::wstring& environment = {});
SystemOutcome ListPorts(std::vector<SpoolerEntry>& list);

// Exact, case-sensitive name comparison over a fresh enumeration.
bool PortExists(const std::wstring& portName);
bool PrinterNameExists(const std::wstring& printerName);
// Driver names compared ignoring case.
bool DriverInstalled(const std::wstring& driverName, const std::wstring& environment = {});
// The printer-driver directory followed by "\", or the failure.
SystemResult<std::wstring> GetDriverDirectory(const std::wstring& environment = {});

// A Standard TCP/IP port (raw, port 9100) through the monitor's "AddPort" data call.
// Fails when the names do not fit the port record (error 87), the monitor cannot be
// opened, or the monitor reports a status other than 0 (that status is the error).
SystemOutcome AddStandardTcpIpPort(const std::wstring& portName, const std::wstring& hostAddress);
// The "AddPort" data call of a port monitor's configuration handle (",XcvMonitor " + name).
// Fails with the error of the failed call or with the monitor's status. Local Port takes
// the port name with its terminator; Standard TCP/IP Port the 964-byte port record.
SystemOutcome XcvAddPort(const std::wstring& monitorName, std::span<const uint8_t> portData);
// The monitor's own dialog asks for the port; on failure errorText is FormatSystemError.
bool AddPortThroughMonitor(const std::wstring& monitorName, ui::WindowHandle owner, std::wstring& errorText);
bool DeletePortByName(const std::wstring& portName, ui::WindowHandle owner, std::wstring& errorText);
// The port's own configuration dialog.
SystemOutcome ConfigurePortByName(const std::wstring& portName, ui::WindowHandle owner);
SystemOutcome DeletePrinterByName(const std::wstring& printerName);

// AddPrinterDriverExW, level 6, copy flags 4 (copy all files from the driver directory
// of the record's environment).
SystemOutcome AddPrinterDriverLevel6(const PrinterDriverRecord& driver);
// AddPrinterW, level 2; the returned handle is closed at once.
SystemOutcome AddPrinterLevel2(const PrinterRecord& printer);
// The default-printer setter that winspool.drv exports as ordinal 204.
SystemOutcome SetDefaultPrinterByName(const std::wstring& printerName);
// DeletePrinterDriverExW: flags 3 (unused files, specific version), version 3.
SystemOutcome DeletePrinterDriverVersion3(const std::wstring& driverName, const std::wstring& environment = {});

enum class PackageDeletion { Deleted, Failed, Unavailable };
struct PackageDeletionResult {
  PackageDeletion state = PackageDeletion::Deleted;
  SystemOutcome outcome;  // the failure's code when the state is Failed
};
// DeletePrinterDriverPackageW (no server, the INF path, the environment), looked up at
// run time; Unavailable when the system lacks it.
PackageDeletionResult DeletePrinterDriverPackageByInf(const std::wstring& infPath,
                                                      const std::wstring& environment = {});
