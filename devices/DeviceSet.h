// A set of present devices as SetupAPI hands it out, and the calls on its members that
// the device walks are made of. Each call answers 0 or the Windows error code of the
// failing call. Win32: SetupAPI and the registry; Linux build: the simulated machine's
// device tree, call by call, with the same answers.
//
// Threads: any; one set belongs to one thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

enum class DeviceSetKind {
  UsbPrinterInterfaces,  // present interfaces of the USB printer class
  SerialPortInterfaces,  // present interfaces of the serial-port class
  AllPresentDevices,     // present devices of every class
};

enum class DeviceProperty { Description, HardwareId };

class DeviceSet {
 public:
  // SetupDiGetClassDevsW for the kind; OpenError says why a set could not be had.
  explicit DeviceSet(DeviceSetKind kind);
  ~DeviceSet();
  DeviceSet(const DeviceSet&) = delete;
  DeviceSet& operator=(const DeviceSet&) = delete;

  uint32_t OpenError() const { return openError_; }

  // SetupDiEnumDeviceInterfaces: the interface at the index becomes the current member;
  // 259 past the last one.
  uint32_t SelectInterface(uint32_t index);
  // The size query, a buffer of that size and SetupDiGetDeviceInterfaceDetailW: the
  // current interface's path, and its device record for the calls below. 8 when no
  // buffer can be had.
  uint32_t ReadInterfaceDetail(std::wstring& devicePath);
  // SetupDiEnumDeviceInfo: the device at the index becomes the current member; 259 past
  // the last one. bluetoothClass tells whether it belongs to the Bluetooth setup class.
  uint32_t SelectDevice(uint32_t index, bool& bluetoothClass);
  // SetupDiGetDeviceInstanceIdW into a buffer of 256 units.
  uint32_t ReadInstanceId(std::wstring& instanceId);
  // SetupDiGetDeviceRegistryPropertyW into a buffer of 520 bytes; the value is not kept.
  uint32_t ReadProperty(DeviceProperty property);
  // SetupDiOpenDevRegKey (the device key) and RegQueryValueExW of "PortName" into a
  // buffer of 255 bytes: the bytes read, which need not end with a NUL.
  uint32_t ReadPortNameValue(std::vector<uint8_t>& bytes);

 private:
  struct State;
  std::unique_ptr<State> state_;
  uint32_t openError_ = 0;
};
