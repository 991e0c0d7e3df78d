// Where layouts and images come from: files held in memory (put there by tests and
// tools), else the resource package of the ResourceManager. Names use "/" and ignore
// letter case, as package entries do.
//
// Threads: any thread; a lock guards the memory files. The toolkit itself reads on the
// UI thread.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class SkinFiles {
 public:
  static std::optional<std::vector<uint8_t>> Read(std::string_view name);

  // Replaces every memory file; an empty map leaves the package alone as the source.
  static void SetMemoryFiles(const std::map<std::string, std::string>& files);
  static void AddMemoryFile(std::string_view name, std::string bytes);
  // Changes whenever the memory files change, so caches of parsed files can tell.
  static uint64_t Generation();
};

}  // namespace ui
