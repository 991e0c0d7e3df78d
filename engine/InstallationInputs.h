// Everything one installation run reads, copied on the UI thread before the worker
// starts, so that the worker never reaches into the wizard's state.
//
// Threads: built on the UI thread, then owned by the installation worker.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "base/WindowHandle.h"
#include "devices/BluetoothDeviceRecord.h"
#include "devices/BluetoothOperations.h"
#include "engine/DriverModelRecord.h"
#include "engine/InstallRequest.h"

// The Bluetooth calls of the port stage; the system's unless a test stands in for them.
struct BluetoothPortCalls {
  std::function<bool(BluetoothDeviceRecord, const std::wstring&, std::wstring&)> pair = PairBluetoothDevice;
  std::function<ServiceStateAttempt(const BluetoothDeviceRecord&)> enableSerialService = TryEnableSerialService;
  std::function<bool(const std::wstring&, std::wstring&)> findSerialPort = FindBluetoothSerialPort;
  std::function<void(const BluetoothDeviceRecord&, const std::wstring&)> registerSerialService = RegisterSerialService;
};

struct InstallationInputs {
  InstallRequest request;
  // The record at the request's model index; nothing when the index is out of range.
  std::optional<DriverModelRecord> model;
  // The record at the request's Bluetooth index (kind Bluetooth only).
  std::optional<BluetoothDeviceRecord> bluetoothDevice;
  // Owner of the log lines, the programs started and the message box.
  ui::WindowHandle mainWindow = nullptr;
  BluetoothPortCalls bluetooth;
};
