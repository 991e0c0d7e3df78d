// Every platform call of the simulated machine can be made to fail with a chosen code,
// so each failure path of the program can be driven from a test.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "devices/BluetoothDiscovery.h"
#include "devices/BluetoothOperations.h"
#include "devices/BluetoothPlatform.h"
#include "devices/UsbPrinterScan.h"
#include "engine/spooler/DriverEnvironment.h"
#include "engine/spooler/FileOperations.h"
#include "engine/spooler/ShellCommands.h"
#include "engine/spooler/SpoolerOperations.h"
#include "engine/spooler/SystemOperations.h"
#include "simulated/SimulatedLastError.h"
#include "simulated/SimulatedMachine.h"

namespace {

SimulatedMachine& Machine() {
  return *SimulatedMachine::Current();
}

std::wstring Unique(const wchar_t* stem) {
  static int counter = 0;
  return stem + std::to_wstring(++counter);
}

// A small driver of version 3 whose files lie in the driver directory.
PrinterDriverRecord SmallDriver() {
  const std::wstring directory = GetDriverDirectory().ValueOr(L"");
  for (const wchar_t* file : {L"f.dll", L"f.pcd", L"fui.dll"}) {
    const uint8_t byte = 1;
    WriteWholeFile(directory + file, std::span<const uint8_t>(&byte, 1));
  }
  PrinterDriverRecord driver;
  driver.driverName = L"Fault driver";
  driver.driverFile = L"f.dll";
  driver.dataFile = L"f.pcd";
  driver.configurationFile = L"fui.dll";
  return driver;
}

const std::wstring kDevice = L"\\\\?\\usb#vid_0483&pid_5720#fault";
const std::wstring kUsbPrinter = L"USB\\VID_0483&PID_5720\\1";

BluetoothDeviceRecord PairedPrinter() {
  BluetoothDeviceRecord record;
  record.address = 0x1122AABBCCDD;
  return record;
}

// A USB printer, an adapter that is on, a paired printer in range with its serial
// service and COM port.
void PutDevicesInPlace() {
  auto& devices = Machine().Devices();
  SimulatedUsbPrinter printer;
  printer.instanceId = kUsbPrinter;
  printer.portNumber = 1;
  devices.PlugUsbPrinter(printer);
  devices.SetAdapter(SimulatedAdapter::On);
  devices.AddBluetoothDevice({L"QV-A4", 0x1122AABBCCDD, 0x040680, true, L"9371", true, L"COM7"});
  devices.AddSerialPort(
      {L"BTHENUM\\{00001101-0000-1000-8000-00805F9B34FB}_LOCALMFG&0002\\7&1&0&1122AABBCCDD_C00000000", L"COM7", true});
}

// The device scans, on what PutDevicesInPlace sets up: everything found, no failure told.
bool UsbScanFindsAll() {
  const auto scan = ScanUsbPrinters();
  return scan.Complete() && scan.found.size() == 1;
}

bool BluetoothScanFindsAll(size_t count) {
  const auto scan = ScanBluetoothPrinters();
  return scan.Complete() && scan.found.size() == count;
}

// 0 for a success, else the code the failure carries; a plain answer's failure is read
// from the machine's last error, where the simulated call left it.
uint32_t Code(const SystemOutcome& outcome) {
  return outcome.Error();
}
template <typename T>
uint32_t Code(const SystemResult<T>& result) {
  return result.Error();
}
uint32_t Code(bool succeeded) {
  return succeeded ? 0 : SimulatedLastError();
}

// One operation of the program per platform call, with its Code.
std::map<std::string, std::function<uint32_t()>> OperationsByCall() {
  const std::wstring easyPrintInf =
      L"C:\\Windows\\System32\\DriverStore\\FileRepository\\prnms005.inf_amd64_0e1d9a7c5bfb2f8e\\prnms005.inf";
  const uint8_t bytes[] = {1, 2, 3};
  const std::span<const uint8_t> span(bytes);
  return {
      {"EnumPrintersW",
       [] {
         std::vector<SpoolerEntry> l;
         return Code(ListPrinters(l) && !l.empty());
       }},
      {"EnumPrinterDriversW", [] { return Code(DriverInstalled(L"Microsoft Print To PDF", kEnvironmentX64)); }},
      {"EnumPortsW", [] { return Code(PortExists(L"COM1:")); }},
      {"GetPrinterDriverDirectoryW", [] { return Code(GetDriverDirectory()); }},
      {"OpenPrinterW", [] { return Code(AddStandardTcpIpPort(Unique(L"IP_open"), L"10.0.0.1")); }},
      {"XcvDataW", [] { return Code(AddStandardTcpIpPort(Unique(L"IP_xcv"), L"10.0.0.2")); }},
      {"AddPortW",
       [] {
         Machine().AddDialogAnswer({true, Unique(L"LOCAL_"), L""});
         std::wstring error;
         return Code(AddPortThroughMonitor(L"Local Port", nullptr, error));
       }},
      {"DeletePortW",
       [] {
         AddStandardTcpIpPort(L"IP_delete", L"10.0.0.3");
         std::wstring error;
         return Code(DeletePortByName(L"IP_delete", nullptr, error));
       }},
      {"ConfigurePortW", [] { return Code(ConfigurePortByName(L"COM1:", nullptr)); }},
      {"DeletePrinter",
       [] {
         Machine().AddPrinter({L"Fault printer", L"Microsoft Print To PDF", L"nul:", L"winprint", 0x40, {}});
         return Code(DeletePrinterByName(L"Fault printer"));
       }},
      {"AddPrinterDriverExW", [] { return Code(AddPrinterDriverLevel6(SmallDriver())); }},
      {"AddPrinterW",
       [] {
         return Code(
             AddPrinterLevel2({Unique(L"Fault printer "), L"nul:", L"Microsoft Print To PDF", L"WinPrint", 0x40}));
       }},
      {"SetDefaultPrinterW", [] { return Code(SetDefaultPrinterByName(L"Microsoft XPS Document Writer")); }},
      {"DeletePrinterDriverExW",
       [] {
         AddPrinterDriverLevel6(SmallDriver());
         return Code(DeletePrinterDriverVersion3(L"Fault driver"));
       }},
      {"DeletePrinterDriverPackageW",
       [easyPrintInf] {
         DeletePrinterDriverVersion3(L"Remote Desktop Easy Print", kEnvironmentX64);
         return Code(DeletePrinterDriverPackageByInf(easyPrintInf, kEnvironmentX64).outcome);
       }},
      {"ShellExecuteExW",
       [] {
         return Code(StartShellProgram(L"rundll32.exe", L"printui.dll,PrintUIEntry /k /n\"OneNote for Windows 10\"",
                                       nullptr, 1, false));
       }},
      {"SHGetSpecialFolderPathW", [] { return Code(ProgramFilesFolder().has_value()); }},
      {"GetVersionExW", [] { return Code(GetWindowsVersion().has_value()); }},
      {"IsWow64Process", [] { return Code(Machine().IsWow64Process().has_value()); }},
      {"FormatMessageW", [] { return Code(SystemMessageText(5, 0x0409).has_value()); }},
      {"GetCurrentDirectoryA", [] { return Code(CreateDirectoryPath(L"C:\\Windows\\Temp") == 1); }},
      {"CreateDirectoryA", [] { return Code(CreateDirectoryPath(L"C:\\Windows\\Temp\\" + Unique(L"made")) == 1); }},
      {"GetFileAttributesW", [] { return Code(FileAttributesMissing(L"C:\\Windows\\Temp\\absent.dll")); }},
      {"CreateFileW", [span] { return Code(WriteWholeFile(L"C:\\Windows\\Temp\\create.bin", span)); }},
      {"WriteFile", [span] { return Code(WriteWholeFile(L"C:\\Windows\\Temp\\write.bin", span)); }},
      {"MoveFileExW", [span] { return Code(WriteWholeFile(L"C:\\Windows\\Temp\\move.bin", span)); }},
      {"WriteFileEx",
       [] {
         const uint8_t b = 0x0C;
         return Code(WriteDeviceBytes(kDevice, &b, 1));
       }},
      // Devices and Bluetooth, on what PutDevicesInPlace sets up.
      {"SetupDiGetClassDevsW", [] { return Code(UsbScanFindsAll()); }},
      {"SetupDiEnumDeviceInterfaces", [] { return Code(UsbScanFindsAll()); }},
      {"SetupDiGetDeviceInterfaceDetailW", [] { return Code(UsbScanFindsAll()); }},
      {"SetupDiGetDeviceInstanceIdW", [] { return Code(UsbScanFindsAll()); }},
      {"SetupDiGetDeviceRegistryPropertyW", [] { return Code(UsbScanFindsAll()); }},
      {"RegOpenKeyExW",
       [] {
         std::wstring name;
         return Code(ReadUsbPortName(kUsbPrinter, name));
       }},
      {"RegQueryValueExW",
       [] {
         std::wstring name;
         return Code(ReadUsbPortName(kUsbPrinter, name));
       }},
      {"SetupDiEnumDeviceInfo", [] { return Code(QueryBluetoothAdapter() == BluetoothAdapterState::On); }},
      {"SetupDiOpenDevRegKey",
       [] {
         std::wstring name;
         return Code(FindBluetoothSerialPort(L"1122AABBCCDD", name) && name == L"COM7");
       }},
      {"LoadLibraryExW", [] { return Code(TryEnableSerialService(PairedPrinter()) == ServiceStateAttempt::Done); }},
      {"BluetoothFindFirstRadio", [] { return Code(BluetoothRadioFound()); }},
      {"BluetoothFindFirstDevice", [] { return Code(BluetoothScanFindsAll(1)); }},
      {"BluetoothFindNextDevice",
       [] {
         Machine().Devices().AddBluetoothDevice({L"QV-A4 second", 0x665544332211, 0x040680});
         const bool found = BluetoothScanFindsAll(2);
         Machine().Devices().RemoveBluetoothDevice(0x665544332211);
         return Code(found);
       }},
      {"BluetoothAuthenticateDevice",
       [] {
         BluetoothDeviceRecord record = PairedPrinter();
         return Code(AuthenticateBluetoothDevice(record, L"9371") == 259);  // paired already
       }},
      {"BluetoothSetServiceState",
       [] { return Code(TryEnableSerialService(PairedPrinter()) == ServiceStateAttempt::Done); }},
      {"BluetoothSetLocalServiceInfo",
       [] {
         const std::wstring port = Unique(L"COM");
         SetLocalSerialService(PairedPrinter(), port);
         const auto services = Machine().Devices().Snapshot().localServices;
         return Code(!services.empty() && services.back().comPort == port);
       }},
  };
}

TEST(FaultInjection, EveryCallFailsOnceWithTheInjectedCodeAndThenWorksAgain) {
  Machine().AddDevice(kDevice);
  PutDevicesInPlace();
  const auto operations = OperationsByCall();
  for (const auto& call : FaultInjector::KnownCalls()) {
    const auto operation = operations.find(std::string(call));
    ASSERT_NE(operation, operations.end()) << "no operation makes the call " << call;
    ASSERT_TRUE(Machine().InjectFault(call, 1117, FaultMode::Once));
    EXPECT_EQ(operation->second(), 1117u) << call;
    EXPECT_EQ(operation->second(), 0u) << call << " still fails";
  }
}

TEST(FaultInjection, AnAlwaysFaultStaysUntilCleared) {
  ASSERT_TRUE(Machine().InjectFault("AddPrinterW", 5, FaultMode::Always));
  const PrinterRecord printer{L"Always printer", L"nul:", L"Microsoft Print To PDF", L"WinPrint", 0x40};
  EXPECT_FALSE(AddPrinterLevel2(printer));
  EXPECT_EQ(AddPrinterLevel2(printer).Error(), 5u);
  Machine().ClearFaults();
  EXPECT_TRUE(AddPrinterLevel2(printer));
}

TEST(FaultInjection, ACountedFaultFailsThatManyCallsThenWorks) {
  ASSERT_TRUE(Machine().InjectFault("AddPrinterW", 1802, 3));
  const PrinterRecord printer{L"Counted printer", L"nul:", L"Microsoft Print To PDF", L"WinPrint", 0x40};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(AddPrinterLevel2(printer).Error(), 1802u) << i;
  }
  EXPECT_TRUE(AddPrinterLevel2(printer));
}

