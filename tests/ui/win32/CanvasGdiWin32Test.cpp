// The GDI canvas drawing into a DIB, read back pixel by pixel: extents, blending, clips,
// premultiplied images, and text of several scripts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "ui/win32/CanvasGdi.h"

namespace {

constexpr ui::Argb kBlack = 0xFF000000;
constexpr uint32_t kWhite = 0xFFFFFF;

class Win32HostCanvasTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(surface.Reserve({120, 80}));
    surface.Fill({0, 0, surface.Width(), surface.Height()}, 0xFFFFFFFF);
  }

  uint32_t Rgb(int x, int y) {
    GdiFlush();
    return surface.Pixel(x, y) & 0xFFFFFF;
  }
  static int Red(uint32_t rgb) { return static_cast<int>((rgb >> 16) & 0xFF); }
  static int Green(uint32_t rgb) { return static_cast<int>((rgb >> 8) & 0xFF); }
  static int Blue(uint32_t rgb) { return static_cast<int>(rgb & 0xFF); }
  static bool Near(int value, int expected) { return std::abs(value - expected) <= 3; }

  int InkInside(const ui::Rect& rect) {
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
      for (int x = rect.left; x < rect.right; ++x) count += Rgb(x, y) != kWhite ? 1 : 0;
    return count;
  }
  int InkOutside(const ui::Rect& rect) {
    return InkInside({0, 0, surface.Width(), surface.Height()}) - InkInside(rect);
  }
  int Darkest(const ui::Rect& rect) {
    int darkest = 255;
    for (int y = rect.top; y < rect.bottom; ++y)
      for (int x = rect.left; x < rect.right; ++x) darkest = std::min(darkest, Green(Rgb(x, y)));
    return darkest;
  }

  ui::DibSurface surface;
  ui::FontCacheGdi fonts;
  ui::CanvasGdi canvas{surface, fonts};
};

// ---- shapes ---------------------------------------------------------------------------

TEST_F(Win32HostCanvasTest, FillsCoverExactlyTheirRectangleAndBlend) {
  canvas.FillRect({10, 10, 20, 15}, 0xFF0000FF);
  EXPECT_EQ(Rgb(10, 10), 0x0000FFu);
  EXPECT_EQ(Rgb(19, 14), 0x0000FFu);
  EXPECT_EQ(Rgb(20, 10), kWhite);
  EXPECT_EQ(Rgb(10, 15), kWhite);

  canvas.FillRect({30, 0, 40, 10}, 0xFFFF0000);
  canvas.FillRect({30, 0, 50, 10}, 0x800000FF);
  const uint32_t overRed = Rgb(35, 5), overWhite = Rgb(45, 5);
  EXPECT_TRUE(Near(Red(overRed), 127) && Green(overRed) == 0 && Near(Blue(overRed), 128)) << std::hex << overRed;
  EXPECT_TRUE(Near(Red(overWhite), 127) && Near(Green(overWhite), 127) && Blue(overWhite) == 255) << overWhite;

  canvas.FillRect({30, 30, 40, 40}, 0x00000000);  // transparent: nothing
  canvas.DrawLine({30, 35}, {40, 35}, 0x00FF0000, 2);
  EXPECT_EQ(InkInside({30, 30, 40, 40}), 0);
}

TEST_F(Win32HostCanvasTest, RoundRectsKeepTheirCornersAndEdges) {
  canvas.FillRoundRect({10, 10, 50, 40}, 8, kBlack);
  EXPECT_EQ(Rgb(10, 10), kWhite);
  EXPECT_EQ(Rgb(30, 25), 0u);
  EXPECT_EQ(Rgb(49, 25), 0u);  // the last column and row are filled
  EXPECT_EQ(Rgb(30, 39), 0u);
  EXPECT_EQ(Rgb(50, 25), kWhite);
  EXPECT_EQ(Rgb(30, 40), kWhite);

  canvas.DrawRoundRect({60, 10, 100, 40}, 6, kBlack, 1);
  EXPECT_EQ(Rgb(80, 10), 0u);
  EXPECT_EQ(Rgb(80, 39), 0u);
  EXPECT_EQ(Rgb(60, 25), 0u);
  EXPECT_EQ(Rgb(99, 25), 0u);
  EXPECT_EQ(Rgb(80, 25), kWhite);
  EXPECT_EQ(Rgb(100, 25), kWhite);
  EXPECT_EQ(Rgb(60, 10), kWhite);

  canvas.FillRoundRect({10, 50, 50, 75}, 8, 0x80000000);
  EXPECT_EQ(Rgb(10, 50), kWhite);
  EXPECT_TRUE(Near(Green(Rgb(30, 62)), 127));
}

