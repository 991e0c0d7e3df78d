#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devices/BluetoothDiscovery.h"
#include "devices/BluetoothOperations.h"
#include "devices/BluetoothPlatform.h"
#include "devices/BluetoothRules.h"
#include "devices/UsbPrinterScan.h"
#include "engine/spooler/FileOperations.h"
#include "engine/spooler/SystemOperations.h"
#include "simulated/SimulatedLastError.h"
#include "simulated/SimulatedMachine.h"

namespace {

SimulatedMachine& Machine() {
  return *SimulatedMachine::Current();
}

SimulatedDeviceTree& Devices() {
  return Machine().Devices();
}

SimulatedUsbPrinter UsbPrinter(std::wstring id, std::optional<uint32_t> port) {
  SimulatedUsbPrinter printer;
  printer.instanceId = std::move(id);
  printer.portNumber = port;
  return printer;
}

SimulatedBluetoothDevice Nearby(std::wstring name, uint64_t address, uint32_t classOfDevice, bool paired = false) {
  SimulatedBluetoothDevice device;
  device.name = std::move(name);
  device.address = address;
  device.classOfDevice = classOfDevice;
  device.paired = paired;
  return device;
}

BluetoothDeviceRecord RecordOf(uint64_t address) {
  BluetoothDeviceRecord record;
  record.address = address;
  return record;
}

}  // namespace

TEST(UsbScanSimulated, ListsEveryPrinterWithItsPortName) {
  Devices().PlugUsbPrinter(UsbPrinter(L"USB\\VID_1A2B&PID_3C4D\\7", 7));
  Devices().PlugUsbPrinter(UsbPrinter(L"USBPRINT\\ABC&DEF\\1", 5678));
  Devices().PlugUsbPrinter(UsbPrinter(L"USB\\VID_0001&PID_0002\\9", std::nullopt));
  Devices().PlugUsbPrinter(UsbPrinter(L"ROOTPRINTER", 0));
  const uint64_t delayBefore = Machine().RequestedDelayMs();

  const auto scan = ScanUsbPrinters();
  EXPECT_GE(Machine().RequestedDelayMs() - delayBefore, 1000u);
  EXPECT_TRUE(scan.Complete());  // a missing "Port Number" is no failure
  const auto& printers = scan.found;
  ASSERT_EQ(printers.size(), 4u);
  EXPECT_EQ(printers[0].pidVid, L"VID_1A2B PID_3C4D");
  EXPECT_EQ(printers[0].portName, L"USB007");
  EXPECT_EQ(printers[0].devicePath, SimulatedDeviceTree::UsbDevicePathOf(L"USB\\VID_1A2B&PID_3C4D\\7"));
  EXPECT_EQ(printers[1].pidVid, L"ABC DEF");
  EXPECT_EQ(printers[1].portName, L"USB5678");
  EXPECT_EQ(printers[2].portName, L"");  // no "Port Number"
  EXPECT_EQ(printers[3].pidVid, L"ROOTPRINTER");
  EXPECT_EQ(printers[3].portName, L"");  // port number 0
}

TEST(UsbScanSimulated, UnreadableMembersAreSkippedAndAFailedDetailEndsTheWalk) {
  auto unreadable = UsbPrinter(L"USB\\VID_0000&PID_0001\\1", 1);
  unreadable.propertiesReadable = false;
  Devices().PlugUsbPrinter(unreadable);
  Devices().PlugUsbPrinter(UsbPrinter(L"USB\\VID_0000&PID_0002\\" + std::wstring(300, L'X'), 2));
  Devices().PlugUsbPrinter(UsbPrinter(L"USB\\VID_0000&PID_0003\\3", 3));
  auto broken = UsbPrinter(L"USB\\VID_0000&PID_0004\\4", 4);
  broken.detailReadable = false;
  Devices().PlugUsbPrinter(broken);
  Devices().PlugUsbPrinter(UsbPrinter(L"USB\\VID_0000&PID_0005\\5", 5));

  // The first is skipped (its properties), the second too (its id does not fit), the
  // fourth ends the walk: the fifth is never looked at.
  const auto scan = ScanUsbPrinters();
  ASSERT_EQ(scan.found.size(), 1u);
  EXPECT_EQ(scan.found[0].portName, L"USB003");
  EXPECT_EQ(scan.error, 13u);  // the first failure is the one reported
}

