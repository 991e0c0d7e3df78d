// The platform's Bluetooth device-information record, kept whole: the same 560-byte
// layout as BLUETOOTH_DEVICE_INFO, so the product hands it to the system unchanged.
#pragma once

#include <cstdint>

struct BluetoothSystemTime {
  uint16_t year, month, dayOfWeek, day, hour, minute, second, milliseconds;
};

struct BluetoothDeviceRecord {
  uint32_t size = sizeof(BluetoothDeviceRecord);
  uint64_t address = 0;  // six bytes used, most significant first when shown
  uint32_t classOfDevice = 0;
  int32_t connected = 0;
  int32_t remembered = 0;
  int32_t authenticated = 0;
  BluetoothSystemTime lastSeen{};
  BluetoothSystemTime lastUsed{};
  char16_t name[248]{};
};

static_assert(sizeof(BluetoothDeviceRecord) == 560, "must match BLUETOOTH_DEVICE_INFO");
