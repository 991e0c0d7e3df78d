// The Win32 scans against the real SetupAPI and registry (Wine in the test run): a USB
// printer interface and a Bluetooth serial port are injected as Windows would register
// them, and the scans must find them. The Bluetooth functions that pair or register a
// service are never called here: Wine aborts the process in them.
#include <windows.h>
// after windows.h, which it needs
#include <setupapi.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "devices/BluetoothDiscovery.h"
#include "devices/BluetoothOperations.h"
#include "devices/UsbPortRules.h"
#include "devices/UsbPrinterScan.h"

namespace {

constexpr GUID kUsbPrintInterface = {0x28d78fad, 0x5a12, 0x11d1, {0xae, 0x5b, 0x00, 0x00, 0xf8, 0x03, 0xa8, 0xc2}};
constexpr GUID kComPortInterface = {0x86e0d1e0, 0x8089, 0x11d0, {0x9c, 0xe4, 0x08, 0x00, 0x3e, 0x30, 0x1f, 0x73}};
// GUID_DEVCLASS_PORTS
constexpr GUID kPortsClass = {0x4d36e978, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};

std::wstring GuidText(const GUID& guid) {
  wchar_t text[40] = {};
  swprintf(text, 40, L"{%08lx-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x}", static_cast<unsigned long>(guid.Data1),
           guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4],
           guid.Data4[5], guid.Data4[6], guid.Data4[7]);
  return text;
}

// One device with one interface, registered and linked, removed again at the end.
class InjectedInterface {
 public:
  InjectedInterface(const GUID& interfaceClass, const std::wstring& instanceId) : interfaceClass_(interfaceClass) {
    set_ = SetupDiCreateDeviceInfoList(&kPortsClass, nullptr);
    if (set_ == INVALID_HANDLE_VALUE) return;
    info_.cbSize = sizeof info_;
    if (!SetupDiCreateDeviceInfoW(set_, instanceId.c_str(), &kPortsClass, L"Quorvel test device", nullptr, 0, &info_)) {
      return;
    }
    created_ = true;
    const wchar_t description[] = L"Quorvel test device";
    const wchar_t hardwareIds[] = L"QUORVEL\\TEST\0";
    SetupDiSetDeviceRegistryPropertyW(set_, &info_, SPDRP_DEVICEDESC, reinterpret_cast<const BYTE*>(description),
                                      sizeof description);
    SetupDiSetDeviceRegistryPropertyW(set_, &info_, SPDRP_HARDWAREID, reinterpret_cast<const BYTE*>(hardwareIds),
                                      sizeof hardwareIds);
    if (!SetupDiRegisterDeviceInfo(set_, &info_, 0, nullptr, nullptr, nullptr)) return;
    SP_DEVICE_INTERFACE_DATA iface{};
    iface.cbSize = sizeof iface;
    if (!SetupDiCreateDeviceInterfaceW(set_, &info_, &interfaceClass_, nullptr, 0, &iface)) return;
    DWORD needed = 0;
    SetupDiGetDeviceInterfaceDetailW(set_, &iface, nullptr, 0, &needed, nullptr);
    std::vector<unsigned char> buffer(needed + sizeof(wchar_t));
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
    detail->cbSize = sizeof *detail;
    if (needed == 0 || !SetupDiGetDeviceInterfaceDetailW(set_, &iface, detail, needed, nullptr, nullptr)) return;
    devicePath_ = detail->DevicePath;
    // Windows links an interface when its driver enables it; here the test does.
    interfaceKey_ = L"SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\" + GuidText(interfaceClass_) + L"\\##?#" +
                    devicePath_.substr(4);
    HKEY control = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, (interfaceKey_ + L"\\#\\Control").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &control, nullptr) != ERROR_SUCCESS) {
      return;
    }
    const DWORD linked = 1;
    RegSetValueExW(control, L"Linked", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&linked), sizeof linked);
    RegCloseKey(control);
    ready_ = true;
  }

  ~InjectedInterface() {
    if (!interfaceKey_.empty()) RegDeleteTreeW(HKEY_LOCAL_MACHINE, interfaceKey_.c_str());
    if (created_) SetupDiRemoveDevice(set_, &info_);
    if (set_ != INVALID_HANDLE_VALUE) SetupDiDestroyDeviceInfoList(set_);
  }

  InjectedInterface(const InjectedInterface&) = delete;
  InjectedInterface& operator=(const InjectedInterface&) = delete;

  bool Ready() const { return ready_; }
  const std::wstring& DevicePath() const { return devicePath_; }

  // A value under a key below HKEY_LOCAL_MACHINE, removed with the device.
  bool SetPortNumber(const std::wstring& keyName, DWORD number) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyName.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
      return false;
    }
    const bool set = RegSetValueExW(key, L"Port Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                                    sizeof number) == ERROR_SUCCESS;
    RegCloseKey(key);
    return set;
  }

  // "PortName" of the device's hardware key, stored with exactly these bytes.
  bool SetPortName(const std::vector<BYTE>& bytes) {
    HKEY key = SetupDiCreateDevRegKeyW(set_, &info_, DICS_FLAG_GLOBAL, 0, DIREG_DEV, nullptr, nullptr);
    if (key == reinterpret_cast<HKEY>(INVALID_HANDLE_VALUE)) return false;
    const bool set =
        RegSetValueExW(key, L"PortName", 0, REG_SZ, bytes.data(), static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
    RegCloseKey(key);
    return set;
  }

 private:
  GUID interfaceClass_;
  HDEVINFO set_ = INVALID_HANDLE_VALUE;
  SP_DEVINFO_DATA info_{};
  bool created_ = false;
  bool ready_ = false;
  std::wstring devicePath_;
  std::wstring interfaceKey_;
};

