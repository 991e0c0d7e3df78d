#include "base/TextTable.h"

#include <pugixml.hpp>

#include "base/WideText.h"

namespace {

const char* AttributeNoCase(const pugi::xml_node& node, std::string_view name) {
  for (const auto& attribute : node.attributes()) {
    if (EqualsNoCaseAscii(attribute.name(), name)) return attribute.value();
  }
  return nullptr;
}

}  // namespace

TextTable& TextTable::Instance() {
  static auto* const table = new TextTable();
  return *table;
}

bool TextTable::Load(std::span<const uint8_t> xml) {
  pugi::xml_document doc;
  if (!doc.load_buffer(xml.data(), xml.size())) return false;
  std::shared_ptr<const Table> current;
  {
    std::lock_guard guard(lock_);
    current = texts_;
  }
  auto next = std::make_shared<Table>(*current);
  for (const auto& node : doc.document_element().children()) {
    if (node.type() != pugi::node_element || !EqualsNoCaseAscii(node.name(), "Text")) continue;
    const char* id = AttributeNoCase(node, "id");
    const char* value = AttributeNoCase(node, "value");
    if (!id || !value) continue;
    (*next)[Utf8ToWide(id)] = Utf8ToWide(value);
  }
  std::lock_guard guard(lock_);
  texts_ = std::move(next);
  return true;
}

std::wstring TextTable::GetText(const wchar_t* id) const {
  if (id == nullptr) return {};
  std::shared_ptr<const Table> table;
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

void TextTable::SetQueryCallback(IQueryControlText* callback) {
  std::unique_lock guard(callbackLock_);
  callback_ = callback;
}

void TextTable::Reload() {
  std::shared_ptr<const Table> table;
  {
    std::lock_guard guard(lock_);
    table = texts_;
  }
  auto next = std::make_shared<Table>(*table);
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

std::wstring GetText(const wchar_t* id) {
  return TextTable::Instance().GetText(id);
}
