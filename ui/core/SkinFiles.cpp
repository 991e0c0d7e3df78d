#include "ui/core/SkinFiles.h"

#include <mutex>

#include "ui/core/ResourceManager.h"

namespace ui {

namespace {

struct MemoryFiles {
  std::mutex lock;
  std::map<std::string, std::string> files;  // keys in lower case
  uint64_t generation = 1;
};

MemoryFiles& Files() {
  static auto* files = new MemoryFiles();
  return *files;
}

std::string Key(std::string_view name) {
  std::string key(name);
  for (char& c : key) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c == '\\') c = '/';
  }
  return key;
}

}  // namespace

std::optional<std::vector<uint8_t>> SkinFiles::Read(std::string_view name) {
  {
    auto& memory = Files();
    std::lock_guard guard(memory.lock);
    if (auto it = memory.files.find(Key(name)); it != memory.files.end()) {
      return std::vector<uint8_t>(it->second.begin(), it->second.end());
    }
  }
  return ResourceManager::Instance().ReadFile(name);
}

void SkinFiles::SetMemoryFiles(const std::map<std::string, std::string>& files) {
  auto& memory = Files();
  std::lock_guard guard(memory.lock);
  memory.files.clear();
  for (const auto& [name, bytes] : files) memory.files[Key(name)] = bytes;
  ++memory.generation;
}

void SkinFiles::AddMemoryFile(std::string_view name, std::string bytes) {
  auto& memory = Files();
  std::lock_guard guard(memory.lock);
  memory.files[Key(name)] = std::move(bytes);
  ++memory.generation;
}

uint64_t SkinFiles::Generation() {
  auto& memory = Files();
  std::lock_guard guard(memory.lock);
  return memory.generation;
}

}  // namespace ui
