// What a Windows 10 machine would hold in its registry, spooler and certificate stores,
// as far as this program can see it. Plain values; SimulatedMachine guards and saves them.
// Names of printers and drivers are keyed in lower case: Windows compares them without
// regard to letter case, and its registry lists them in that order.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/WideText.h"
#include "simulated/PortTable.h"

struct SimulatedPrinter {
  std::wstring name;
  std::wstring driver;
  std::wstring port;
  std::wstring printProcessor = L"winprint";
  uint32_t attributes = 0x40;
  std::vector<std::wstring> jobs;  // document names of queued jobs
};

struct SimulatedDriver {
  std::wstring name;
  uint32_t version = 3;
  std::wstring environment;
  std::wstring driverFile;  // file names in the driver's version folder
  std::wstring dataFile;
  std::wstring configFile;
  std::wstring helpFile;
  std::vector<std::wstring> dependentFiles;
  std::wstring infPath;  // the driver-store copy of its INF; empty for a driver added without one
  std::wstring manufacturer;
  std::wstring provider;
  uint64_t driverVersion = 0;
};

// Drivers are kept per environment, each under its lower-case name.
inline std::wstring DriverKey(std::wstring_view environment, std::wstring_view name) {
  return ToLowerUnits(environment) + L"|" + ToLowerUnits(name);
}

struct SimulatedCertificate {
  std::wstring subject;
  std::vector<uint8_t> der;
};

// One answer of a port dialog (adding or configuring a port), as the user would give it.
struct PortDialogAnswer {
  bool confirmed = false;    // false: Cancel (1223)
  std::wstring portName;     // the name typed into an add-port dialog
  std::wstring hostAddress;  // the Standard TCP/IP wizard's host
};

struct MachineSettings {
  uint32_t majorVersion = 10;
  uint32_t minorVersion = 0;
  uint32_t buildNumber = 19045;
  bool x64 = true;  // 64-bit Windows: this 32-bit process runs under WOW64
  std::optional<uint16_t> uiLanguage;
  std::wstring currentDirectory = L"C:\\Users\\Public\\Downloads";
  bool protectedPrintMode = false;  // Windows protected print mode (ProtectedPrintRules.h)
  bool administrator = true;        // the program runs elevated, as it asks to
  std::deque<PortDialogAnswer> dialogAnswers;
};

struct MachineState {
  MachineSettings settings;
  std::vector<std::wstring> monitors;
  PortTable ports;
  std::map<std::wstring, SimulatedPrinter> printers;  // by lower-case name
  std::map<std::wstring, SimulatedDriver> drivers;    // by DriverKey
  std::vector<std::wstring> driverPackages;           // INF paths in the driver store
  std::wstring defaultPrinter;
  std::vector<SimulatedCertificate> trustedPublishers;
  std::vector<std::wstring> devices;  // device paths that accept writes
};
