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

// The part of a port name that keeps an existing port in the choice for a kind: "LPT" for
// LPT, "" (every port) for an existing port of any kind, else "COM".
constexpr const wchar_t* PortNamePartOf(int portKind) {
  if (portKind == PortKind::Lpt) return L"LPT";
  if (portKind == PortKind::Custom) return L"";
  return L"COM";
}
