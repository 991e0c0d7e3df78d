#include <gtest/gtest.h>

#include <string>

#include "devices/UsbPortRules.h"

TEST(UsbPortRules, PidVidIsTheSecondComponentWithBlanks) {
  EXPECT_EQ(PidVidOfInstanceId(L"USBPRINT\\ABC&DEF\\1"), L"ABC DEF");
  EXPECT_EQ(PidVidOfInstanceId(L"USB\\VID_1A2B&PID_3C4D&MI_00\\7&2B&0&0000"), L"VID_1A2B PID_3C4D MI_00");
  EXPECT_EQ(PidVidOfInstanceId(L"USB\\VID_1A2B"), L"VID_1A2B");
  // Fewer than two components: the whole id, "&" kept.
  EXPECT_EQ(PidVidOfInstanceId(L"ROOT&PRINTER"), L"ROOT&PRINTER");
  EXPECT_EQ(PidVidOfInstanceId(L""), L"");
}

TEST(UsbPortRules, PortNamesHaveAtLeastThreeDigits) {
  EXPECT_EQ(UsbPortNameOfNumber(1), L"USB001");
  EXPECT_EQ(UsbPortNameOfNumber(7), L"USB007");
  EXPECT_EQ(UsbPortNameOfNumber(12), L"USB012");
  EXPECT_EQ(UsbPortNameOfNumber(5678), L"USB5678");
  EXPECT_EQ(UsbPortNameOfNumber(0xFFFFFFFFu), L"USB4294967295");
  EXPECT_EQ(UsbPortNameOfNumber(0), L"");
}

TEST(UsbPortRules, KeyNameStandsBetweenTheTemplateParts) {
  EXPECT_EQ(UsbPortKeyName(L"USB\\VID_1A2B&PID_3C4D\\7").value_or(L""),
            L"SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{28d78fad-5a12-11d1-ae5b-0000f803a8c2}\\##?#"
            L"USB#VID_1A2B&PID_3C4D#7#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}\\#\\Device Parameters");
}

TEST(UsbPortRules, OverLongIdGivesNoKeyInsteadOfACutOne) {
  const size_t fixed = UsbPortKeyName(L"").value().size();
  const std::wstring fits(kUsbPortKeyCapacity - 1 - fixed, L'A');
  ASSERT_TRUE(UsbPortKeyName(fits).has_value());
  EXPECT_EQ(UsbPortKeyName(fits)->size(), kUsbPortKeyCapacity - 1);
  EXPECT_FALSE(UsbPortKeyName(fits + L"A").has_value());
}
