#include <memory>
#include <new>

#include "base/WindowsErrorCodes.h"
#include "devices/DeviceSet.h"
#include "devices/SetupApiWin32.h"

namespace {

// GUID_DEVINTERFACE_USBPRINT
constexpr GUID kUsbPrintInterface = {0x28d78fad, 0x5a12, 0x11d1, {0xae, 0x5b, 0x00, 0x00, 0xf8, 0x03, 0xa8, 0xc2}};
// GUID_DEVINTERFACE_COMPORT
constexpr GUID kComPortInterface = {0x86e0d1e0, 0x8089, 0x11d0, {0x9c, 0xe4, 0x08, 0x00, 0x3e, 0x30, 0x1f, 0x73}};
// GUID_DEVCLASS_BLUETOOTH
constexpr GUID kBluetoothClass = {0xe0cbf06c, 0xcd8b, 0x4647, {0xbb, 0x8a, 0x26, 0x3b, 0x43, 0xf0, 0xf9, 0x74}};
// GUID_BTHPORT_DEVICE_INTERFACE: passed with the all-classes flag, which makes it moot.
constexpr GUID kBthPortInterface = {0x0850302a, 0xb344, 0x4fda, {0x9b, 0xe9, 0x90, 0x57, 0x6b, 0x8d, 0x46, 0xf0}};

constexpr DWORD kInstanceIdUnits = 256;
constexpr DWORD kPropertyBytes = 520;
constexpr DWORD kPortNameBytes = 255;

// 28 and 6 bytes in the 32-bit product (SetupAPI packs its records there).
#ifndef _WIN64
static_assert(sizeof(SP_DEVICE_INTERFACE_DATA) == 28);
static_assert(sizeof(SP_DEVINFO_DATA) == 28);
static_assert(sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W) == 6);
#endif

// A failed call whose last error says nothing still failed.
uint32_t LastErrorOrFailure() {
  const DWORD error = GetLastError();
  return error != ERROR_SUCCESS ? error : kErrorGenFailure;
}

}  // namespace

struct DeviceSet::State {
  DeviceInfoSet set;
  const GUID* interfaceClass = nullptr;
  SP_DEVICE_INTERFACE_DATA iface{};
  SP_DEVINFO_DATA info{};
  std::unique_ptr<unsigned char[]> buffer;  // the last interface detail; replaced per member
};

