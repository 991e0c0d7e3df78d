#include <cstring>
#include <memory>

#include "base/SystemLibrary.h"
#include "devices/BluetoothApiWin32.h"
#include "devices/BluetoothOperations.h"
#include "devices/BluetoothPlatform.h"

namespace {

constexpr UCHAR kInquiryMultiplier = 10;

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

struct BluetoothInquiry::State {
  LibraryHandle library = LoadBluetoothLibrary();
  DWORD loadError = library ? ERROR_SUCCESS : GetLastError();
  HANDLE find = nullptr;
};

BluetoothInquiry::BluetoothInquiry() : state_(std::make_unique<State>()) {}

BluetoothInquiry::~BluetoothInquiry() {
  if (state_->find == nullptr) return;
  if (const auto close = Lookup<BluetoothFindDeviceCloseFn>(state_->library, "BluetoothFindDeviceClose")) {
    close(state_->find);
  }
}

uint32_t BluetoothInquiry::First(BluetoothDeviceRecord& device) {
  ClearRecord(device);
  if (!state_->library) return state_->loadError != ERROR_SUCCESS ? state_->loadError : ERROR_MOD_NOT_FOUND;
  const auto findFirst = Lookup<BluetoothFindFirstDeviceFn>(state_->library, "BluetoothFindFirstDevice");
  if (!findFirst) return ERROR_PROC_NOT_FOUND;
  BluetoothDeviceSearchParams params{};
  params.size = sizeof params;
  params.returnAuthenticated = TRUE;
  params.returnRemembered = TRUE;
  params.returnUnknown = TRUE;
  params.returnConnected = TRUE;
  params.issueInquiry = TRUE;
  params.timeoutMultiplier = kInquiryMultiplier;
  params.radio = nullptr;
  state_->find = findFirst(&params, &device);
  if (state_->find == nullptr) {
    const DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? error : ERROR_NO_MORE_ITEMS;
  }
  return ERROR_SUCCESS;
}

uint32_t BluetoothInquiry::Next(BluetoothDeviceRecord& device) {
  ClearRecord(device);
  if (state_->find == nullptr) return ERROR_NO_MORE_ITEMS;
  const auto findNext = Lookup<BluetoothFindNextDeviceFn>(state_->library, "BluetoothFindNextDevice");
  if (!findNext) return ERROR_PROC_NOT_FOUND;
  if (findNext(state_->find, &device)) return ERROR_SUCCESS;
  const DWORD error = GetLastError();
  return error != ERROR_SUCCESS ? error : ERROR_NO_MORE_ITEMS;
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
  return result == ERROR_SUCCESS || result == ERROR_INVALID_PARAMETER ? ServiceStateAttempt::Done
                                                                      : ServiceStateAttempt::Retry;
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
