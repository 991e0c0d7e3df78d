// The toolkit's resource manager: the open resource package, the resource index
// ("res.xml": image and layout ids) and the text table of the current language (the
// package and the table themselves are the program's, in base/).
//
// Threads: the package, the index and the language are changed on the UI thread only.
// GetText and package reads may be called from any thread. The text table is an
// immutable snapshot replaced as a whole by LoadLanguage, so a reader always sees one
// complete table and never a string that is being replaced.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <vector>

#include "base/ResourcePackage.h"
#include "base/TextTable.h"

namespace ui {

using ::IQueryControlText;

class ResourceManager {
 public:
  // Lives until the process ends; worker threads may read texts during shut-down.
  static ResourceManager& Instance();

  void SetResourcePath(std::wstring path);  // appends "\" unless it ends in "\" or "/"
  const std::wstring& ResourcePath() const { return resourcePath_; }

  void SetPackage(std::shared_ptr<ResourcePackage> package);
  std::shared_ptr<ResourcePackage> Package() const;
  // Changes whenever another package is set, so caches of its files can tell.
  uint64_t PackageGeneration() const;
  std::optional<std::vector<uint8_t>> ReadFile(std::string_view entryName) const;

  // Reads the image and layout ids from an entry of the package; false when unreadable.
  bool LoadResourceIndex(std::string_view entryName);
  std::wstring LayoutFileOf(std::wstring_view id) const;  // empty when unknown
  std::wstring ImageFileOf(std::wstring_view id) const;

  // Source beginning with "<" is XML text, otherwise an entry of the package. The pairs
  // are merged into the current table (later equal ids win); false leaves it unchanged.
  bool LoadLanguage(std::wstring_view source);
  // Null id: empty text. Known id: its text. Otherwise the query callback's answer, or
  // the id itself.
  std::wstring GetText(const wchar_t* id) const;
  std::wstring GetText(const std::wstring& id) const { return GetText(id.c_str()); }

  void SetTextQueryCallback(IQueryControlText* callback);
  // Asks the callback again for the ids of the table; it supplies none in this program.
  void ReloadTexts();
  void SetLanguageName(std::wstring code);
  std::wstring LanguageName() const;

  // Releases the package and the tables (program shut-down).
  void Terminate();

 private:
  ResourceManager() = default;

  mutable std::mutex lock_;
  std::map<std::wstring, std::wstring, std::less<>> layouts_;
  std::map<std::wstring, std::wstring, std::less<>> images_;
  std::wstring languageName_;
  std::wstring resourcePath_;
};

// The program's text lookup, also under the toolkit's name.
using ::GetText;

}  // namespace ui
