#include "ui/ResourceManager.h"

#include <pugixml.hpp>

#include "shell/WideText.h"

namespace ui {

namespace {

bool NameIs(const char* name, std::string_view wanted) { return EqualsNoCaseAscii(name, wanted); }

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
  std::lock_guard guard(lock_);
  package_ = std::move(package);
  ++packageGeneration_;
}

uint64_t ResourceManager::PackageGeneration() const {
  std::lock_guard guard(lock_);
  return packageGeneration_;
}

std::shared_ptr<ResourcePackage> ResourceManager::Package() const {
  std::lock_guard guard(lock_);
  return package_;
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
  pugi::xml_document doc;
  pugi::xml_parse_result parsed;
  if (!source.empty() && source.front() == L'<') {
    const std::string text = WideToUtf8(source);
    parsed = doc.load_buffer(text.data(), text.size());
  } else {
    auto bytes = ReadFile(WideToUtf8(source));
    if (!bytes) return false;
    parsed = doc.load_buffer(bytes->data(), bytes->size());
  }
  if (!parsed) return false;

  std::shared_ptr<const TextTable> current;
  {
    std::lock_guard guard(lock_);
    current = texts_;
  }
  auto next = std::make_shared<TextTable>(*current);
  for (const auto& node : doc.document_element().children()) {
    if (node.type() != pugi::node_element || !NameIs(node.name(), "Text")) continue;
    const char* id = AttributeNoCase(node, "id");
    const char* value = AttributeNoCase(node, "value");
    if (!id || !value) continue;
    (*next)[Utf8ToWide(id)] = Utf8ToWide(value);
  }
  std::lock_guard guard(lock_);
  texts_ = std::move(next);
  return true;
}

std::wstring ResourceManager::GetText(const wchar_t* id) const {
  if (id == nullptr) return {};
  std::shared_ptr<const TextTable> table;
  {
    std::lock_guard guard(lock_);
    table = texts_;
  }
  const std::wstring_view key(id);
  if (auto it = table->find(key); it != table->end()) return it->second;
  {
    std::shared_lock guard(callbackLock_);
    if (callback_) {
      if (auto answer = callback_->QueryControlText(key)) return *answer;
    }
  }
  return std::wstring(key);
}

void ResourceManager::SetTextQueryCallback(IQueryControlText* callback) {
  std::unique_lock guard(callbackLock_);
  callback_ = callback;
}

void ResourceManager::ReloadTexts() {
  std::shared_ptr<const TextTable> table;
  {
    std::lock_guard guard(lock_);
    table = texts_;
  }
  auto next = std::make_shared<TextTable>(*table);
  bool changed = false;
  {
    std::shared_lock guard(callbackLock_);
    if (!callback_) return;
    for (auto& [id, text] : *next) {
      if (auto answer = callback_->QueryControlText(id)) {
        text = *answer;
        changed = true;
      }
    }
  }
  if (!changed) return;
  std::lock_guard guard(lock_);
  texts_ = std::move(next);
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
  std::lock_guard guard(lock_);
  package_.reset();
  ++packageGeneration_;
  layouts_.clear();
  images_.clear();
}

std::wstring GetText(const wchar_t* id) { return ResourceManager::Instance().GetText(id); }

}  // namespace ui
