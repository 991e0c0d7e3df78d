#include "ui/core/ImageCache.h"

#include "base/WideText.h"
#include "ui/core/ResourceManager.h"
#include "ui/core/SkinFiles.h"

namespace ui {

namespace {

std::shared_ptr<const Image> Load(const std::wstring& path) {
  auto bytes = SkinFiles::Read(WideToUtf8(path));
  if (!bytes) return nullptr;
  return DecodeImage(*bytes);
}

std::wstring VariantName(const std::wstring& path, int scalePercent) {
  const size_t slash = path.find_last_of(L"/\\");
  const size_t dot = path.rfind(L'.');
  const std::wstring suffix = L"@" + std::to_wstring(scalePercent);
  if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) return path + suffix;
  return path.substr(0, dot) + suffix + path.substr(dot);
}

}  // namespace

ImageCache& ImageCache::Instance() {
  static auto* cache = new ImageCache();
  return *cache;
}

LoadedImage ImageCache::Get(std::wstring_view name, int scalePercent) {
  if (name.empty()) return {};
  if (const uint64_t generation = SkinFiles::Generation(); generation != generation_) {
    images_.clear();
    generation_ = generation;
  }
  std::wstring key = std::wstring(name) + L"|" + std::to_wstring(scalePercent);
  if (auto it = images_.find(key); it != images_.end()) return it->second;

  std::wstring path = ResourceManager::Instance().ImageFileOf(name);
  if (path.empty()) path = std::wstring(name);
  LoadedImage loaded;
  if (scalePercent != 100) {
    loaded.image = Load(VariantName(path, scalePercent));
    loaded.variantScale = scalePercent;
  }
  if (!loaded.image) {
    loaded.image = Load(path);
    loaded.variantScale = 100;
  }
  images_.emplace(std::move(key), loaded);
  return loaded;
}

void ImageCache::Clear() {
  images_.clear();
}

}  // namespace ui
