#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "devices/BluetoothOperations.h"
#include "devices/BluetoothRules.h"

namespace {

BluetoothDeviceRecord Record(const char16_t* name, uint32_t classOfDevice) {
  BluetoothDeviceRecord record;
  std::memcpy(record.name, name, std::char_traits<char16_t>::length(name) * sizeof(char16_t));
  record.classOfDevice = classOfDevice;
  return record;
}

}  // namespace

TEST(BluetoothRules, OnlyNamedPrintersAreListed) {
  EXPECT_TRUE(IsListedPrinter(Record(u"QV-A4", 0x040680)));
  EXPECT_TRUE(IsListedPrinter(Record(u"QV-A4", 0x100680)));
  EXPECT_TRUE(IsListedPrinter(Record(u"QV-A4", 0x001F1F)));
  EXPECT_FALSE(IsListedPrinter(Record(u"", 0x040680)));
  EXPECT_FALSE(IsListedPrinter(Record(u"Phone", 0x5A020C)));
  EXPECT_FALSE(IsListedPrinter(Record(u"Headset", 0x240404)));
  // Another printer class bit pattern is not enough: the three values are exact.
  EXPECT_FALSE(IsListedPrinter(Record(u"Scanner", 0x040640)));
  EXPECT_FALSE(IsListedPrinter(Record(u"QV-A4", 0x140680)));
  EXPECT_EQ(DeviceName(Record(u"QV-A4", 0)), L"QV-A4");
}

TEST(BluetoothRules, AddressTextMostSignificantFirst) {
  EXPECT_EQ(FormatBluetoothAddress(0x1122AABBCCDDull, true), L"11-22-AA-BB-CC-DD");
  EXPECT_EQ(FormatBluetoothAddress(0x1122AABBCCDDull, false), L"1122AABBCCDD");
  EXPECT_EQ(FormatBluetoothAddress(0x0A000B0C0D01ull, true), L"0A-00-0B-0C-0D-01");
  EXPECT_EQ(FormatBluetoothAddress(0, false), L"000000000000");
  // Only six bytes make the address.
  EXPECT_EQ(FormatBluetoothAddress(0xFFFF1122AABBCCDDull, false), L"1122AABBCCDD");
}

TEST(BluetoothRules, SerialPortInstanceIdNamesTheAddress) {
  const wchar_t* windowsId =
      L"BTHENUM\\{00001101-0000-1000-8000-00805F9B34FB}_LOCALMFG&0002\\7&2A1E2A37&0&1122aabbccdd_C00000000";
  EXPECT_TRUE(InstanceIdNamesAddress(windowsId, L"1122AABBCCDD"));
  EXPECT_TRUE(InstanceIdNamesAddress(windowsId, L"1122aabbccdd"));
  EXPECT_FALSE(InstanceIdNamesAddress(windowsId, L"1122AABBCCDE"));
  EXPECT_FALSE(InstanceIdNamesAddress(L"ACPI\\PNP0501\\1", L"1122AABBCCDD"));
  EXPECT_FALSE(InstanceIdNamesAddress(L"X_2AABBCCDD_1", L"1122AABBCCDD"));   // second-to-last part too short
  EXPECT_FALSE(InstanceIdNamesAddress(L"X_1122AABBCCDD", L"1122AABBCCDD"));  // the address in the last part
  EXPECT_TRUE(InstanceIdNamesAddress(L"1122AABBCCDD_", L"1122AABBCCDD"));
  EXPECT_FALSE(InstanceIdNamesAddress(windowsId, L""));
}

TEST(BluetoothRules, PinIsCutToSixteenUnits) {
  EXPECT_EQ(PinForPairing(L"9371"), L"9371");
  EXPECT_EQ(PinForPairing(L"12345678901234567890"), L"1234567890123456");
  EXPECT_EQ(PinForPairing(L""), L"");
}

TEST(BluetoothRules, RegistryStringsAreNeverReadPastTheBytesRead) {
  const uint8_t unterminated[] = {'C', 0, 'O', 0, 'M', 0, '1', 0, '2', 0};
  EXPECT_EQ(RegistryStringOfBytes(unterminated, sizeof unterminated), L"COM12");
  EXPECT_EQ(RegistryStringOfBytes(unterminated, 6), L"COM");
  EXPECT_EQ(RegistryStringOfBytes(unterminated, 7), L"COM");  // half a unit is no unit
  const uint8_t terminated[] = {'C', 0, 'O', 0, 'M', 0, '5', 0, 0, 0, 'X', 0};
  EXPECT_EQ(RegistryStringOfBytes(terminated, sizeof terminated), L"COM5");
  EXPECT_EQ(RegistryStringOfBytes(nullptr, 8), L"");
}
