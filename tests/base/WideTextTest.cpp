#include <gtest/gtest.h>

#include "base/WideText.h"

TEST(WideText, Utf8RoundTripKeepsEveryScript) {
  const std::string text = "Quorvel 宋体 ภาษาไทย 한국어 Español \xF0\x9F\x96\xA8";
  EXPECT_EQ(WideToUtf8(Utf8ToWide(text)), text);
  EXPECT_EQ(Utf8ToWide("\xE5\xAE\x8B"), std::wstring(L"\x5B8B"));
}

TEST(WideText, DamagedUtf8BecomesReplacementCharacters) {
  EXPECT_EQ(Utf8ToWide("a\xE5\xAE"), std::wstring(L"a\xFFFD\xFFFD"));
  EXPECT_EQ(Utf8ToWide("\xFFz"), std::wstring(L"\xFFFDz"));
}

TEST(WideText, FormatTextFillsOnlyTheFirstPlaceholder) {
  EXPECT_EQ(FormatText(L"Delete: %s failed", L"COM1:"), L"Delete: COM1: failed");
  EXPECT_EQ(FormatText(L"100%% %s %s", L"x"), L"100% x ");
  EXPECT_EQ(FormatText(L"no argument %d", L"x"), L"no argument %d");
  EXPECT_EQ(FormatText(L"trailing %"), L"trailing %");
  // An argument holding "%s" is inserted as it stands, never expanded again.
  EXPECT_EQ(FormatText(L"[%s]", L"%s"), L"[%s]");
}

TEST(WideText, CaseFolding) {
  EXPECT_TRUE(EqualsNoCase(L"QuorvelA4-300", L"quorvela4-300"));
  EXPECT_FALSE(EqualsNoCase(L"COM1:", L"COM1"));
  EXPECT_EQ(ToLowerUnits(L"ABC-Ä"), L"abc-ä");
  EXPECT_TRUE(EqualsNoCaseAscii("Text", "tEXT"));
}
