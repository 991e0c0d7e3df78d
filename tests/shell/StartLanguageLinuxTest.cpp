#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "shell/Languages.h"
#include "wizard/WizardContext.h"

namespace {

// Runs ChooseStartLanguage with the process locale set through LC_ALL.
LanguageEntry StartWithLocale(const char* locale) {
  const char* old = std::getenv("LC_ALL");
  const std::string saved = old ? old : "";
  setenv("LC_ALL", locale, 1);
  const LanguageEntry entry = ChooseStartLanguage();
  if (old) {
    setenv("LC_ALL", saved.c_str(), 1);
  } else {
    unsetenv("LC_ALL");
  }
  return entry;
}

}  // namespace

TEST(StartLanguage, ExactSystemLanguageOrEnglish) {
  auto& context = WizardContext::Instance();
  if (context.languageTable.empty()) FillLanguageTable(context.languageTable);
  const uint16_t saved = context.currentLanguageId;

  EXPECT_EQ(StartWithLocale("zh_CN.UTF-8").languageId, 2052);
  EXPECT_EQ(context.currentLanguageId, 2052);
  EXPECT_EQ(StartWithLocale("zh_CN.UTF-8").fontSize, 14);
  EXPECT_EQ(StartWithLocale("th_TH.UTF-8").fontSize, 20);
  EXPECT_EQ(StartWithLocale("ko_KR.UTF-8").fontSize, 18);
  // No matching by primary language: Spanish (Mexico) and Portuguese (Brazil) start in English.
  EXPECT_EQ(StartWithLocale("es_MX.UTF-8").languageId, 1033);
  EXPECT_EQ(StartWithLocale("pt_BR.UTF-8").languageId, 1033);
  EXPECT_EQ(context.currentLanguageId, 1033);

  context.currentLanguageId = saved;
}
