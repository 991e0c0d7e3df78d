// Images of the skin by name, decoded once and shared. A display scale other than 100
// looks for the variant with "@" and the scale before the extension first
// ("main/shadow@125.png"), then for the plain name. A name that res.xml lists as an image
// id stands for its path. A missing or undecodable image is remembered as missing.
//
// Threads: UI thread only.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "ui/core/Image.h"

namespace ui {

struct LoadedImage {
  std::shared_ptr<const Image> image;
  int variantScale = 100;  // the scale the pixels were made for: 100 for the plain file
  explicit operator bool() const { return image != nullptr; }
};

class ImageCache {
 public:
  static ImageCache& Instance();
  LoadedImage Get(std::wstring_view name, int scalePercent);
  void Clear();

 private:
  ImageCache() = default;
  std::map<std::wstring, LoadedImage, std::less<>> images_;
  uint64_t generation_ = 0;
};

}  // namespace ui