DeviceSet::DeviceSet(DeviceSetKind kind) : state_(std::make_unique<State>()) {
  HDEVINFO set = INVALID_HANDLE_VALUE;
  switch (kind) {
    case DeviceSetKind::UsbPrinterInterfaces:
      state_->interfaceClass = &kUsbPrintInterface;
      break;
    case DeviceSetKind::SerialPortInterfaces:
      state_->interfaceClass = &kComPortInterface;
      break;
    case DeviceSetKind::AllPresentDevices:
      break;
  }
  if (state_->interfaceClass != nullptr) {
    set = SetupDiGetClassDevsW(state_->interfaceClass, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
  } else {
    set = SetupDiGetClassDevsW(&kBthPortInterface, nullptr, nullptr, DIGCF_PRESENT | DIGCF_ALLCLASSES);
  }
  // Failure is INVALID_HANDLE_VALUE.
  if (set == INVALID_HANDLE_VALUE) {
    openError_ = LastErrorOrFailure();
    return;
  }
  state_->set = DeviceInfoSet(set);
}

DeviceSet::~DeviceSet() = default;

uint32_t DeviceSet::SelectInterface(uint32_t index) {
  if (!state_->set || state_->interfaceClass == nullptr) return kErrorInvalidParameter;
  state_->iface = SP_DEVICE_INTERFACE_DATA{};
  state_->iface.cbSize = sizeof state_->iface;
  if (!SetupDiEnumDeviceInterfaces(state_->set.Get(), nullptr, state_->interfaceClass, index, &state_->iface)) {
    return LastErrorOrFailure();
  }
  return kErrorSuccess;
}

uint32_t DeviceSet::ReadInterfaceDetail(std::wstring& devicePath) {
  devicePath.clear();
  if (!state_->set) return kErrorInvalidParameter;
  DWORD needed = 0;
  // The size query must fail: it has no buffer to fill.
  if (SetupDiGetDeviceInterfaceDetailW(state_->set.Get(), &state_->iface, nullptr, 0, &needed, nullptr)) {
    return kErrorInvalidData;
  }
  // A size that cannot hold the header would have the header written past the buffer.
  if (needed < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) {
    const DWORD error = GetLastError();
    return error != ERROR_SUCCESS && error != ERROR_INSUFFICIENT_BUFFER ? error : kErrorInvalidData;
  }
  state_->buffer.reset(new (std::nothrow) unsigned char[needed]);
  if (!state_->buffer) return kErrorNotEnoughMemory;
  auto* data = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(state_->buffer.get());
  data->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
  state_->info = SP_DEVINFO_DATA{};
  state_->info.cbSize = sizeof(SP_DEVINFO_DATA);
  if (!SetupDiGetDeviceInterfaceDetailW(state_->set.Get(), &state_->iface, data, needed, nullptr, &state_->info)) {
    return LastErrorOrFailure();
  }
  // The path ends inside the buffer; it is never read beyond it.
  const size_t pathOffset = reinterpret_cast<unsigned char*>(data->DevicePath) - state_->buffer.get();
  const size_t maxUnits = (needed - pathOffset) / sizeof(wchar_t);
  devicePath.assign(data->DevicePath, wcsnlen(data->DevicePath, maxUnits));
  return kErrorSuccess;
}

uint32_t DeviceSet::SelectDevice(uint32_t index, bool& bluetoothClass) {
  bluetoothClass = false;
  if (!state_->set) return kErrorInvalidParameter;
  state_->info = SP_DEVINFO_DATA{};
  state_->info.cbSize = sizeof state_->info;
  if (!SetupDiEnumDeviceInfo(state_->set.Get(), index, &state_->info)) return LastErrorOrFailure();
  bluetoothClass = IsEqualGUID(state_->info.ClassGuid, kBluetoothClass) != FALSE;
  return kErrorSuccess;
}

uint32_t DeviceSet::ReadInstanceId(std::wstring& instanceId) {
  instanceId.clear();
  if (!state_->set) return kErrorInvalidParameter;
  wchar_t buffer[kInstanceIdUnits] = {};
  if (!SetupDiGetDeviceInstanceIdW(state_->set.Get(), &state_->info, buffer, kInstanceIdUnits, nullptr)) {
    return LastErrorOrFailure();
  }
  instanceId.assign(buffer, wcsnlen(buffer, kInstanceIdUnits));
  return kErrorSuccess;
}

uint32_t DeviceSet::ReadProperty(DeviceProperty property) {
  if (!state_->set) return kErrorInvalidParameter;
  BYTE buffer[kPropertyBytes];
  const DWORD code = property == DeviceProperty::Description ? SPDRP_DEVICEDESC : SPDRP_HARDWAREID;
  if (!SetupDiGetDeviceRegistryPropertyW(state_->set.Get(), &state_->info, code, nullptr, buffer, sizeof buffer,
                                         nullptr)) {
    return LastErrorOrFailure();
  }
  return kErrorSuccess;
}

uint32_t DeviceSet::ReadPortNameValue(std::vector<uint8_t>& bytes) {
  bytes.clear();
  if (!state_->set) return kErrorInvalidParameter;
  const HKEY opened = SetupDiOpenDevRegKey(state_->set.Get(), &state_->info, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
  if (opened == reinterpret_cast<HKEY>(INVALID_HANDLE_VALUE)) return LastErrorOrFailure();
  const RegistryKey key(opened);
  BYTE value[kPortNameBytes] = {};
  DWORD size = sizeof value;
  const LSTATUS status = RegQueryValueExW(key.Get(), L"PortName", nullptr, nullptr, value, &size);
  if (status != ERROR_SUCCESS) return static_cast<uint32_t>(status);
  bytes.assign(value, value + (size < sizeof value ? size : sizeof value));
  return kErrorSuccess;
}
