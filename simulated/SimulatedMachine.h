// The simulated Windows machine of the Linux build: a Windows 10 x64 machine with its
// print spooler, port monitors, drive C:, certificate store and the printui and certutil
// programs, on which the program runs as a 32-bit process. engine/spooler/*Simulated.cpp
// make their platform calls here; each call answers as Windows would, including its
// errors, which it leaves as the calling thread's last error (SimulatedLastError.h).
//
// Its state lives in a folder: machine.xml (the state file) beside drive_c/, the folder
// that holds drive C:. Every change is saved at once, so the effects of one run of the
// program are there in the next. A state file that cannot be read is never replaced:
// Open reports it and the program refuses to start with that folder.
//
// One machine is the current one for the process (Install/Current). Tests install a
// fresh one per test (ScratchMachine) and may make any call fail (InjectFault).
//
// Where each part lives:
//   SimulatedMachine.cpp         opening, saving, the current machine, faults, batches
//   SimulatedMachineSpooler.cpp  printers, drivers, packages, ports and port monitors
//   SimulatedMachineFiles.cpp    drive C:, files held open, device writes
//   SimulatedMachineShell.cpp    programs started through the shell (printui, certutil)
//   SimulatedMachineSystem.cpp   version, WOW64, error texts, delays, settings
//   SimulatedDeviceTree          USB, serial and Bluetooth devices (devices.xml)
//
// Threads: every member may be called from any thread; one lock inside guards the state.
// Calls that wait (Sleep, programs that are waited for) wait outside the lock.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/WindowHandle.h"
#include "simulated/FaultInjector.h"
#include "simulated/MachineState.h"
#include "simulated/ShellEvent.h"
#include "simulated/SimulatedDeviceTree.h"
#include "simulated/SimulatedFileSystem.h"
#include "simulated/SimulatedSpooler.h"

class SimulatedMachine {
 public:
  // The environment variable that names the machine's folder.
  static constexpr const char* kFolderVariable = "QUORVEL_MACHINE_DIR";

  struct OpenResult {
    std::shared_ptr<SimulatedMachine> machine;
    std::string error;  // why the folder cannot be used; the machine is null then
  };
  // Opens the machine kept in the folder, creating the folder and a fresh machine when
  // it holds no state file yet.
  static OpenResult Open(const std::filesystem::path& folder);
  // $QUORVEL_MACHINE_DIR, else $XDG_STATE_HOME/quorvel-setup/machine, else
  // ~/.local/state/quorvel-setup/machine.
  static std::filesystem::path DefaultFolder();

  static void Install(std::shared_ptr<SimulatedMachine> machine);
  // Null when none is installed; the platform calls then fail as with no spooler (1722).
  static std::shared_ptr<SimulatedMachine> Current();
  // Current(), leaving 1722 (the spooler's RPC server is unavailable) as the last error
  // when there is none.
  static std::shared_ptr<SimulatedMachine> CurrentOrUnavailable();
  // The UI language set in the current machine's settings, if any.
  static std::optional<uint16_t> ConfiguredUiLanguage();

  SimulatedMachine(const SimulatedMachine&) = delete;
  SimulatedMachine& operator=(const SimulatedMachine&) = delete;

  const std::filesystem::path& Folder() const { return folder_; }
  std::filesystem::path StateFile() const { return folder_ / "machine.xml"; }
  // The file whose exclusive lock (ExclusiveFileLock.h) allows one installation or removal
  // run at a time on this machine.
  std::filesystem::path InstallationLockFile() const { return folder_ / "locks" / "installation.lock"; }
  // The real file behind a Windows path of drive C:.
  std::optional<std::filesystem::path> HostPath(std::wstring_view windowsPath) const;

  // ---- Platform calls, named after the Win32 calls they stand for ----
  std::optional<std::vector<SimulatedPrinter>> EnumPrinters(uint32_t flags);
  // An empty environment means the calling program's ("Windows NT x86": the program is
  // 32-bit); an unknown one fails with 1805.
  std::optional<std::vector<SimulatedDriver>> EnumPrinterDrivers(uint32_t level, std::wstring_view environment = {});
  std::optional<std::vector<SimulatedPort>> EnumPorts();
  std::optional<std::wstring> GetPrinterDriverDirectory(std::wstring_view environment = {});
  // OpenPrinterW(",XcvMonitor <monitor>") + XcvDataW("AddPort"): 0, the call's error or
  // the monitor's status.
  uint32_t XcvAddPort(std::wstring_view monitor, const std::vector<uint8_t>& data);
  // AddPortW and ConfigurePortW: the monitor's dialog answers from the queued dialog
  // answers (AddDialogAnswer) first, else it is shown over owner (PortMonitorDialog.h).
  bool AddPortDialog(std::wstring_view monitor, ui::WindowHandle owner = nullptr);
  bool DeletePort(std::wstring_view portName);
  bool ConfigurePortDialog(std::wstring_view portName, ui::WindowHandle owner = nullptr);
  // OpenPrinterW + DeletePrinter: 0 or the error of the failing call.
  uint32_t OpenAndDeletePrinter(std::wstring_view printerName);
  bool AddPrinterDriver(SimulatedDriver driver);
  bool AddPrinter(SimulatedPrinter printer);
  bool SetDefaultPrinter(std::wstring_view printerName);
  bool DeletePrinterDriver(std::wstring_view driverName, uint32_t flags, uint32_t version,
                           std::wstring_view environment = {});
  bool DeletePrinterDriverPackage(std::wstring_view infPath, std::wstring_view environment = {});
  // ShellExecuteExW: the program's run, or nothing when it could not be started.
  std::optional<ShellEvent> ShellExecute(const std::wstring& file, const std::wstring& parameters, int showState);
  std::optional<std::wstring> ProgramFilesFolder();
  struct Version {
    uint32_t major, minor, build;
  };
  std::optional<Version> GetVersion();
  std::optional<bool> IsWow64Process();
  // GetNativeSystemInfo: whether the processor is a 64-bit one; it cannot fail.
  bool NativeSystemIs64Bit();
  std::optional<std::wstring> FormatMessage(uint32_t code, uint16_t languageId);
  std::optional<std::wstring> CurrentDirectory();
  SimulatedFileSystem::Kind PathKind(std::wstring_view path);
  uint32_t CreateDirectory(std::wstring_view path);
  uint32_t FileAttributes(std::wstring_view path);
  // CreateFileW (CREATE_ALWAYS, no sharing) + WriteFile of all bytes: 0 or the error.
  uint32_t WriteNewFile(std::wstring_view path, const std::vector<uint8_t>& bytes);
  uint32_t MoveFileReplacing(std::wstring_view from, std::wstring_view to);
  uint32_t DeleteFile(std::wstring_view path);
  // An overlapped write to a device (or a file): the bytes transferred, or nothing.
  std::optional<uint32_t> WriteDevice(std::wstring_view devicePath, const std::vector<uint8_t>& bytes);
  // What a delay of that length really sleeps, after the time scale; it is recorded.
  uint64_t ScaledDelayMs(uint64_t milliseconds);

