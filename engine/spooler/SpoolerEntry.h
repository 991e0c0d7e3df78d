// One element of the printer, driver and port lists.
#pragma once

#include <string>

struct SpoolerEntry {
  // Printers: printer, driver, INF path of the driver. Drivers: empty, driver, INF path.
  // Ports: port name, description, monitor name.
  std::wstring printerName;
  std::wstring driverName;
  std::wstring infPath;
};
