#include <cstring>

#include "base/SystemLibrary.h"
#include "devices/BluetoothApiWin32.h"
#include "devices/BluetoothOperations.h"
#include "devices/BluetoothPlatform.h"
#include "devices/BluetoothRules.h"
#include "devices/SetupApiWin32.h"

namespace {

// GUID_DEVCLASS_BLUETOOTH
constexpr GUID kBluetoothClass = {0xe0cbf06c, 0xcd8b, 0x4647, {0xbb, 0x8a, 0x26, 0x3b, 0x43, 0xf0, 0xf9, 0x74}};
// GUID_BTHPORT_DEVICE_INTERFACE: passed with the all-classes flag, which makes it moot.
constexpr GUID kBthPortInterface = {0x0850302a, 0xb344, 0x4fda, {0x9b, 0xe9, 0x90, 0x57, 0x6b, 0x8d, 0x46, 0xf0}};
// GUID_DEVINTERFACE_COMPORT
constexpr GUID kComPortInterface = {0x86e0d1e0, 0x8089, 0x11d0, {0x9c, 0xe4, 0x08, 0x00, 0x3e, 0x30, 0x1f, 0x73}};

constexpr UCHAR kInquiryMultiplier = 10;
constexpr DWORD kPortNameBytes = 255;
constexpr DWORD kInvalidParameter = ERROR_INVALID_PARAMETER;

LibraryHandle LoadBluetoothLibrary() {
  return LoadSystemLibrary(L"bthprops.cpl");
}

template <typename Function>
Function Lookup(const LibraryHandle& library, const char* name) {
  if (!library) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library.Get(), name)));
}

void ClearRecord(BluetoothDeviceRecord& record) {
  record = BluetoothDeviceRecord{};  // size 560, everything else zero
}

}  // namespace

bool BluetoothClassPresent() {
  const DeviceInfoSet set =
      OwnDeviceInfoSet(SetupDiGetClassDevsW(&kBthPortInterface, nullptr, nullptr, DIGCF_PRESENT | DIGCF_ALLCLASSES));
  if (!set) return false;
  for (DWORD index = 0;; ++index) {
    SP_DEVINFO_DATA info{};
    info.cbSize = sizeof info;
    if (!SetupDiEnumDeviceInfo(set.Get(), index, &info)) return false;
    if (IsEqualGUID(info.ClassGuid, kBluetoothClass)) return true;
  }
}

bool BluetoothRadioFound() {
  const LibraryHandle library = LoadBluetoothLibrary();
  const auto findFirst = Lookup<BluetoothFindFirstRadioFn>(library, "BluetoothFindFirstRadio");
  if (!findFirst) return false;
  const BluetoothFindRadioParams params{sizeof(BluetoothFindRadioParams)};
  HANDLE radio = nullptr;
  HANDLE find = findFirst(&params, &radio);
  if (find == nullptr) return false;
  if (const auto close = Lookup<BluetoothFindRadioCloseFn>(library, "BluetoothFindRadioClose")) close(find);
  if (radio != nullptr) CloseHandle(radio);
  return true;
}

bool InquireBluetoothDevices(std::vector<BluetoothDeviceRecord>& devices) {
  const LibraryHandle library = LoadBluetoothLibrary();
  const auto findFirst = Lookup<BluetoothFindFirstDeviceFn>(library, "BluetoothFindFirstDevice");
  if (!findFirst) return false;
  BluetoothDeviceSearchParams params{};
  params.size = sizeof params;
  params.returnAuthenticated = TRUE;
  params.returnRemembered = TRUE;
  params.returnUnknown = TRUE;
  params.returnConnected = TRUE;
  params.issueInquiry = TRUE;
  params.timeoutMultiplier = kInquiryMultiplier;
  params.radio = nullptr;
  BluetoothDeviceRecord record;
  ClearRecord(record);
  HANDLE find = findFirst(&params, &record);
  if (find == nullptr) return false;
  const auto findNext = Lookup<BluetoothFindNextDeviceFn>(library, "BluetoothFindNextDevice");
  do {
    devices.push_back(record);
    ClearRecord(record);
  } while (findNext && findNext(find, &record));
  if (const auto close = Lookup<BluetoothFindDeviceCloseFn>(library, "BluetoothFindDeviceClose")) close(find);
  return true;
}

