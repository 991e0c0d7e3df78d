// The applet's INF reader on text it did not expect.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "simulated/PrinterInfFile.h"

namespace {

std::vector<uint8_t> Utf16(const std::u16string& text) {
  std::vector<uint8_t> bytes{0xFF, 0xFE};
  for (char16_t unit : text) {
    bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<uint8_t>(unit >> 8));
  }
  return bytes;
}

TEST(PrinterInfFile, AnUnpairedSurrogateDoesNotSwallowTheNextCharacter) {
  // A high surrogate before "B", a low one alone, then a real pair (U+1F5A8).
  const std::u16string text =
      u"[Version]\r\nProvider=A\xD800"
      u"B\xDC00"
      u"C\xD83D\xDDA8\r\n";
  const auto inf = PrinterInfFile::Parse(Utf16(text));
  ASSERT_TRUE(inf);
  EXPECT_EQ(inf->Provider(),
            L"A\xFFFD"
            L"B\xFFFD"
            L"C\x1F5A8");

  // Cut after a high surrogate: the text still ends in one piece.
  const auto cut = PrinterInfFile::Parse(Utf16(u"[Version]\r\nProvider=Z\xD800"));
  ASSERT_TRUE(cut);
  EXPECT_EQ(cut->Provider(), L"Z\xFFFD");
}

}  // namespace