// A suffix of its own per run, so that nothing left by an earlier run is taken for it.
std::wstring RunSuffix() {
  return std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(GetTickCount());
}

}  // namespace

TEST(DeviceScanWin32, FindsAnInjectedUsbPrinterWithItsPort) {
  const std::wstring numbered = L"USB\\VID_1A2B&PID_3C4D\\QV" + RunSuffix();
  const std::wstring unnumbered = L"USBPRINT\\ABC&DEF\\QV" + RunSuffix();
  InjectedInterface first(kUsbPrintInterface, numbered);
  InjectedInterface second(kUsbPrintInterface, unnumbered);
  ASSERT_TRUE(first.Ready());
  ASSERT_TRUE(second.Ready());
  ASSERT_TRUE(first.SetPortNumber(UsbPortKeyName(numbered).value(), 7));
  ASSERT_TRUE(second.SetPortNumber(UsbPortKeyName(unnumbered).value(), 0));

  const auto scan = ScanUsbPrinters();
  EXPECT_TRUE(scan.Complete()) << "error " << scan.error;
  const auto& printers = scan.found;
  const UsbPrinterEntry* foundFirst = nullptr;
  const UsbPrinterEntry* foundSecond = nullptr;
  for (const auto& printer : printers) {
    if (_wcsicmp(printer.devicePath.c_str(), first.DevicePath().c_str()) == 0) foundFirst = &printer;
    if (_wcsicmp(printer.devicePath.c_str(), second.DevicePath().c_str()) == 0) foundSecond = &printer;
  }
  ASSERT_NE(foundFirst, nullptr);
  EXPECT_EQ(foundFirst->portName, L"USB007");
  EXPECT_EQ(foundFirst->pidVid, L"VID_1A2B PID_3C4D");
  ASSERT_NE(foundSecond, nullptr);
  EXPECT_EQ(foundSecond->portName, L"");  // port number 0 names no port
  EXPECT_EQ(foundSecond->pidVid, L"ABC DEF");

  std::wstring name;
  EXPECT_TRUE(ReadUsbPortName(numbered, name));
  EXPECT_EQ(name, L"USB007");
  EXPECT_FALSE(ReadUsbPortName(numbered + std::wstring(1000, L'7'), name));
}

TEST(DeviceScanWin32, FindsTheSerialPortOfABluetoothAddress) {
  const std::wstring suffix = RunSuffix();
  const std::wstring instanceId =
      L"BTHENUM\\{00001101-0000-1000-8000-00805F9B34FB}_LOCALMFG&0002\\7&" + suffix + L"&0&1122AABBCCDD_C00000000";
  InjectedInterface port(kComPortInterface, instanceId);
  ASSERT_TRUE(port.Ready());
  // Stored without its NUL: only the bytes of the value may be read.
  ASSERT_TRUE(port.SetPortName({'C', 0, 'O', 0, 'M', 0, '1', 0, '2', 0}));

  std::wstring name;
  EXPECT_TRUE(FindBluetoothSerialPort(L"1122aabbccdd", name));
  EXPECT_EQ(name, L"COM12");
  EXPECT_FALSE(FindBluetoothSerialPort(L"665544332211", name));
  EXPECT_EQ(name, L"");
}

TEST(DeviceScanWin32, BluetoothWithoutARadioIsNotOnAndFindsNothing) {
  // Wine has no Bluetooth stack: no adapter, or one without a radio.
  EXPECT_NE(QueryBluetoothAdapter(), BluetoothAdapterState::On);
  const auto scan = ScanBluetoothPrinters();
  EXPECT_TRUE(scan.found.empty());
  std::printf("the Bluetooth search without a radio ends with %u\n", static_cast<unsigned>(scan.error));
}
