// A decoded image: premultiplied 32-bit pixels (0xAARRGGBB), one or more frames (GIF).
// Decoded once by the toolkit's own image code, shared by every canvas.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace ui {

struct ImageFrame {
  std::vector<uint32_t> pixels;  // width * height, row by row, premultiplied alpha
  int delayMs = 0;               // time to show this frame (animations)
};

struct Image {
  int width = 0;
  int height = 0;
  std::vector<ImageFrame> frames;
  bool IsAnimated() const { return frames.size() > 1; }
};

// PNG, BMP, GIF (all frames), JPEG; null when the bytes are no image.
std::shared_ptr<const Image> DecodeImage(std::span<const uint8_t> bytes);

}  // namespace ui
