#include <windows.h>

#include <inspectable.h>

#include <cstdint>
#include <optional>

#include "base/SystemLibrary.h"
#include "base/UniqueWin32Handle.h"
#include "engine/spooler/ProtectedPrintMode.h"

namespace {

constexpr wchar_t kPolicyKey[] = L"Software\\Policies\\Microsoft\\Windows NT\\Printers\\WPP";
constexpr wchar_t kRuntimeClass[] = L"Windows.Graphics.Printing.ProtectedPrint.WindowsProtectedPrintInfo";

// IWindowsProtectedPrintInfoStatics as the platform's metadata lays it out: IInspectable,
// then the one property getter. The SDK headers of the cross compiler lack it.
// {A7D212F3-4168-5485-98AB-D89D04603B40}
constexpr GUID kProtectedPrintInfoStaticsId = {
    0xa7d212f3, 0x4168, 0x5485, {0x98, 0xab, 0xd8, 0x9d, 0x04, 0x60, 0x3b, 0x40}};

struct IWindowsProtectedPrintInfoStatics : public IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_IsProtectedPrintEnabled(boolean* value) = 0;
};

// The runtime's entry points, looked up so that the program still starts where
// combase.dll or these exports are missing (Windows 7).
using RuntimeString = struct RuntimeStringHandle*;
using RoInitializeCall = HRESULT(WINAPI*)(int);
using RoUninitializeCall = void(WINAPI*)();
using RoGetActivationFactoryCall = HRESULT(WINAPI*)(RuntimeString, REFIID, void**);
using WindowsCreateStringCall = HRESULT(WINAPI*)(const wchar_t*, UINT32, RuntimeString*);
using WindowsDeleteStringCall = HRESULT(WINAPI*)(RuntimeString);

constexpr int kRoInitMultithreaded = 1;

template <typename Call>
Call Export(HMODULE module, const char* name) {
  return reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

void CloseRegistryKey(HKEY key) {
  RegCloseKey(key);
}
using RegistryKey = UniqueWin32Handle<HKEY, CloseRegistryKey>;

// The thread's share in the runtime, given back when it was taken here. A thread that
// already runs a single-threaded apartment refuses another kind (RPC_E_CHANGED_MODE)
// and can make the call as it is.
class RuntimeApartment {
 public:
  RuntimeApartment(RoInitializeCall initialize, RoUninitializeCall uninitialize) : uninitialize_(uninitialize) {
    const HRESULT result = initialize(kRoInitMultithreaded);
    joined_ = SUCCEEDED(result);
  }
  ~RuntimeApartment() {
    if (joined_) uninitialize_();
  }
  RuntimeApartment(const RuntimeApartment&) = delete;
  RuntimeApartment& operator=(const RuntimeApartment&) = delete;

 private:
  RoUninitializeCall uninitialize_;
  bool joined_ = false;
};

class RuntimeStringOwner {
 public:
  RuntimeStringOwner(WindowsCreateStringCall create, WindowsDeleteStringCall remove, const wchar_t* text, UINT32 length)
      : remove_(remove) {
    if (FAILED(create(text, length, &value_))) value_ = nullptr;
  }
  ~RuntimeStringOwner() {
    if (value_) remove_(value_);
  }
  RuntimeStringOwner(const RuntimeStringOwner&) = delete;
  RuntimeStringOwner& operator=(const RuntimeStringOwner&) = delete;
  RuntimeString Get() const { return value_; }

 private:
  WindowsDeleteStringCall remove_;
  RuntimeString value_ = nullptr;
};

template <typename Interface>
class ComReference {
 public:
  ComReference() = default;
  ~ComReference() {
    if (pointer_) pointer_->Release();
  }
  ComReference(const ComReference&) = delete;
  ComReference& operator=(const ComReference&) = delete;
  void** Receive() { return reinterpret_cast<void**>(&pointer_); }
  Interface* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }

 private:
  Interface* pointer_ = nullptr;
};

// Nothing when the runtime, its class or the query is missing or fails: an activation
// that fails means a Windows build older than the mode.
std::optional<bool> AskRuntime() {
  const LibraryHandle combase = LoadSystemLibrary(L"combase.dll");
  if (!combase.Get()) return std::nullopt;
  const auto initialize = Export<RoInitializeCall>(combase.Get(), "RoInitialize");
  const auto uninitialize = Export<RoUninitializeCall>(combase.Get(), "RoUninitialize");
  const auto getFactory = Export<RoGetActivationFactoryCall>(combase.Get(), "RoGetActivationFactory");
  const auto createString = Export<WindowsCreateStringCall>(combase.Get(), "WindowsCreateString");
  const auto deleteString = Export<WindowsDeleteStringCall>(combase.Get(), "WindowsDeleteString");
  if (!initialize || !uninitialize || !getFactory || !createString || !deleteString) return std::nullopt;

  const RuntimeApartment apartment(initialize, uninitialize);
  const RuntimeStringOwner className(createString, deleteString, kRuntimeClass,
                                     static_cast<UINT32>(sizeof kRuntimeClass / sizeof kRuntimeClass[0] - 1));
  if (!className.Get()) return std::nullopt;
  ComReference<IWindowsProtectedPrintInfoStatics> statics;
  if (FAILED(getFactory(className.Get(), kProtectedPrintInfoStaticsId, statics.Receive())) || !statics) {
    return std::nullopt;
  }
  boolean enabled = 0;
  if (FAILED(statics->get_IsProtectedPrintEnabled(&enabled))) return std::nullopt;
  return enabled != 0;
}

// A DWORD value of the policy key in the 64-bit view, which the settings page and the
// policy write; nothing when the key or the value is missing or is no DWORD.
std::optional<uint32_t> PolicyValue(const wchar_t* name) {
  RegistryKey key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPolicyKey, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, key.Receive()) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof value;
  const LSTATUS status = RegQueryValueExW(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) return std::nullopt;
  return static_cast<uint32_t>(value);
}

}  // namespace

ProtectedPrintMode DetectProtectedPrintMode() {
  // The registry reads and the runtime's failures must not leave a stray last error.
  const DWORD lastError = GetLastError();
  const ProtectedPrintMode mode = CombineProtectedPrintAnswers(
      AskRuntime(), PolicyValue(L"WindowsProtectedPrintGroupPolicyState"), PolicyValue(L"WindowsProtectedPrintMode"));
  SetLastError(lastError);
  return mode;
}
