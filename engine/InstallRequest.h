// Everything the user has chosen for an installation. Its first four fields hold the
// removal page's filter state.
#pragma once

#include <string>

#include "engine/PortKind.h"

struct InstallRequest {
  int showAllPrinters = -1;
  std::wstring printerSearchText;
  int showAllDrivers = -1;
  std::wstring driverSearchText;
  int portKind = PortKind::None;
  int bluetoothIndex = -1;
  int usbIndex = -1;
  int modelIndex = -1;
  std::wstring portName;
  int setAsDefault = -1;  // -1 not decided, 1 yes, 0 no
  std::wstring printerName;
  std::wstring ipAddress;
  std::wstring pin = L"9371";
  int useCustomPin = 0;
};
