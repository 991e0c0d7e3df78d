#include "simulated/PrinterInfFile.h"

#include <algorithm>

#include "base/WideText.h"

namespace {

std::wstring Trim(std::wstring_view text) {
  const auto first = text.find_first_not_of(L" \t\r\n");
  if (first == std::wstring_view::npos) return {};
  const auto last = text.find_last_not_of(L" \t\r\n");
  return std::wstring(text.substr(first, last - first + 1));
}

std::wstring Unquote(std::wstring text) {
  text = Trim(text);
  if (text.size() >= 2 && text.front() == L'"' && text.back() == L'"') text = text.substr(1, text.size() - 2);
  return text;
}

// Splits at a separator outside double quotes.
std::vector<std::wstring> SplitOutsideQuotes(std::wstring_view text, wchar_t separator, size_t maxParts = SIZE_MAX) {
  std::vector<std::wstring> parts;
  std::wstring current;
  bool quoted = false;
  for (wchar_t c : text) {
    if (c == L'"') quoted = !quoted;
    if (c == separator && !quoted && parts.size() + 1 < maxParts) {
      parts.push_back(current);
      current.clear();
      continue;
    }
    current += c;
  }
  parts.push_back(current);
  return parts;
}

std::wstring StripComment(std::wstring_view line) {
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == L'"') quoted = !quoted;
    if (line[i] == L';' && !quoted) return std::wstring(line.substr(0, i));
  }
  return std::wstring(line);
}

std::optional<std::wstring> DecodeText(const std::vector<uint8_t>& bytes) {
  if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    std::u16string units;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) units += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    std::wstring text;
    for (size_t i = 0; i < units.size(); ++i) {
      char32_t c = units[i];
      // A pair makes one character; a surrogate without its partner is no character and
      // must not swallow the unit after it.
      if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
      } else if (c >= 0xD800 && c <= 0xDFFF) {
        c = 0xFFFD;
      }
      text += static_cast<wchar_t>(c);
    }
    return text;
  }
  size_t start = bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF ? 3 : 0;
  if (std::find(bytes.begin() + static_cast<std::ptrdiff_t>(start), bytes.end(), 0) != bytes.end()) {
    return std::nullopt;  // binary
  }
  return Utf8ToWide(std::string_view(reinterpret_cast<const char*>(bytes.data()) + start, bytes.size() - start));
}

}  // namespace

std::optional<PrinterInfFile> PrinterInfFile::Parse(const std::vector<uint8_t>& bytes) {
  const auto text = DecodeText(bytes);
  if (!text) return std::nullopt;
  PrinterInfFile inf;
  std::vector<Line>* section = nullptr;
  size_t start = 0;
  while (start < text->size()) {
    size_t end = text->find(L'\n', start);
    if (end == std::wstring::npos) end = text->size();
    const std::wstring line = Trim(StripComment(std::wstring_view(*text).substr(start, end - start)));
    start = end + 1;
    if (line.empty()) continue;
    if (line.front() == L'[') {
      const auto close = line.find(L']');
      if (close == std::wstring::npos) return std::nullopt;
      section = &inf.sections_[ToLowerUnits(Trim(line.substr(1, close - 1)))];
      continue;
    }
    if (section == nullptr) continue;  // text before the first section is ignored
    Line parsed;
    const auto keyAndValue = SplitOutsideQuotes(line, L'=', 2);
    std::wstring values = keyAndValue.back();
    if (keyAndValue.size() == 2) parsed.key = Unquote(keyAndValue.front());
    for (auto& value : SplitOutsideQuotes(values, L',')) parsed.values.push_back(Unquote(value));
    section->push_back(std::move(parsed));
  }
  if (const auto* strings = inf.Section(L"Strings")) {
    for (const auto& line : *strings) {
      if (!line.key.empty() && !line.values.empty()) inf.strings_[ToLowerUnits(line.key)] = line.values.front();
    }
  }
  return inf;
}

const std::vector<PrinterInfFile::Line>* PrinterInfFile::Section(std::wstring_view name) const {
  const auto it = sections_.find(ToLowerUnits(name));
  return it == sections_.end() ? nullptr : &it->second;
}

std::wstring PrinterInfFile::Substitute(std::wstring_view text) const {
  std::wstring out;
  size_t i = 0;
  while (i < text.size()) {
    const auto open = text.find(L'%', i);
    if (open == std::wstring_view::npos) break;
    const auto close = text.find(L'%', open + 1);
    if (close == std::wstring_view::npos) break;
    out.append(text.substr(i, open - i));
    const std::wstring key = ToLowerUnits(text.substr(open + 1, close - open - 1));
    if (key.empty()) {
      out += L'%';
    } else if (auto it = strings_.find(key); it != strings_.end()) {
      out += it->second;
    } else {
      out.append(text.substr(open, close - open + 1));
    }
    i = close + 1;
  }
  out.append(text.substr(std::min(i, text.size())));
  return out;
}

