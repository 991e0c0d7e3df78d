// Loading a language's texts: its language file of the resource package, then its
// extension file ("lan_en.xml", then "lan_en_ext.xml"), which holds the texts of features
// that came after the language files; an extension text of the same id wins. Every place
// that loads a language (the main window at start-up, the language chooser, the console
// program) goes through here.
//
// Threads: the UI thread (or the console program's only thread); the table it fills is
// read from any thread (base/TextTable.h).
#pragma once

#include <string>
#include <string_view>

#include "shell/LanguageEntry.h"

// "lan_en.xml" -> "lan_en_ext.xml"; a name without ".xml" gets "_ext.xml" appended.
std::wstring ExtensionFileName(std::wstring_view languageFile);

// Merges the language file and then its extension file into the text table. False when
// the language file cannot be read; a missing or unreadable extension file costs only its
// own texts (their ids then show as they are) and is reported on stderr.
bool LoadLanguageTexts(const LanguageEntry& language);
