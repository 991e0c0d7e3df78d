// The language table, the start-up language and the language of system error texts.
//
// Threads: the table is filled once at start-up and only read afterwards. The current
// language and the message language are atomics: the UI thread switches them while
// workers read them for their log lines and error texts.
#pragma once

#include <atomic>
#include <cstdint>
#include <string_view>

#include "shell/LanguageEntry.h"

// The language table and the current language of the process (WizardContext refers to
// them as languageTable and currentLanguageId).
LanguageTable& ProcessLanguageTable();
std::atomic<uint16_t>& ProcessLanguageId();

// The seven rows, inserted in the order Chinese, English, Spanish, Japanese, Korean,
// Portuguese, Thai.
void FillLanguageTable(LanguageTable& table);

// Exact match of the system UI language, else English; sets currentLanguageId.
LanguageEntry ChooseStartLanguage();
// The row of currentLanguageId, else English.
LanguageEntry CurrentLanguage();
// The row of an id, else English.
LanguageEntry LanguageById(uint16_t languageId);

// The language in which system error texts are requested; initially 0x0409.
uint16_t MessageLanguageId();
void SetMessageLanguageId(uint16_t languageId);

// The system's user default UI language (the platform answers).
uint16_t UserDefaultUILanguage();
// A POSIX locale name ("zh_CN.UTF-8") as a Windows language identifier; 1033 when unknown.
uint16_t LanguageIdFromLocale(std::string_view locale);
