#pragma once

// How the printer is attached; the value of each port option's "userdata".
enum PortKind : int {
  Usb = 0,
  Network = 1,
  Bluetooth = 2,
  Lpt = 3,
  Com = 4,
  Custom = 5,
  None = 6,
};
