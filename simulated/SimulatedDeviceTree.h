// The device side of the simulated machine: USB printer and serial-port interfaces, the
// "Port Number" and "PortName" registry values, the Bluetooth adapter and the devices in
// range, pairing, the serial-port service and the virtual COM port that follows it.
//
// Its state is devices.xml in the machine's folder. Another program may change that
// file while this one runs (the machine tool plugs printers in and out), so every call
// first takes up a newer file; every change is saved at once. Bytes written to a USB
// printer's device path are appended to a file of its own under usb-received/.
//
// The platform's answers (error codes, the COM port's delay) are the tree's; the
// injected failures by call name are checked by the caller through SimulatedMachine.
//
// Threads: every member may be called from any thread; one lock inside guards the state.
// It never calls back into the machine, so the machine may call it under its own lock.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "simulated/DeviceTreeState.h"

class SimulatedDeviceTree {
 public:
  explicit SimulatedDeviceTree(std::filesystem::path folder);

  std::filesystem::path File() const { return folder_ / "devices.xml"; }

  // ---- What the platform calls see ----
  std::vector<SimulatedUsbPrinter> UsbPrinters();
  struct PortNumberKey {
    bool keyExists = false;
    std::optional<uint32_t> value;
  };
  // The Device Parameters key of a USB printer interface, by its full name (letter case
  // ignored), with its "Port Number".
  PortNumberKey UsbPortNumberKey(std::wstring_view keyName);
  // The serial ports present at the clock time (milliseconds on the machine's scaled
  // clock); virtual COM ports whose delay has run out appear now.
  std::vector<SimulatedSerialPort> SerialPorts(uint64_t clockMs);
  SimulatedAdapter Adapter();
  std::vector<SimulatedBluetoothDevice> BluetoothDevices();
  // BluetoothAuthenticateDevice: 0, 259 (already paired), 1244 (PIN refused) or 1167
  // (not in range, or the adapter is not on).
  uint32_t Authenticate(uint64_t address, std::wstring_view pin);
  // BluetoothSetServiceState for the serial-port service: 0, 87 when it is enabled
  // already, 1244 for a device not paired, 1167 when out of range or the adapter is off.
  uint32_t EnableSerialService(uint64_t address, uint64_t clockMs);
  void RegisterLocalService(uint64_t address, std::wstring serviceName, std::wstring comPort);
  bool IsUsbDevicePath(std::wstring_view devicePath);
  // Appends to the printer's file; 0 or the error of the write.
  uint32_t AppendReceived(std::wstring_view devicePath, const std::vector<uint8_t>& bytes);

  // ---- Changes and inspection, for tests and the machine tool ----
  void SetAdapter(SimulatedAdapter adapter);
  void SetComPortDelayMs(uint32_t delayMs);
  // Replaces a printer with the same instance id. An empty device path gets the one
  // Windows forms from the instance id.
  void PlugUsbPrinter(SimulatedUsbPrinter printer);
  bool UnplugUsbPrinter(std::wstring_view instanceId);
  void AddSerialPort(SimulatedSerialPort port);
  // Replaces a device with the same address.
  void AddBluetoothDevice(SimulatedBluetoothDevice device);
  bool RemoveBluetoothDevice(uint64_t address);
  void StoreFault(StoredFault fault);
  void ClearStoredFaults();
  // The stored failure for the call, if any; a once-only one is used up.
  std::optional<uint32_t> TakeStoredFault(std::string_view call);
  // The file that receives what is written to the printer, and what it holds.
  std::filesystem::path ReceivedFile(std::wstring_view instanceId) const;
  std::vector<uint8_t> Received(std::wstring_view instanceId);
  DeviceTreeState Snapshot();

  // The device path Windows gives the USB printer interface of an instance id.
  static std::wstring UsbDevicePathOf(std::wstring_view instanceId);

 private:
  // Takes up a file written by another program since the last look.
  void RefreshLocked();
  void SaveLocked();
  const SimulatedUsbPrinter* UsbPrinterOfPathLocked(std::wstring_view devicePath) const;
  SimulatedBluetoothDevice* DeviceLocked(uint64_t address);

  const std::filesystem::path folder_;
  std::mutex lock_;
  DeviceTreeState state_;
  std::optional<std::filesystem::file_time_type> seenTime_;
  uintmax_t seenSize_ = 0;
  std::string reportedError_;
  // Since when (scaled clock) an enabled service waits for its COM port, in this process.
  std::map<uint64_t, uint64_t> pendingSince_;
};
