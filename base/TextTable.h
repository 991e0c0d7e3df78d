// The text table of the current language: text ids ("tip.startcopyfile") and their texts,
// merged from language files. The toolkit resolves its controls' texts through it and the
// workers their log lines.
//
// Threads: Load and Reload on the UI thread; GetText from any thread. The table is an
// immutable snapshot replaced as a whole, so a reader always sees one complete table and
// never a string that is being replaced.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <shared_mutex>
#include <span>
#include <string>
#include <string_view>

class IQueryControlText {
 public:
  virtual ~IQueryControlText() = default;
  // The text of an id the table lacks, or nothing.
  virtual std::optional<std::wstring> QueryControlText(std::wstring_view id) = 0;
};

class TextTable {
 public:
  // Lives until the process ends; worker threads may read texts during shut-down.
  static TextTable& Instance();

  // Merges the Text elements (id, value) of a language file's XML into the table; later
  // equal ids win. False, and the table unchanged, when the XML cannot be read.
  bool Load(std::span<const uint8_t> xml);
  // Null id: empty text. Known id: its text. Otherwise the callback's answer, or the id.
  std::wstring GetText(const wchar_t* id) const;

  void SetQueryCallback(IQueryControlText* callback);
  // Asks the callback again for the ids of the table.
  void Reload();

 private:
  using Table = std::map<std::wstring, std::wstring, std::less<>>;
  TextTable() = default;

  mutable std::mutex lock_;
  std::shared_ptr<const Table> texts_ = std::make_shared<Table>();
  mutable std::shared_mutex callbackLock_;
  IQueryControlText* callback_ = nullptr;
};

// Shorthand for TextTable::Instance().GetText.
std::wstring GetText(const wchar_t* id);
inline std::wstring GetText(const std::wstring& id) {
  return GetText(id.c_str());
}