uint32_t AuthenticateBluetoothDevice(BluetoothDeviceRecord& device, const std::wstring& pin) {
  const LibraryHandle library = LoadBluetoothLibrary();
  if (!library) return GetLastError();
  const auto authenticate = Lookup<BluetoothAuthenticateDeviceFn>(library, "BluetoothAuthenticateDevice");
  if (!authenticate) return ERROR_PROC_NOT_FOUND;
  std::wstring passkey = pin;  // the call takes a writable buffer
  return authenticate(nullptr, nullptr, &device, passkey.data(), static_cast<ULONG>(passkey.size()));
}

ServiceStateAttempt TryEnableSerialService(const BluetoothDeviceRecord& device) {
  const LibraryHandle library = LoadBluetoothLibrary();
  if (!library) return ServiceStateAttempt::LibraryMissing;
  const auto setState = Lookup<BluetoothSetServiceStateFn>(library, "BluetoothSetServiceState");
  if (!setState) return ServiceStateAttempt::Done;
  const DWORD result = setState(nullptr, &device, &kSerialPortServiceClass, kBluetoothServiceEnable);
  return result == ERROR_SUCCESS || result == kInvalidParameter ? ServiceStateAttempt::Done
                                                                : ServiceStateAttempt::Retry;
}

bool WalkSerialPortInterfaces(std::vector<SerialPortFound>& ports) {
  const DeviceInfoSet set = OwnDeviceInfoSet(
      SetupDiGetClassDevsW(&kComPortInterface, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
  if (!set) return false;
  std::unique_ptr<unsigned char[]> buffer;
  for (DWORD index = 0;; ++index) {
    SP_DEVICE_INTERFACE_DATA iface{};
    iface.cbSize = sizeof iface;
    if (!SetupDiEnumDeviceInterfaces(set.Get(), nullptr, &kComPortInterface, index, &iface)) break;
    InterfaceDetail detail;
    const DetailRead read = ReadInterfaceDetail(set.Get(), iface, buffer, detail);
    if (read == DetailRead::OutOfMemory) return false;
    if (read == DetailRead::Stop) break;
    SerialPortFound found;
    if (!ReadInstanceId(set.Get(), detail.info, found.instanceId)) continue;
    const HKEY opened = SetupDiOpenDevRegKey(set.Get(), &detail.info, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    const RegistryKey key(opened == reinterpret_cast<HKEY>(INVALID_HANDLE_VALUE) ? nullptr : opened);
    if (key) {
      // The value need not end with a NUL inside the buffer: only the bytes read count.
      BYTE value[kPortNameBytes] = {};
      DWORD size = sizeof value;
      if (RegQueryValueExW(key.Get(), L"PortName", nullptr, nullptr, value, &size) == ERROR_SUCCESS) {
        found.portName = RegistryStringOfBytes(value, size < sizeof value ? size : sizeof value);
      }
    }
    ports.push_back(std::move(found));
  }
  return true;
}

void SetLocalSerialService(const BluetoothDeviceRecord& device, const std::wstring& comPortName) {
  const LibraryHandle library = LoadBluetoothLibrary();
  const auto setInfo = Lookup<BluetoothSetLocalServiceInfoFn>(library, "BluetoothSetLocalServiceInfo");
  if (!setInfo) return;
  BluetoothLocalServiceInfo info;
  std::memset(&info, 0, sizeof info);
  info.enabled = TRUE;
  info.address = device.address;
  wcsncpy(info.serviceName, L"SPP slave", std::size(info.serviceName) - 1);
  wcsncpy(info.deviceName, comPortName.c_str(), std::size(info.deviceName) - 1);
  setInfo(nullptr, &kSerialPortServiceClass, 1, &info);
}