TEST(UsbScanSimulated, AFailingCallIsReportedWithWhatWasFoundBeforeIt) {
  Devices().PlugUsbPrinter(UsbPrinter(L"USB\\VID_0000&PID_0001\\1", 1));
  Devices().PlugUsbPrinter(UsbPrinter(L"USB\\VID_0000&PID_0002\\2", 2));

  ASSERT_TRUE(Machine().InjectFault("SetupDiGetClassDevsW", 5, FaultMode::Once));
  auto scan = ScanUsbPrinters();
  EXPECT_TRUE(scan.found.empty());
  EXPECT_EQ(scan.error, 5u);

  // The end of the set (259) is how every walk ends: no failure, nothing found.
  ASSERT_TRUE(Machine().InjectFault("SetupDiEnumDeviceInterfaces", 259, FaultMode::Once));
  scan = ScanUsbPrinters();
  EXPECT_TRUE(scan.found.empty());
  EXPECT_TRUE(scan.Complete());

  // A detail that cannot be read stops the walk; an id that cannot be read skips one.
  ASSERT_TRUE(Machine().InjectFault("SetupDiGetDeviceInterfaceDetailW", 1784, FaultMode::Once));
  scan = ScanUsbPrinters();
  EXPECT_TRUE(scan.found.empty());
  EXPECT_EQ(scan.error, 1784u);
  ASSERT_TRUE(Machine().InjectFault("SetupDiGetDeviceInstanceIdW", 87, FaultMode::Once));
  scan = ScanUsbPrinters();
  ASSERT_EQ(scan.found.size(), 1u);
  EXPECT_EQ(scan.found[0].portName, L"USB002");
  EXPECT_EQ(scan.error, 87u);

  // A missing value lists the printer without a port; a failing read says so too.
  ASSERT_TRUE(Machine().InjectFault("RegQueryValueExW", 2, FaultMode::Once));
  scan = ScanUsbPrinters();
  ASSERT_EQ(scan.found.size(), 2u);
  EXPECT_EQ(scan.found[0].portName, L"");
  EXPECT_TRUE(scan.Complete());
  ASSERT_TRUE(Machine().InjectFault("RegQueryValueExW", 5, FaultMode::Once));
  scan = ScanUsbPrinters();
  ASSERT_EQ(scan.found.size(), 2u);
  EXPECT_EQ(scan.found[0].portName, L"");
  EXPECT_EQ(scan.found[1].portName, L"USB002");
  EXPECT_EQ(scan.error, 5u);
}

TEST(UsbScanSimulated, PortNameOfAnOverLongIdIsNotLookedUp) {
  Devices().PlugUsbPrinter(UsbPrinter(L"USB\\VID_1\\1", 1));
  std::wstring name;
  EXPECT_TRUE(ReadUsbPortName(L"USB\\VID_1\\1", name));
  EXPECT_EQ(name, L"USB001");
  EXPECT_FALSE(ReadUsbPortName(L"USB\\VID_1\\1" + std::wstring(1000, L'1'), name));
  EXPECT_EQ(name, L"");
  EXPECT_FALSE(ReadUsbPortName(L"USB\\VID_2\\1", name));
}

TEST(UsbScanSimulated, BytesWrittenToThePrinterLandInTheMachineFolder) {
  Devices().PlugUsbPrinter(UsbPrinter(L"USB\\VID_1A2B&PID_3C4D\\7", 7));
  const std::wstring path = SimulatedDeviceTree::UsbDevicePathOf(L"USB\\VID_1A2B&PID_3C4D\\7");
  const uint8_t first[] = {'A', 'B', 27};
  const uint8_t second[] = {74, 120};
  EXPECT_TRUE(WriteDeviceBytes(path, first, sizeof first));
  EXPECT_TRUE(WriteDeviceBytes(path, second, sizeof second));
  EXPECT_EQ(Devices().Received(L"USB\\VID_1A2B&PID_3C4D\\7"), (std::vector<uint8_t>{'A', 'B', 27, 74, 120}));
  EXPECT_TRUE(std::filesystem::exists(Devices().ReceivedFile(L"USB\\VID_1A2B&PID_3C4D\\7")));
  EXPECT_EQ(Devices().ReceivedFile(L"X").parent_path().parent_path(), Machine().Folder());

  Devices().UnplugUsbPrinter(L"USB\\VID_1A2B&PID_3C4D\\7");
  EXPECT_EQ(WriteDeviceBytes(path, first, sizeof first).Error(), 2u);
}

