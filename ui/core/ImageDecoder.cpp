// The one translation unit that holds the image decoder's implementation.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
#define STBI_ONLY_JPEG
#include <stb_image.h>

#include <climits>

#include "ui/core/Image.h"

namespace ui {

namespace {

// RGBA bytes to premultiplied 0xAARRGGBB, the layout cairo and GDI blending expect.
std::vector<uint32_t> Premultiply(const stbi_uc* rgba, size_t count) {
  std::vector<uint32_t> pixels(count);
  for (size_t i = 0; i < count; ++i) {
    const uint32_t r = rgba[i * 4], g = rgba[i * 4 + 1], b = rgba[i * 4 + 2], a = rgba[i * 4 + 3];
    pixels[i] = (a << 24) | (((r * a + 127) / 255) << 16) | (((g * a + 127) / 255) << 8) | ((b * a + 127) / 255);
  }
  return pixels;
}

bool IsGif(std::span<const uint8_t> bytes) {
  return bytes.size() >= 6 && bytes[0] == 'G' && bytes[1] == 'I' && bytes[2] == 'F' && bytes[3] == '8';
}

}  // namespace

std::shared_ptr<const Image> DecodeImage(std::span<const uint8_t> bytes) {
  if (bytes.empty() || bytes.size() > static_cast<size_t>(INT_MAX)) return nullptr;
  const int length = static_cast<int>(bytes.size());
  auto image = std::make_shared<Image>();
  int width = 0, height = 0, channels = 0;
  if (IsGif(bytes)) {
    int* delays = nullptr;
    int frames = 0;
    stbi_uc* data = stbi_load_gif_from_memory(bytes.data(), length, &delays, &width, &height, &frames, &channels, 4);
    if (data == nullptr) return nullptr;
    const size_t perFrame = static_cast<size_t>(width) * height;
    for (int f = 0; f < frames; ++f) {
      image->frames.push_back({Premultiply(data + perFrame * 4 * f, perFrame), delays ? delays[f] : 0});
    }
    stbi_image_free(data);
    stbi_image_free(delays);
  } else {
    stbi_uc* data = stbi_load_from_memory(bytes.data(), length, &width, &height, &channels, 4);
    if (data == nullptr) return nullptr;
    image->frames.push_back({Premultiply(data, static_cast<size_t>(width) * height), 0});
    stbi_image_free(data);
  }
  if (width <= 0 || height <= 0 || image->frames.empty()) return nullptr;
  image->width = width;
  image->height = height;
  return image;
}

}  // namespace ui