  // ---- Settings and inspection, for tests and for a person at the Linux build ----
  bool InjectFault(std::string_view call, uint32_t code, FaultMode mode);
  // The next `times` calls fail with the code.
  bool InjectFault(std::string_view call, uint32_t code, int times);
  // Takes an injected or stored fault for a call made outside this class (the device
  // calls), leaving it as the last error.
  bool FailsNow(std::string_view call);
  // USB printers, serial ports and the Bluetooth side (SimulatedDeviceTree.h).
  SimulatedDeviceTree& Devices() { return devices_; }
  void ClearFaults();
  // Real delays are multiplied by the scale: 1 for the program, 0 for tests.
  void SetTimeScale(double scale);
  uint64_t RequestedDelayMs() const;
  void SetWindowsVersion(uint32_t major, uint32_t minor, uint32_t build);
  void SetX64(bool x64);
  void SetUiLanguage(std::optional<uint16_t> languageId);
  // Windows protected print mode (the settings page's switch); the spooler then refuses
  // every driver but the inbox ones.
  bool ProtectedPrintModeOn() const;
  void SetProtectedPrintMode(bool on);
  // Whether the program runs as an administrator (elevated); on unless switched off.
  bool RunningAsAdministrator() const;
  void SetAdministrator(bool on);
  bool SetCurrentDirectory(std::wstring_view path);
  void AddDialogAnswer(PortDialogAnswer answer);
  void AddDevice(std::wstring devicePath);
  std::vector<uint8_t> DeviceBytes(std::wstring_view devicePath) const;
  // Some other program holds the file open without sharing until released.
  bool HoldFileOpen(std::wstring_view path);
  void ReleaseFile(std::wstring_view path);
  void RemoveMonitor(std::wstring_view monitor);

  MachineState Snapshot() const;
  std::wstring DefaultPrinter() const;
  std::vector<ShellEvent> ShellEvents() const;

  // Many changes, one save: saving waits until the last batch object goes.
  class Batch {
   public:
    explicit Batch(SimulatedMachine& machine);
    ~Batch();
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

   private:
    SimulatedMachine& machine_;
  };

  // Fills the machine directly (no checks, no faults): for benchmarks of large spoolers.
  void PopulateForBenchmark(size_t printers, size_t ports);
  // For trials at scale (quorvel-machine fill), one save each: count Standard TCP/IP ports
  // "IP_10.x.y.z" for addresses from 10.0.0.1 on that have no port yet; count printers
  // "<driverName> trial N" on that driver of the machine's own environment, which is
  // added from stand-in files first when missing. They give how many were added.
  size_t FillNetworkPorts(size_t count);
  size_t FillPrinters(const std::wstring& driverName, size_t count);

 private:
  SimulatedMachine(std::filesystem::path folder, MachineState state);
  // Takes an injected fault for the call, leaving it as the last error.
  bool Faulted(std::string_view call);
  // The ports the spooler's monitors make for devices: "COMn:" (Local Port) for every
  // serial port present, "USBnnn" (USB Monitor) for every USB printer with a port number.
  // As on Windows they stay when the device goes; they reach machine.xml with the next save.
  void AddDevicePortsLocked();
  std::optional<PortDialogAnswer> TakeDialogAnswerLocked();
  // Saves under the lock; failures are reported on stderr, as the machine has no other
  // way to tell, and the change stays in memory.
  void SaveLocked();
  // Sets the last error; true when code is 0.
  static bool Succeeded(uint32_t code);

  const std::filesystem::path folder_;
  mutable std::mutex lock_;
  MachineState state_;
  SimulatedFileSystem files_;
  SimulatedSpooler spooler_;
  FaultInjector faults_;
  SimulatedDeviceTree devices_;
  std::vector<ShellEvent> shellEvents_;
  std::map<std::wstring, std::vector<uint8_t>> deviceBytes_;
  double timeScale_ = 1.0;
  uint64_t requestedDelayMs_ = 0;
  int batchDepth_ = 0;
  bool savePending_ = false;
};