TEST(BluetoothSimulated, AdapterStates) {
  EXPECT_EQ(QueryBluetoothAdapter(), BluetoothAdapterState::None);
  Devices().SetAdapter(SimulatedAdapter::Off);
  EXPECT_EQ(QueryBluetoothAdapter(), BluetoothAdapterState::Off);
  Devices().SetAdapter(SimulatedAdapter::On);
  EXPECT_EQ(QueryBluetoothAdapter(), BluetoothAdapterState::On);
  ASSERT_TRUE(Machine().InjectFault("BluetoothFindFirstRadio", 259, FaultMode::Once));
  EXPECT_EQ(QueryBluetoothAdapter(), BluetoothAdapterState::Off);
  EXPECT_STREQ(BluetoothAdapterStateKey(BluetoothAdapterState::None), L"tip.btadapter.none");
}

TEST(BluetoothSimulated, InquiryListsNamedPrintersInOrder) {
  Devices().SetAdapter(SimulatedAdapter::On);
  Devices().AddBluetoothDevice(Nearby(L"QV-A4 kitchen", 0x1122AABBCCDD, 0x040680));
  Devices().AddBluetoothDevice(Nearby(L"Phone", 0x00000000000A, 0x5A020C));
  Devices().AddBluetoothDevice(Nearby(L"", 0x00000000000B, 0x040680));
  Devices().AddBluetoothDevice(Nearby(L"QV-A4 office", 0x0A0B0C0D0E0F, 0x001F1F, true));
  const uint64_t delayBefore = Machine().RequestedDelayMs();

  const auto scan = ScanBluetoothPrinters();
  EXPECT_GE(Machine().RequestedDelayMs() - delayBefore, 12800u);
  EXPECT_TRUE(scan.Complete());
  const auto& printers = scan.found;
  ASSERT_EQ(printers.size(), 2u);
  EXPECT_EQ(DeviceName(printers[0]), L"QV-A4 kitchen");
  EXPECT_EQ(printers[0].address, 0x1122AABBCCDDull);
  EXPECT_EQ(printers[0].authenticated, 0);
  EXPECT_EQ(printers[0].size, 560u);
  EXPECT_EQ(DeviceName(printers[1]), L"QV-A4 office");
  EXPECT_EQ(printers[1].authenticated, 1);

  // A failing next call keeps what came before it and says so.
  ASSERT_TRUE(Machine().InjectFault("BluetoothFindNextDevice", 1167, FaultMode::Once));
  const auto cut = ScanBluetoothPrinters();
  ASSERT_EQ(cut.found.size(), 1u);
  EXPECT_EQ(cut.error, 1167u);
  ASSERT_TRUE(Machine().InjectFault("BluetoothFindFirstDevice", 87, FaultMode::Once));
  EXPECT_EQ(ScanBluetoothPrinters().error, 87u);

  // No radio on: nobody answers, which is no failure.
  Devices().SetAdapter(SimulatedAdapter::Off);
  const auto none = ScanBluetoothPrinters();
  EXPECT_TRUE(none.found.empty());
  EXPECT_TRUE(none.Complete());
}

TEST(BluetoothSimulated, PairingTakesTheRightPinAndCountsAPairedDevice) {
  Devices().SetAdapter(SimulatedAdapter::On);
  auto printer = Nearby(L"QV-A4", 0x1122AABBCCDD, 0x040680);
  printer.pin = L"1234567890123456";
  Devices().AddBluetoothDevice(printer);
  std::wstring error;
  EXPECT_FALSE(PairBluetoothDevice(RecordOf(0x1122AABBCCDD), L"9371", error));
  EXPECT_EQ(error.rfind(L"Code: 1244 - ", 0), 0u) << std::string(error.begin(), error.end());
  // A longer PIN is passed cut to its first 16 units.
  EXPECT_TRUE(PairBluetoothDevice(RecordOf(0x1122AABBCCDD), L"1234567890123456789", error));
  EXPECT_TRUE(error.empty());
  EXPECT_TRUE(Devices().BluetoothDevices()[0].paired);
  // Already paired: 259 is success too.
  EXPECT_TRUE(PairBluetoothDevice(RecordOf(0x1122AABBCCDD), L"wrong", error));
  EXPECT_FALSE(PairBluetoothDevice(RecordOf(0x665544332211), L"9371", error));
  EXPECT_EQ(error.rfind(L"Code: 1167 - ", 0), 0u);
}