TEST(FaultInjection, AStoredWriteFaultBreaksTheWriteOffToo) {
  Machine().Devices().StoreFault({"WriteFile", 112, true});
  EXPECT_EQ(WriteWholeFile(L"C:\\Windows\\Temp\\stored.dll", std::vector<uint8_t>(64, 's')).Error(), 112u);
  EXPECT_TRUE(WriteWholeFile(L"C:\\Windows\\Temp\\stored.dll", std::vector<uint8_t>(64, 's')));
}

// A wrong guess would list and remove the drivers of the other environment.
TEST(FaultInjection, AFailingWow64QuestionIsAnsweredByTheNativeSystem) {
  ASSERT_TRUE(Machine().InjectFault("IsWow64Process", 5, FaultMode::Always));
  EXPECT_TRUE(Is64BitWindows());
  Machine().SetX64(false);
  EXPECT_FALSE(Is64BitWindows());
}

TEST(FaultInjection, AnUnknownCallIsRefused) {
  EXPECT_FALSE(Machine().InjectFault("AddPrinterDriverEx", 5, FaultMode::Once));
  EXPECT_FALSE(Machine().InjectFault("", 5, FaultMode::Always));
}

TEST(FaultInjection, AWriteThatBreaksOffLeavesTheOldFileWhole) {
  const std::wstring target = L"C:\\Windows\\Temp\\QuorvelA4UI300.dll";
  const std::vector<uint8_t> old(64, 'o');
  ASSERT_TRUE(WriteWholeFile(target, old));
  ASSERT_TRUE(Machine().InjectFault("WriteFile", 112, FaultMode::Once));
  EXPECT_EQ(WriteWholeFile(target, std::vector<uint8_t>(4096, 'n')).Error(), 112u);
  const auto host = *Machine().HostPath(target);
  EXPECT_EQ(std::filesystem::file_size(host), old.size());
  EXPECT_FALSE(std::filesystem::exists(host.string() + ".partial"));
}

}  // namespace
