#include <cstdlib>

#include "shell/Languages.h"
#include "simulated/SimulatedMachine.h"

uint16_t UserDefaultUILanguage() {
  // The simulated machine's configured language wins; else the process locale, read in
  // the order the C library itself uses.
  if (auto configured = SimulatedMachine::ConfiguredUiLanguage()) return *configured;
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return LanguageIdFromLocale(value);
  }
  return 1033;
}