TEST(BluetoothSimulated, VirtualComPortAppearsAfterTheServiceIsEnabled) {
  Devices().SetAdapter(SimulatedAdapter::On);
  Devices().SetComPortDelayMs(1000);
  Devices().AddBluetoothDevice(Nearby(L"QV-A4", 0x1122AABBCCDD, 0x040680));
  Devices().AddSerialPort({L"ACPI\\PNP0501\\1", L"COM1", true});
  const BluetoothDeviceRecord record = RecordOf(0x1122AABBCCDD);

  EXPECT_EQ(TryEnableSerialService(record), ServiceStateAttempt::Retry);  // not paired yet
  std::wstring error;
  ASSERT_TRUE(PairBluetoothDevice(record, L"9371", error));
  EXPECT_EQ(TryEnableSerialService(record), ServiceStateAttempt::Done);
  EXPECT_EQ(TryEnableSerialService(record), ServiceStateAttempt::Done);  // 87: enabled already

  // The worker's retry loop: a miss, 250 ms, again.
  const std::wstring address = FormatBluetoothAddress(record.address, false);
  std::wstring port;
  int misses = 0;
  while (!FindBluetoothSerialPort(address, port) && misses < 41) {
    ++misses;
    SleepMs(250);
  }
  EXPECT_EQ(misses, 4);
  EXPECT_EQ(port, L"COM5");
  EXPECT_FALSE(FindBluetoothSerialPort(L"665544332211", port));
  EXPECT_EQ(port, L"");

  RegisterSerialService(record, L"COM5");
  const auto services = Devices().Snapshot().localServices;
  ASSERT_EQ(services.size(), 1u);
  EXPECT_EQ(services[0].serviceName, L"SPP slave");
  EXPECT_EQ(services[0].comPort, L"COM5");

  ASSERT_TRUE(Machine().InjectFault("LoadLibraryExW", 126, FaultMode::Once));
  EXPECT_EQ(TryEnableSerialService(record), ServiceStateAttempt::LibraryMissing);
}

TEST(BluetoothSimulated, PortNameValuesAreReadWithinTheirBuffer) {
  Devices().AddSerialPort({L"BTHENUM\\X_7&1&0&1122AABBCCDD_C0", L"COM12", false});
  Devices().AddSerialPort({L"BTHENUM\\X_7&1&0&665544332211_C0", L"COM" + std::wstring(200, L'9'), true});
  std::wstring port;
  EXPECT_TRUE(FindBluetoothSerialPort(L"1122aabbccdd", port));
  EXPECT_EQ(port, L"COM12");
  // A value larger than the 255-byte buffer cannot be read: found, but no name.
  EXPECT_TRUE(FindBluetoothSerialPort(L"665544332211", port));
  EXPECT_EQ(port, L"");
  ASSERT_TRUE(Machine().InjectFault("SetupDiGetClassDevsW", 5, FaultMode::Once));
  EXPECT_FALSE(FindBluetoothSerialPort(L"1122aabbccdd", port));
}

TEST(MachineDevicesSimulated, ChangesByAnotherProgramAndStoredFaultsAreSeen) {
  // The machine tool opens the same folder in a process of its own.
  SimulatedDeviceTree tool(Machine().Folder());
  tool.PlugUsbPrinter(UsbPrinter(L"USB\\VID_1\\1", 1));
  tool.SetAdapter(SimulatedAdapter::Off);
  EXPECT_EQ(Devices().UsbPrinters().size(), 1u);
  EXPECT_EQ(QueryBluetoothAdapter(), BluetoothAdapterState::Off);

  tool.StoreFault({"EnumPortsW", 5, true});
  EXPECT_FALSE(Machine().EnumPorts().has_value());
  EXPECT_EQ(SimulatedLastError(), 5u);
  EXPECT_TRUE(Machine().EnumPorts().has_value());  // once only, and used up in the file too
  EXPECT_TRUE(tool.Snapshot().faults.empty());

  tool.StoreFault({"SetupDiGetClassDevsW", 5, false});
  EXPECT_EQ(ScanUsbPrinters().error, 5u);
  EXPECT_EQ(ScanUsbPrinters().error, 5u);
  tool.ClearStoredFaults();
  EXPECT_EQ(ScanUsbPrinters().found.size(), 1u);
}
