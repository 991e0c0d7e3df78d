// The drawn images of resources/ (scripts/make-images.py), read by the toolkit's decoder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ui/core/Image.h"

namespace {

const std::string kResources = std::string(QUORVEL_SOURCE_DIR) + "/resources/";

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::shared_ptr<const ui::Image> Load(const std::string& name) {
  const auto bytes = ReadBytes(kResources + name);
  return bytes.empty() ? nullptr : ui::DecodeImage(bytes);
}

std::string Variant(const std::string& name, int percent) {
  if (percent == 100) return name;
  const auto dot = name.rfind('.');
  return name.substr(0, dot) + "@" + std::to_string(percent) + name.substr(dot);
}

uint32_t Alpha(uint32_t pixel) {
  return pixel >> 24;
}

uint32_t PixelAt(const ui::Image& image, int x, int y, int frame = 0) {
  return image.frames[frame].pixels[static_cast<size_t>(y) * image.width + x];
}

TEST(ResourceImages, EveryScaledImageDecodesAtItsOwnSize) {
  struct Family {
    std::vector<std::string> names;
    int width;
    int height;
  };
  const std::vector<Family> families = {
      {{"common/check_normal.png", "common/check_hot.png", "common/check_selected.png", "common/check_disabled.png",
        "common/radio_normal.png", "common/radio_hot.png", "common/radio_selected.png", "common/radio_disabled.png",
        "main/search.png"},
       16,
       16},
      {{"main/shadow.png"}, 24, 24},
      {{"scrollbar.bmp"}, 23 * 16, 16},
  };
  std::vector<std::string> buttons;
  for (const char* button : {"lang", "about", "min", "close", "menu"})
    for (const char* state : {"normal", "hot", "pushed"})
      buttons.push_back(std::string("sysbtn/") + button + "_" + state + ".png");

  const auto check = [](const std::string& name, int width, int height) {
    for (const int percent : {100, 125, 150, 175, 200}) {
      const std::string file = Variant(name, percent);
      const auto image = Load(file);
      ASSERT_NE(image, nullptr) << file;
      // Drawn again at each scale, never the plain image under another name.
      EXPECT_EQ(image->width, width * percent / 100) << file;
      EXPECT_EQ(image->height, height * percent / 100) << file;
      EXPECT_EQ(image->frames.size(), 1u) << file;
    }
  };
  for (const auto& family : families)
    for (const auto& name : family.names) check(name, family.width, family.height);
  for (const auto& name : buttons) check(name, 28, 28);
}

TEST(ResourceImages, ImagesThatTheIndexNamesExist) {
  for (const char* name : {"sysbtn/menu_normal.png", "sysbtn/menu_hot.png", "sysbtn/menu_pushed.png"}) {
    EXPECT_NE(Load(name), nullptr) << name;
  }
}

TEST(ResourceImages, BusyAnimationsMoveAndLoop) {
  struct Expected {
    const char* name;
    int width, height;
    size_t frames;
    int delayMs;
  };
  for (const auto& e : {Expected{"other/loading.gif", 32, 32, 12, 80}, Expected{"other/loading2.gif", 40, 40, 8, 100},
                        Expected{"other/loading3.gif", 48, 16, 12, 80}}) {
    const auto image = Load(e.name);
    ASSERT_NE(image, nullptr) << e.name;
    EXPECT_EQ(image->width, e.width) << e.name;
    EXPECT_EQ(image->height, e.height) << e.name;
    ASSERT_EQ(image->frames.size(), e.frames) << e.name;
    for (size_t f = 0; f < e.frames; ++f) {
      EXPECT_EQ(image->frames[f].delayMs, e.delayMs) << e.name;
      const size_t next = (f + 1) % e.frames;
      EXPECT_NE(image->frames[f].pixels, image->frames[next].pixels) << e.name << " frame " << f;
    }
    // On white: the corner is background, some pixel carries the accent colour.
    const uint32_t corner = PixelAt(*image, 0, 0);
    EXPECT_EQ(corner, 0xFFFFFFFFu) << e.name;
    bool accent = false;
    for (uint32_t pixel : image->frames[0].pixels) accent = accent || pixel == 0xFF1E6FD9u;
    EXPECT_TRUE(accent) << e.name;
  }
}

TEST(ResourceImages, ShadowIsClearInsideAndFadesOutwards) {
  for (const int percent : {100, 125, 150, 175, 200}) {
    const auto shadow = Load(Variant("main/shadow.png", percent));
    ASSERT_NE(shadow, nullptr);
    const int size = shadow->width;
    const int band = (6 * percent + 50) / 100;
    const int middle = size / 2;
    EXPECT_EQ(Alpha(PixelAt(*shadow, middle, middle)), 0u) << percent;  // under the window
    EXPECT_LE(Alpha(PixelAt(*shadow, 0, middle)), 2u) << percent;       // next to nothing at the edge
    EXPECT_EQ(Alpha(PixelAt(*shadow, 0, 0)), 0u) << percent;
    uint32_t previous = 0;
    for (int x = 0; x < band; ++x) {  // darker towards the window
      const uint32_t alpha = Alpha(PixelAt(*shadow, x, middle));
      EXPECT_GE(alpha, previous) << percent << " x " << x;
      previous = alpha;
    }
    EXPECT_GT(previous, 40u) << percent;
  }
}

TEST(ResourceImages, CaptionButtonsSitOnTheAccentBar) {
  // Normal buttons are bare white glyphs: transparent round them, white in the middle.
  for (const char* name : {"min", "close", "menu"}) {
    const auto normal = Load(std::string("sysbtn/") + name + "_normal.png");
    ASSERT_NE(normal, nullptr);
    EXPECT_EQ(Alpha(PixelAt(*normal, 2, 2)), 0u) << name;
    EXPECT_EQ(PixelAt(*normal, 14, 14), 0xFFFFFFFFu) << name;
  }
  // Closing turns red under the mouse; the others only lighten.
  const auto closeHot = Load("sysbtn/close_hot.png");
  ASSERT_NE(closeHot, nullptr);
  EXPECT_EQ(PixelAt(*closeHot, 4, 14), 0xFFE81123u);
  const auto minHot = Load("sysbtn/min_hot.png");
  ASSERT_NE(minHot, nullptr);
  EXPECT_GT(Alpha(PixelAt(*minHot, 4, 4)), 0u);
  EXPECT_LT(Alpha(PixelAt(*minHot, 4, 4)), 255u);
}

TEST(ResourceImages, CommittedImagesAreWhatTheScriptDraws) {
  const std::filesystem::path out = std::filesystem::path(testing::TempDir()) / "quorvel-images";
  std::filesystem::remove_all(out);
  const std::string command = "python3 \"" + std::string(QUORVEL_SOURCE_DIR) + "/scripts/make-images.py\" --out \"" +
                              out.string() + "\" > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  int compared = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(out)) {
    if (!entry.is_regular_file()) continue;
    const auto relative = std::filesystem::relative(entry.path(), out).string();
    EXPECT_EQ(ReadBytes(entry.path().string()), ReadBytes(kResources + relative))
        << relative << " differs: run scripts/make-images.py and keep its output";
    ++compared;
  }
  EXPECT_EQ(compared, 133);
  std::filesystem::remove_all(out);
}

}  // namespace
