// The devices of the simulated machine, as SetupAPI, the registry and the Bluetooth stack
// of a Windows machine would show them. Plain values; SimulatedDeviceTree guards and
// saves them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One present interface of the USB printer class.
struct SimulatedUsbPrinter {
  std::wstring instanceId;             // USB\VID_1A2B&PID_3C4D\7
  std::wstring devicePath;             // the interface path that accepts writes
  std::optional<uint32_t> portNumber;  // "Port Number" of its Device Parameters key; missing when absent
  bool propertiesReadable = true;      // device description and hardware id
  bool detailReadable = true;          // the interface detail (path and device record)
};

// One present interface of the serial-port class.
struct SimulatedSerialPort {
  std::wstring instanceId;
  std::wstring portName;   // "PortName" of the device key
  bool terminated = true;  // the stored value ends with a NUL
};

enum class SimulatedAdapter { None, Off, On };

struct SimulatedBluetoothDevice {
  std::wstring name;
  uint64_t address = 0;  // six bytes used
  uint32_t classOfDevice = 0;
  bool paired = false;
  std::wstring pin = L"9371";  // the PIN it accepts
  bool serialService = false;  // its serial-port service is enabled on this machine
  std::wstring comPort;        // the virtual COM port once it has appeared
};

// A local serial-port service registered for a device.
struct SimulatedLocalService {
  uint64_t address = 0;
  std::wstring serviceName;
  std::wstring comPort;
};

// A failure stored with the devices, so that another program on the machine (the
// machine tool) can make a call of this one fail.
struct StoredFault {
  std::string call;
  uint32_t code = 0;
  bool once = true;
};

struct DeviceTreeState {
  SimulatedAdapter adapter = SimulatedAdapter::None;
  // How long after the serial service is enabled the virtual COM port appears, on the
  // machine's scaled clock.
  uint32_t comPortDelayMs = 1500;
  std::vector<SimulatedUsbPrinter> usbPrinters;
  std::vector<SimulatedSerialPort> serialPorts;
  std::vector<SimulatedBluetoothDevice> bluetoothDevices;
  std::vector<SimulatedLocalService> localServices;
  std::vector<StoredFault> faults;
};