TEST_F(Win32HostCanvasTest, FramesLieInsideWithOneEvenToneAndLinesHaveTheirWidth) {
  canvas.DrawRect({10, 10, 30, 30}, kBlack, 2);
  EXPECT_EQ(Rgb(10, 20), 0u);
  EXPECT_EQ(Rgb(11, 20), 0u);
  EXPECT_EQ(Rgb(12, 20), kWhite);
  EXPECT_EQ(Rgb(29, 20), 0u);
  EXPECT_EQ(Rgb(20, 29), 0u);
  EXPECT_EQ(Rgb(30, 20), kWhite);

  canvas.DrawRect({40, 10, 60, 30}, 0x80000000, 3);
  EXPECT_EQ(Rgb(40, 10), Rgb(50, 10));  // corners are not blended twice
  EXPECT_EQ(Rgb(59, 29), Rgb(59, 20));
  EXPECT_EQ(Rgb(50, 20), kWhite);

  canvas.DrawLine({10, 50}, {50, 50}, kBlack, 1);
  EXPECT_EQ(Rgb(30, 50), 0u);
  EXPECT_EQ(Rgb(30, 49), kWhite);
  EXPECT_EQ(Rgb(30, 51), kWhite);
  canvas.DrawLine({10, 65}, {50, 65}, 0x80000000, 3);
  EXPECT_TRUE(Near(Green(Rgb(30, 65)), 127));
  EXPECT_EQ(Rgb(30, 70), kWhite);
}

TEST_F(Win32HostCanvasTest, ClipsNestAndPopBack) {
  canvas.PushClip({0, 0, 20, 20});
  canvas.FillRect({10, 10, 30, 30}, kBlack);
  canvas.PushClip({15, 0, 40, 40});
  canvas.FillRect({0, 0, 40, 40}, 0xFFFF0000);
  canvas.PopClip();
  canvas.FillRect({30, 30, 40, 40}, 0x80000000);  // translucent: blended under the clip too
  canvas.PopClip();
  canvas.PopClip();  // one too many: harmless
  EXPECT_EQ(Rgb(12, 12), 0u);
  EXPECT_EQ(Rgb(17, 17), 0xFF0000u);
  EXPECT_EQ(Rgb(25, 25), kWhite);
  EXPECT_EQ(Rgb(35, 35), kWhite);
  canvas.FillRect({25, 25, 30, 30}, kBlack);
  EXPECT_EQ(Rgb(27, 27), 0u);
}

// ---- images ---------------------------------------------------------------------------

ui::Image TwoByTwo() {
  ui::Image image;
  image.width = image.height = 2;
  // Opaque red, half-transparent red (premultiplied), transparent, opaque green.
  image.frames.push_back({{0xFFFF0000, 0x80800000, 0x00000000, 0xFF00FF00}, 0});
  return image;
}

TEST_F(Win32HostCanvasTest, ImagesBlendPremultipliedOverWhiteScaleAndStayOnTheImage) {
  const ui::Image image = TwoByTwo();
  canvas.DrawImage(image, 0, {0, 0, 2, 2}, {10, 10, 18, 18});
  EXPECT_EQ(Rgb(11, 11), 0xFF0000u);
  const uint32_t half = Rgb(15, 11);
  EXPECT_TRUE(Red(half) == 255 && Near(Green(half), 127) && Near(Blue(half), 127)) << std::hex << half;
  EXPECT_EQ(Rgb(11, 15), kWhite);
  EXPECT_EQ(Rgb(17, 17), 0x00FF00u);
  EXPECT_EQ(Rgb(18, 18), kWhite);

  canvas.DrawImage(image, 0, {0, 0, 1, 1}, {30, 10, 34, 14}, 128);  // overall opacity
  const uint32_t faded = Rgb(32, 12);
  EXPECT_TRUE(Red(faded) == 255 && Near(Green(faded), 127)) << std::hex << faded;

  canvas.DrawImage(image, 0, {0, 0, 4, 4}, {50, 10, 58, 18});  // scale 2: the image covers 50..54
  EXPECT_EQ(Rgb(51, 11), 0xFF0000u);
  EXPECT_EQ(Rgb(53, 13), 0x00FF00u);
  EXPECT_EQ(Rgb(55, 15), kWhite);
  canvas.DrawImage(image, 1, {0, 0, 2, 2}, {30, 30, 40, 40});
  EXPECT_EQ(InkInside({30, 30, 40, 40}), 0);
}

// ---- text -----------------------------------------------------------------------------

