// The platform's Bluetooth calls. Win32: the functions of "bthprops.cpl", looked up at run
// time; Linux build: the simulated machine's device tree. The walks over them are in
// DeviceWalks.h.
//
// Threads: any; an inquiry belongs to the thread that made it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "devices/BluetoothDeviceRecord.h"

// BluetoothFindFirstRadio finds a radio (it is switched on).
bool BluetoothRadioFound();

// A search over all radios that reports every device: authenticated, remembered, unknown
// and connected ones. The search ends with the object.
class BluetoothInquiry {
 public:
  BluetoothInquiry();
  ~BluetoothInquiry();
  BluetoothInquiry(const BluetoothInquiry&) = delete;
  BluetoothInquiry& operator=(const BluetoothInquiry&) = delete;

  // BluetoothFindFirstDevice with a new inquiry (about 12.8 s): 0 and the first device,
  // 259 when none answered, else the error of the call or of loading its library.
  uint32_t First(BluetoothDeviceRecord& device);
  // BluetoothFindNextDevice: 0 and the next device; 259 after the last one.
  uint32_t Next(BluetoothDeviceRecord& device);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// BluetoothAuthenticateDevice with the PIN as given; its result code.
uint32_t AuthenticateBluetoothDevice(BluetoothDeviceRecord& device, const std::wstring& pin);

// BluetoothSetLocalServiceInfo for the serial-port service on the COM port, instance 1.
void SetLocalSerialService(const BluetoothDeviceRecord& device, const std::wstring& comPortName);
