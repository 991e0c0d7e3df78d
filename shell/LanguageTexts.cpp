#include "shell/LanguageTexts.h"

#include <cstdio>
#include <optional>
#include <vector>

#include "base/ProgramPackage.h"
#include "base/TextTable.h"
#include "base/WideText.h"

namespace {

bool LoadEntry(const std::wstring& entryName) {
  const auto package = ProgramPackage();
  if (!package) return false;
  const std::optional<std::vector<uint8_t>> bytes = package->ReadEntry(WideToUtf8(entryName));
  return bytes && TextTable::Instance().Load(*bytes);
}

}  // namespace

std::wstring ExtensionFileName(std::wstring_view languageFile) {
  constexpr std::wstring_view kSuffix = L".xml";
  std::wstring name(languageFile);
  if (name.size() >= kSuffix.size() &&
      EqualsNoCase(std::wstring_view(name).substr(name.size() - kSuffix.size()), kSuffix)) {
    name.insert(name.size() - kSuffix.size(), L"_ext");
    return name;
  }
  return name + L"_ext.xml";
}

bool LoadLanguageTexts(const LanguageEntry& language) {
  if (!LoadEntry(language.fileName)) return false;
  const std::wstring extension = ExtensionFileName(language.fileName);
  if (!LoadEntry(extension))
    std::fprintf(stderr, "language extension file %s is unreadable\n", WideToUtf8(extension).c_str());
  return true;
}
