#include "ui/core/ResourceManager.h"

#include <pugixml.hpp>

#include "base/ProgramPackage.h"
#include "base/TextTable.h"
#include "base/WideText.h"

namespace ui {

namespace {

bool NameIs(const char* name, std::string_view wanted) {
  return EqualsNoCaseAscii(name, wanted);
}

const char* AttributeNoCase(const pugi::xml_node& node, std::string_view name) {
  for (const auto& attribute : node.attributes()) {
    if (NameIs(attribute.name(), name)) return attribute.value();
  }
  return nullptr;
}

}  // namespace

ResourceManager& ResourceManager::Instance() {
  static auto* manager = new ResourceManager();
  return *manager;
}

void ResourceManager::SetResourcePath(std::wstring path) {
  if (path.empty() || (path.back() != L'\\' && path.back() != L'/')) path += L'\\';
  resourcePath_ = std::move(path);
}

void ResourceManager::SetPackage(std::shared_ptr<ResourcePackage> package) {
  SetProgramPackage(std::move(package));
}

uint64_t ResourceManager::PackageGeneration() const {
  return ProgramPackageGeneration();
}

std::shared_ptr<ResourcePackage> ResourceManager::Package() const {
  return ProgramPackage();
}

std::optional<std::vector<uint8_t>> ResourceManager::ReadFile(std::string_view entryName) const {
  auto package = Package();
  if (!package) return std::nullopt;
  return package->ReadEntry(entryName);
}

bool ResourceManager::LoadResourceIndex(std::string_view entryName) {
  auto bytes = ReadFile(entryName);
  if (!bytes) return false;
  pugi::xml_document doc;
  if (!doc.load_buffer(bytes->data(), bytes->size())) return false;
  std::map<std::wstring, std::wstring, std::less<>> layouts, images;
  for (const auto& node : doc.document_element().children()) {
    const char* id = AttributeNoCase(node, "id");
    const char* path = AttributeNoCase(node, "path");
    if (!id || !path) continue;
    if (NameIs(node.name(), "Layout")) layouts[Utf8ToWide(id)] = Utf8ToWide(path);
    if (NameIs(node.name(), "Image")) images[Utf8ToWide(id)] = Utf8ToWide(path);
  }
  std::lock_guard guard(lock_);
  layouts_ = std::move(layouts);
  images_ = std::move(images);
  return true;
}

std::wstring ResourceManager::LayoutFileOf(std::wstring_view id) const {
  std::lock_guard guard(lock_);
  auto it = layouts_.find(id);
  return it == layouts_.end() ? std::wstring() : it->second;
}

std::wstring ResourceManager::ImageFileOf(std::wstring_view id) const {
  std::lock_guard guard(lock_);
  auto it = images_.find(id);
  return it == images_.end() ? std::wstring() : it->second;
}

bool ResourceManager::LoadLanguage(std::wstring_view source) {
  if (!source.empty() && source.front() == L'<') {
    const std::string text = WideToUtf8(source);
    return TextTable::Instance().Load({reinterpret_cast<const uint8_t*>(text.data()), text.size()});
  }
  auto bytes = ReadFile(WideToUtf8(source));
  return bytes && TextTable::Instance().Load(*bytes);
}

std::wstring ResourceManager::GetText(const wchar_t* id) const {
  return TextTable::Instance().GetText(id);
}

void ResourceManager::SetTextQueryCallback(IQueryControlText* callback) {
  TextTable::Instance().SetQueryCallback(callback);
}

void ResourceManager::ReloadTexts() {
  TextTable::Instance().Reload();
}

void ResourceManager::SetLanguageName(std::wstring code) {
  std::lock_guard guard(lock_);
  languageName_ = std::move(code);
}

std::wstring ResourceManager::LanguageName() const {
  std::lock_guard guard(lock_);
  return languageName_;
}

void ResourceManager::Terminate() {
  SetProgramPackage(nullptr);
  std::lock_guard guard(lock_);
  layouts_.clear();
  images_.clear();
}

}  // namespace ui
