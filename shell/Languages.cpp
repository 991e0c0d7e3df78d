#include "shell/Languages.h"

#include <atomic>

namespace {
std::atomic<uint16_t> messageLanguageId{0x0409};
}

LanguageTable& ProcessLanguageTable() {
  // Never destroyed, like the wizard context that refers to it: workers may read it late.
  static auto* const table = new LanguageTable();
  return *table;
}

std::atomic<uint16_t>& ProcessLanguageId() {
  static auto* const id = new std::atomic<uint16_t>(0);
  return *id;
}

void FillLanguageTable(LanguageTable& table) {
  const LanguageEntry rows[] = {
      {L"0", L"lan.cn", 2052, L"cn", L"lan_cn.xml", 14}, {L"1", L"lan.en", 1033, L"en", L"lan_en.xml", 14},
      {L"2", L"lan.es", 1034, L"es", L"lan_es.xml", 14}, {L"3", L"lan.ja", 1041, L"ja", L"lan_ja.xml", 14},
      {L"4", L"lan.ko", 1042, L"ko", L"lan_ko.xml", 18}, {L"5", L"lan.pt", 2070, L"pt", L"lan_pt.xml", 14},
      {L"6", L"lan.th", 1054, L"th", L"lan_th.xml", 20},
  };
  for (const auto& row : rows) table.emplace(row.languageId, row);
}

LanguageEntry LanguageById(uint16_t languageId) {
  const auto& table = ProcessLanguageTable();
  LanguageEntry entry;
  if (auto it = table.find(languageId); it != table.end()) {
    entry = it->second;
  } else if (auto en = table.find(kLanguageEnglish); en != table.end()) {
    entry = en->second;
  }
  return entry;
}

LanguageEntry ChooseStartLanguage() {
  const uint16_t system = UserDefaultUILanguage();
  const auto& table = ProcessLanguageTable();
  // Exact identifiers only: Chinese (Taiwan) or Portuguese (Brazil) start in English.
  const LanguageEntry entry = LanguageById(table.count(system) ? system : kLanguageEnglish);
  ProcessLanguageId() = entry.languageId;
  return entry;
}

LanguageEntry CurrentLanguage() {
  return LanguageById(ProcessLanguageId());
}

uint16_t MessageLanguageId() {
  return messageLanguageId.load();
}

void SetMessageLanguageId(uint16_t languageId) {
  messageLanguageId.store(languageId);
}

uint16_t LanguageIdFromLocale(std::string_view locale) {
  // "ll_CC.codeset@modifier": compare language and country only.
  const auto cut = locale.find_first_of(".@");
  const std::string_view name = locale.substr(0, cut);
  const std::string_view language = name.substr(0, name.find('_'));
  if (name == "zh_CN") return 2052;
  if (name == "es_MX") return 2058;
  if (name == "pt_BR") return 1046;
  if (name == "es_ES" || name == "es") return 1034;
  if (name == "pt_PT" || name == "pt") return 2070;
  if (language == "en") return 1033;
  if (language == "ja") return 1041;
  if (language == "ko") return 1042;
  if (language == "th") return 1054;
  return 1033;
}
