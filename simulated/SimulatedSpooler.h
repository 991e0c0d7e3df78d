// The print spooler of the simulated machine: the rules by which Windows 10 accepts or
// refuses changes to printers, drivers, driver packages and ports, and the errors it
// gives. Results are Win32 error codes, 0 for success.
//
// Threads: not locked; SimulatedMachine calls it under its own lock.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "simulated/MachineState.h"
#include "simulated/PrinterInfFile.h"
#include "simulated/SimulatedFileSystem.h"

class SimulatedSpooler {
 public:
  SimulatedSpooler(MachineState& state, SimulatedFileSystem& files) : state_(state), files_(files) {}

  const SimulatedPrinter* FindPrinter(std::wstring_view name) const;
  // environment is a resolved name (machine_layout::ResolveEnvironment).
  const SimulatedDriver* FindDriver(std::wstring_view name, std::wstring_view environment) const;

  // AddPrinterDriverExW with "copy all files": the named files are taken from the driver
  // directory of the driver's environment (or from where a full path says) and copied
  // into its version folder. An empty environment is the caller's (32-bit).
  uint32_t AddDriver(SimulatedDriver driver);
  // The applet's /ia: stages the INF's package in the driver store and installs the model.
  uint32_t InstallDriverFromInf(std::wstring_view modelName, std::wstring_view infPath);
  // DeletePrinterDriverExW with its flags (1 unused files, 2 specific version); an empty
  // environment is the caller's.
  uint32_t DeleteDriver(std::wstring_view name, uint32_t flags, uint32_t version, std::wstring_view environment);
  // DeletePrinterDriverPackageW: a package staged for another architecture than the
  // environment's is not found.
  uint32_t DeleteDriverPackage(std::wstring_view infPath, std::wstring_view environment);

  uint32_t AddPrinter(SimulatedPrinter printer);
  uint32_t DeletePrinter(std::wstring_view name);
  uint32_t SetDefaultPrinter(std::wstring_view name);
  uint32_t QueueJob(std::wstring_view printerName, std::wstring document);

  // A local port (Local Port monitor) or a Standard TCP/IP port.
  uint32_t AddPort(SimulatedPort port);
  uint32_t DeletePort(std::wstring_view name);
  bool HasMonitor(std::wstring_view monitor) const;

 private:
  uint32_t CopyDriverFiles(const std::vector<std::wstring>& files, const std::wstring& sourceFolder,
                           const std::wstring& targetFolder);
  bool FileUsedByOtherDriver(std::wstring_view file, const SimulatedDriver& except) const;

  MachineState& state_;
  SimulatedFileSystem& files_;
};