TEST_F(Win32HostCanvasTest, TextOfSeveralScriptsDrawsInsideItsRectangle) {
  const ui::Rect latin{5, 2, 50, 26}, chinese{5, 28, 115, 52}, thai{5, 54, 115, 80};
  canvas.DrawText(L"Hello & Next, far wider than its box", latin, {L"Tahoma", 16}, kBlack,
                  ui::kTextVCenter | ui::kTextSingleLine | ui::kTextEndEllipsis);
  canvas.DrawText(L"简体中文 安装", chinese, {L"宋体", 16}, kBlack, ui::kTextCenter | ui::kTextSingleLine);
  canvas.DrawText(L"ภาษาไทย ติดตั้ง", thai, {L"Tahoma", 20, true}, kBlack, ui::kTextSingleLine);
  EXPECT_GT(InkInside(latin), 20);
  EXPECT_GT(InkInside(chinese), 20);
  EXPECT_GT(InkInside(thai), 20);
  EXPECT_EQ(InkOutside(latin.Union(chinese).Union(thai)), 0);
}

TEST_F(Win32HostCanvasTest, TranslucentTextIsLighter) {
  canvas.DrawText(L"Solid", {5, 5, 115, 35}, {L"Tahoma", 20, true}, kBlack, ui::kTextSingleLine);
  canvas.DrawText(L"Solid", {5, 40, 115, 70}, {L"Tahoma", 20, true}, 0x60000000, ui::kTextSingleLine);
  EXPECT_GT(InkInside({5, 40, 115, 70}), 20);
  EXPECT_LT(Darkest({5, 5, 115, 35}), 40);
  EXPECT_GT(Darkest({5, 40, 115, 70}), 120);
}

TEST_F(Win32HostCanvasTest, WrappedTextIsPlacedVerticallyByTheFormat) {
  const ui::FontSpec font{L"Tahoma", 12};
  canvas.DrawText(L"one\ntwo", {0, 0, 60, 80}, font, kBlack, ui::kTextVCenter | ui::kTextWordBreak);
  EXPECT_EQ(InkInside({0, 0, 60, 20}), 0);
  EXPECT_GT(InkInside({0, 20, 60, 60}), 0);
  EXPECT_EQ(InkInside({0, 60, 60, 80}), 0);
  canvas.DrawText(L"one\ntwo", {60, 0, 120, 80}, font, kBlack, ui::kTextBottom | ui::kTextWordBreak);
  EXPECT_EQ(InkInside({60, 0, 120, 40}), 0);
  EXPECT_GT(InkInside({60, 40, 120, 80}), 0);
}

TEST_F(Win32HostCanvasTest, MeasureGrowsWithTheTextAndWrapsAtTheWidth) {
  const ui::FontSpec font{L"Tahoma", 14};
  const ui::Size one = canvas.MeasureText(L"a", font, 0, ui::kTextSingleLine);
  const ui::Size four = canvas.MeasureText(L"aaaa", font, 0, ui::kTextSingleLine);
  EXPECT_GT(one.cx, 0);
  EXPECT_GT(four.cx, 3 * one.cx);
  EXPECT_EQ(one.cy, four.cy);
  EXPECT_GT(canvas.MeasureText(L"ภาษาไทย", font, 0, ui::kTextSingleLine).cx, 0);
  EXPECT_GT(canvas.MeasureText(L"简体中文", {L"宋体", 14}, 0, ui::kTextSingleLine).cx, 0);

  const ui::Size wrapped = canvas.MeasureText(L"words that wrap onto several lines", font, 60, ui::kTextWordBreak);
  EXPECT_LE(wrapped.cx, 60);
  EXPECT_GE(wrapped.cy, 3 * one.cy);
  EXPECT_EQ(canvas.MeasureText(L"", font, 0, ui::kTextSingleLine).cx, 0);
}

TEST_F(Win32HostCanvasTest, CaretOffsetsMatchThePrefixWidthsAndKeepSurrogatePairsWhole) {
  const ui::FontSpec font{L"Tahoma", 14};
  const std::wstring text = L"COM1: ab\U0001F600c";  // a surrogate pair in UTF-16
  const std::vector<int> offsets = canvas.CaretOffsets(text, font);
  ASSERT_EQ(offsets.size(), text.size() + 1);
  EXPECT_EQ(offsets.front(), 0);
  for (size_t i = 1; i <= 8; ++i) {
    EXPECT_EQ(offsets[i], canvas.MeasureText(std::wstring_view(text).substr(0, i), font, 0, ui::kTextSingleLine).cx)
        << i;
  }
  EXPECT_EQ(offsets[9], offsets[8]);  // inside the pair
  EXPECT_GT(offsets[10], offsets[8]);
  EXPECT_GT(offsets[11], offsets[10]);
  EXPECT_EQ(canvas.CaretOffsets(L"", font), std::vector<int>{0});
}

}  // namespace
