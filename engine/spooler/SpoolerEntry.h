// One element of the printer, driver and port lists.
#pragma once

#include <string>

struct SpoolerEntry {
  // Printers: printer, driver, INF path of the driver. Drivers: empty, driver, INF path.
  // Ports: port name, description, monitor name.
  std::wstring printerName;
  std::wstring driverName;
  std::wstring infPath;
  // Drivers: the spooler environment the driver belongs to; empty for the caller's own.
  // The removal worker hands it to the deletion calls.
  std::wstring environment;
};
