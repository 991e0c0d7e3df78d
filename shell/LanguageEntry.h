// One row of the language table.
#pragma once

#include <cstdint>
#include <map>
#include <string>

struct LanguageEntry {
  std::wstring id = L"-1";  // row number as text, "0" to "6"
  std::wstring displayKey;  // text id of the language's own name
  uint16_t languageId = 0;  // Windows language identifier, the table's key
  std::wstring code;        // language name handed to the toolkit
  std::wstring fileName;    // language file in the resource package
  int32_t fontSize = 14;    // default font size of the windows
};

// Ordered by languageId, so every walk runs 1033, 1034, 1041, 1042, 1054, 2052, 2070.
using LanguageTable = std::map<uint16_t, LanguageEntry>;

constexpr uint16_t kLanguageEnglish = 1033;
constexpr uint16_t kLanguageChinese = 2052;
