// The resource package: a zip archive opened from a private copy of a memory block.
// Thread-safe: the UI thread reads layouts while the installation worker reads driver
// entries; each read takes the archive's lock for its own duration only.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class ResourcePackage {
 public:
  // Copies the block; the caller may release it afterwards. Null for an empty block
  // or bytes that are not a zip archive.
  static std::shared_ptr<ResourcePackage> OpenFromMemory(const void* data, size_t size);

  ~ResourcePackage();
  ResourcePackage(const ResourcePackage&) = delete;
  ResourcePackage& operator=(const ResourcePackage&) = delete;

  // Entry names use "/"; lookups ignore letter case.
  std::optional<uint64_t> EntrySize(std::string_view name) const;
  // The whole entry, or nothing when it is missing, larger than maxSize or damaged.
  std::optional<std::vector<uint8_t>> ReadEntry(std::string_view name, uint64_t maxSize = UINT64_MAX) const;
  std::vector<std::string> EntryNames() const;

  // The name the archive was opened under.
  static constexpr const char* kArchiveName = "membuffer";

 private:
  ResourcePackage() = default;
  struct Archive;
  std::vector<uint8_t> bytes_;
  std::unique_ptr<Archive> archive_;
  mutable std::mutex lock_;
};
