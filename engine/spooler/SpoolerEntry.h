// One element of the printer, driver and port lists.
#pragma once

#include <cstdint>
#include <string>

struct SpoolerEntry {
  // Printers: printer, driver, INF path of the driver. Drivers: empty, driver, INF path.
  // Ports: port name, description, monitor name.
  std::wstring printerName;
  std::wstring driverName;
  std::wstring infPath;
  // Drivers: the spooler environment the driver belongs to; empty for the caller's own.
  // Printers: the environment of the drivers the list was asked for.
  // The removal worker hands it to the deletion calls.
  std::wstring environment;
  // Printers: the port and whether it is the default printer.
  std::wstring port;
  bool isDefault = false;
  // Drivers: the spooler's driver version (3) and the INF's DriverVer.
  uint32_t version = 0;
  uint64_t driverVersion = 0;
  // Standard TCP/IP ports: the printer's host name or address.
  std::wstring address;
};
