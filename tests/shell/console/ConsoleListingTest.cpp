// The console program's plain rules: Bluetooth addresses as typed, and columns that line
// up on a terminal whatever the script.
#include <gtest/gtest.h>

#include "base/WideText.h"
#include "shell/console/ConsoleListing.h"
#include "shell/console/ConsolePlan.h"

TEST(ConsoleRules, BluetoothAddressesInThreeSpellingsAndNothingElse) {
  EXPECT_EQ(ParseBluetoothAddress(L"001A7DDA7113"), 0x001A7DDA7113u);
  EXPECT_EQ(ParseBluetoothAddress(L"00:1a:7d:da:71:13"), 0x001A7DDA7113u);
  EXPECT_EQ(ParseBluetoothAddress(L"00-1A-7D-DA-71-13"), 0x001A7DDA7113u);
  for (const wchar_t* bad : {L"", L"00:1A:7D:DA:71", L"00:1A-7D:DA:71:13", L"001A7DDA711G", L"00:1A:7D:DA:71:13:",
                             L"0:01A:7D:DA:71:13", L"001A7DDA71134", L" 01A7DDA7113"}) {
    EXPECT_FALSE(ParseBluetoothAddress(bad)) << WideToUtf8(bad);
  }
}

TEST(ConsoleRules, ColumnsLineUpWithWideAndCombiningCharacters) {
  EXPECT_EQ(DisplayWidth(L"COM1:"), 5u);
  EXPECT_EQ(DisplayWidth(L"打印机"), 6u);
  EXPECT_EQ(DisplayWidth(L"ที่"), 1u);  // a base letter with two marks above it
  ListTable table;
  table.columns = {{L"printer", L"cli.col.printer"}, {L"driver", L"cli.col.driver"}};
  table.rows = {{L"打印机", L"A"}, {L"ab", L"B"}};
  const std::wstring text = FormatListText(table);
  const size_t first = text.find(L'\n') + 1;
  const size_t second = text.find(L'\n', first) + 1;
  // The second column starts at the same terminal column on every line.
  EXPECT_EQ(DisplayWidth(text.substr(first, text.find(L'A', first) - first)),
            DisplayWidth(text.substr(second, text.find(L'B', second) - second)));
}
