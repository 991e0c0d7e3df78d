#include <gtest/gtest.h>

#include <cairo.h>

#include "ui/UiTestSupport.h"
#include "ui/controls/AnimatedImage.h"
#include "ui/core/ImageCache.h"

using ImagesTest = uitest::UiTest;

namespace {

using uitest::TestWindow;
using uitest::UiTest;

// A PNG of one colour, made with cairo.
std::string SolidPng(int width, int height, double r, double g, double b, double a) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgba(cr, r, g, b, a);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_paint(cr);
  cairo_destroy(cr);
  return uitest::PngOf(surface);
}

// A 1 x 1 GIF with two frames, white then black, each shown for 100 ms.
std::string TwoFrameGif() {
  const unsigned char bytes[] = {
      'G',  'I',  'F',  '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0,              // screen, two-colour table
      0xFF, 0xFF, 0xFF, 0,   0,   0,                                        // white, black
      0x21, 0xF9, 4,    0,   10,  0,   0, 0,                                // 100 ms
      0x2C, 0,    0,    0,   0,   1,   0, 1, 0, 0, 2,    2, 0x44, 0x01, 0,  // pixel of colour 0
      0x21, 0xF9, 4,    0,   10,  0,   0, 0,                                //
      0x2C, 0,    0,    0,   0,   1,   0, 1, 0, 0, 2,    2, 0x4C, 0x01, 0,  // pixel of colour 1
      0x3B};
  return std::string(reinterpret_cast<const char*>(bytes), sizeof(bytes));
}

std::span<const uint8_t> Bytes(const std::string& text) {
  return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

TEST(UiImage, DecodesPngPremultipliedAndGifFrames) {
  const std::string png = SolidPng(3, 2, 1.0, 0.0, 0.0, 0.5);
  auto image = ui::DecodeImage(Bytes(png));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width, 3);
  EXPECT_EQ(image->height, 2);
  ASSERT_EQ(image->frames.size(), 1u);
  const uint32_t pixel = image->frames[0].pixels[0];
  EXPECT_NEAR(static_cast<int>(pixel >> 24), 128, 1);
  EXPECT_NEAR(static_cast<int>((pixel >> 16) & 0xFF), 128, 1);  // red scaled by alpha
  EXPECT_EQ(pixel & 0xFFFF, 0u);

  auto gif = ui::DecodeImage(Bytes(TwoFrameGif()));
  ASSERT_NE(gif, nullptr);
  ASSERT_TRUE(gif->IsAnimated());
  EXPECT_EQ(gif->frames[0].pixels[0], 0xFFFFFFFFu);
  EXPECT_EQ(gif->frames[1].pixels[0], 0xFF000000u);
  EXPECT_EQ(gif->frames[1].delayMs, 100);

  EXPECT_EQ(ui::DecodeImage(Bytes("not an image")), nullptr);
}

TEST_F(ImagesTest, ScaledVariantsAreChosenWithFallback) {
  ui::SkinFiles::AddMemoryFile("common/check.png", SolidPng(16, 16, 0, 0, 1, 1));
  ui::SkinFiles::AddMemoryFile("common/check@150.png", SolidPng(24, 24, 0, 0, 1, 1));
  auto& cache = ui::ImageCache::Instance();
  EXPECT_EQ(cache.Get(L"common/check.png", 150).image->width, 24);
  EXPECT_EQ(cache.Get(L"common/check.png", 150).variantScale, 150);
  EXPECT_EQ(cache.Get(L"common/check.png", 125).image->width, 16);  // no @125: the plain file
  EXPECT_EQ(cache.Get(L"common/check.png", 125).variantScale, 100);
  EXPECT_FALSE(cache.Get(L"common/missing.png", 100));
}

TEST_F(ImagesTest, AnimatedImagePlaysAndStops) {
  ui::SkinFiles::AddMemoryFile("other/loading.gif", TwoFrameGif());
  TestWindow* window = Open(
      L"<Window size='100,100'><AnimatedImage name='ani_gif_install' image='other/loading.gif' visible='false'/>"
      L"</Window>");
  auto* animation = window->FindControl<ui::AnimatedImage>(L"ani_gif_install");
  animation->SetVisible(true);
  animation->Play();
  EXPECT_TRUE(animation->IsPlaying());
  host_->AdvanceTime(100);
  EXPECT_EQ(animation->GetFrame(), 1);
  // The 1 x 1 frame shows at its own size in the middle: black now.
  EXPECT_EQ(host_->PixelAt(window->GetHWND(), {49, 49}), 0xFF000000u);
  EXPECT_EQ(host_->PixelAt(window->GetHWND(), {50, 50}), 0xFFFFFFFFu);
  host_->AdvanceTime(100);
  EXPECT_EQ(animation->GetFrame(), 0);
  animation->Stop();
  animation->SetVisible(false);
  host_->AdvanceTime(500);
  EXPECT_FALSE(animation->IsPlaying());
  EXPECT_EQ(animation->GetFrame(), 0);
  EXPECT_TRUE(host_->Window(window->GetHWND())->Timers().empty());
}

}  // namespace
