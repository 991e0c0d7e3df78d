#include "engine/BluetoothPortStage.h"

#include "engine/spooler/SpoolerOperations.h"
#include "engine/spooler/SystemOperations.h"

namespace {

void EnableSerialService(const BluetoothPortCalls& calls, const BluetoothDeviceRecord& device) {
  for (int attempt = 1; attempt <= kBluetoothAttempts; ++attempt) {
    const ServiceStateAttempt result = calls.enableSerialService(device);
    // Without the Bluetooth library there is nothing to retry; a port may exist anyway.
    if (result != ServiceStateAttempt::Retry) return;
    if (attempt < kBluetoothAttempts) SleepMs(kBluetoothAttemptPauseMs);
  }
}

std::optional<std::wstring> FindSerialPort(const BluetoothPortCalls& calls, const std::wstring& address) {
  for (int attempt = 1; attempt <= kBluetoothAttempts; ++attempt) {
    std::wstring port;
    if (calls.findSerialPort(address, port) && !port.empty()) return port;
    if (attempt < kBluetoothAttempts) SleepMs(kBluetoothAttemptPauseMs);
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::wstring> PrepareBluetoothPort(const InstallationInputs& inputs, const InstallLog& log) {
  const InstallRequest& request = inputs.request;
  log.Plain(L"tip.startpairbluetooth");
  std::wstring pairError;
  // A device index that names no device (the wizard prevents it) pairs nothing.
  if (!inputs.bluetoothDevice || !inputs.bluetooth.pair(*inputs.bluetoothDevice, request.pin, pairError)) {
    log.Error(L"tip.pairbluetoothfailpinis", request.pin);
    return std::nullopt;
  }
  const BluetoothDeviceRecord& device = *inputs.bluetoothDevice;
  log.Plain(L"tip.pairbluetoothsuccess");

  EnableSerialService(inputs.bluetooth, device);
  const auto found = FindSerialPort(inputs.bluetooth, FormatBluetoothAddress(device.address, false));
  if (!found) {
    log.Error(L"tip.getbluetoothserialportfail");
    return std::nullopt;
  }
  const std::wstring portName = *found + L":";
  if (!PortExists(portName)) inputs.bluetooth.registerSerialService(device, *found);
  log.Plain(L"tip.readbluetoothserialport", portName);
  return portName;
}