std::wstring PrinterInfFile::Value(std::wstring_view section, std::wstring_view key) const {
  const auto* lines = Section(section);
  if (lines == nullptr) return {};
  for (const auto& line : *lines) {
    if (EqualsNoCase(line.key, key) && !line.values.empty()) return Substitute(line.values.front());
  }
  return {};
}

bool PrinterInfFile::IsPrinterInf() const {
  const std::wstring signature = ToLowerUnits(Value(L"Version", L"Signature"));
  return (signature == L"$windows nt$" || signature == L"$chicago$") &&
         EqualsNoCase(Value(L"Version", L"Class"), L"Printer");
}

std::wstring PrinterInfFile::Provider() const {
  return Value(L"Version", L"Provider");
}

std::wstring PrinterInfFile::DriverVer() const {
  return Value(L"Version", L"DriverVer");
}

std::optional<PrinterInfFile::Model> PrinterInfFile::FindModel(std::wstring_view modelName,
                                                               std::wstring_view decoration) const {
  const auto* manufacturers = Section(L"Manufacturer");
  if (manufacturers == nullptr) return std::nullopt;
  for (const auto& manufacturer : *manufacturers) {
    if (manufacturer.values.empty()) continue;
    // "%Maker%=Models,NTamd64": the models of this architecture are in "Models.NTamd64".
    std::wstring modelsSection = manufacturer.values.front();
    bool decorated = false;
    for (size_t i = 1; i < manufacturer.values.size(); ++i) {
      const std::wstring candidate = ToLowerUnits(manufacturer.values[i]);
      if (candidate.rfind(ToLowerUnits(decoration), 0) == 0) {
        modelsSection += L"." + manufacturer.values[i];
        decorated = true;
        break;
      }
    }
    if (!decorated && manufacturer.values.size() > 1 && !EqualsNoCase(decoration, L"NTx86")) continue;
    const auto* models = Section(modelsSection);
    if (models == nullptr) continue;
    for (const auto& line : *models) {
      if (line.values.empty() || !EqualsNoCase(Substitute(line.key), modelName)) continue;
      std::wstring install = line.values.front();
      if (Section(install + L"." + std::wstring(decoration))) install += L"." + std::wstring(decoration);
      if (Section(install) == nullptr) return std::nullopt;

      Model model;
      model.manufacturer = Substitute(manufacturer.key);
      // The four files may also stand in a data section that the install section names.
      const std::wstring dataSection = Value(install, L"DataSection");
      auto fileOf = [&](const wchar_t* key) {
        std::wstring value = Value(install, key);
        if (value.empty() && !dataSection.empty()) value = Value(dataSection, key);
        return value;
      };
      model.driverFile = fileOf(L"DriverFile");
      model.configFile = fileOf(L"ConfigFile");
      model.dataFile = fileOf(L"DataFile");
      model.helpFile = fileOf(L"HelpFile");
      for (const auto& copyLine : *Section(install)) {
        if (!EqualsNoCase(copyLine.key, L"CopyFiles")) continue;
        for (const auto& entry : copyLine.values) {
          if (!entry.empty() && entry.front() == L'@') {
            model.files.push_back(Substitute(entry.substr(1)));
            continue;
          }
          if (const auto* copySection = Section(entry)) {
            for (const auto& file : *copySection) {
              if (!file.values.empty() && !file.values.front().empty())
                model.files.push_back(Substitute(file.values.front()));
            }
          }
        }
      }
      for (const auto* main : {&model.driverFile, &model.configFile, &model.dataFile, &model.helpFile}) {
        if (main->empty()) continue;
        const bool listed = std::any_of(model.files.begin(), model.files.end(),
                                        [&](const std::wstring& file) { return EqualsNoCase(file, *main); });
        if (!listed) model.files.push_back(*main);
      }
      for (const auto& file : model.files) {
        bool main = false;
        for (const auto* name : {&model.driverFile, &model.configFile, &model.dataFile, &model.helpFile}) {
          main = main || EqualsNoCase(file, *name);
        }
        if (!main) model.dependentFiles.push_back(file);
      }
      return model;
    }
  }
  return std::nullopt;
}

std::wstring PrinterInfFile::SourceSubfolder(std::wstring_view fileName) const {
  const auto* files = Section(L"SourceDisksFiles");
  if (files == nullptr) return {};
  for (const auto& line : *files) {
    if (EqualsNoCase(line.key, fileName) && line.values.size() > 1) return Substitute(line.values[1]);
  }
  return {};
}
