#include <gtest/gtest.h>

#include <set>

#include "engine/FreeNames.h"
#include "engine/NetworkAddress.h"
#include "engine/PinText.h"

TEST(NetworkAddress, FourDecimalPartsUpTo255) {
  for (const wchar_t* good : {L"10.0.0.1", L"192.168.1.100", L"255.255.255.255", L"0.0.0.0", L"10.0.0.1."}) {
    EXPECT_TRUE(IsValidIpv4Address(good)) << good;
  }
  for (const wchar_t* bad : {L"192.168.1.256", L"10.0.0", L"10.0.0.1.5", L"10..0.1", L"", L".", L"10.0.0.1..",
                             L"1x.2.3.4", L" +1.2.3.4", L"-0.1.2.3", L"1.2.3.4 ", L"1.2.3.99999999999", L"١.2.3.4"}) {
    EXPECT_FALSE(IsValidIpv4Address(bad)) << bad;
  }
}

TEST(PinText, OnlyAsciiLettersAndDigitsStay) {
  EXPECT_EQ(FilterPin(L"12-ab c!Z9"), L"12abcZ9");
  EXPECT_EQ(FilterPin(L"- .;"), L"");
  EXPECT_EQ(FilterPin(L"éß١２"), L"");  // letters and digits beyond ASCII go too
  EXPECT_TRUE(IsValidPin(L"9371"));
  EXPECT_TRUE(IsValidPin(L"abcDEF0123456789"));
  EXPECT_FALSE(IsValidPin(L""));
  EXPECT_FALSE(IsValidPin(L"12 34"));
}

TEST(FreeNames, TheFirstNameOfTheSeriesThatIsNotTaken) {
  const std::set<std::wstring> printers{L"QuorvelA4-300", L"QuorvelA4-300 (1)", L"QuorvelA4-300 (3)"};
  const auto printerTaken = [&](const std::wstring& name) { return printers.count(name) > 0; };
  EXPECT_EQ(ProposePrinterName(L"QuorvelA4-300", printerTaken), L"QuorvelA4-300 (2)");
  EXPECT_EQ(ProposePrinterName(L"QuorvelA4-203", printerTaken), L"QuorvelA4-203");

  const std::set<std::wstring> ports{L"192.168.1.100", L"192.168.1.100_1"};
  const auto portTaken = [&](const std::wstring& name) { return ports.count(name) > 0; };
  EXPECT_EQ(ProposeNetworkPortName(L"192.168.1.100", portTaken), L"192.168.1.100_2");
  EXPECT_EQ(ProposeNetworkPortName(L"10.0.0.1", portTaken), L"10.0.0.1");
}
