#include <gtest/gtest.h>

#include <vector>

#include "shell/Languages.h"
#include "wizard/WizardContext.h"

TEST(Languages, TableWalksInLanguageIdOrderWithTheSevenRows) {
  LanguageTable table;
  FillLanguageTable(table);
  std::vector<uint16_t> order;
  for (const auto& [id, row] : table) order.push_back(id);
  EXPECT_EQ(order, (std::vector<uint16_t>{1033, 1034, 1041, 1042, 1054, 2052, 2070}));

  EXPECT_EQ(table.at(2052).id, L"0");
  EXPECT_EQ(table.at(2052).fileName, L"lan_cn.xml");
  EXPECT_EQ(table.at(1042).fontSize, 18);
  EXPECT_EQ(table.at(1054).fontSize, 20);
  EXPECT_EQ(table.at(1054).displayKey, L"lan.th");
  EXPECT_EQ(table.at(2070).code, L"pt");
  for (const auto& [id, row] : table) {
    EXPECT_EQ(row.fileName, L"lan_" + row.code + L".xml");
    if (id != 1042 && id != 1054) {
      EXPECT_EQ(row.fontSize, 14);
    }
  }
}

TEST(Languages, DefaultEntryAndLookupFallBackToEnglish) {
  const LanguageEntry blank;
  EXPECT_EQ(blank.id, L"-1");
  EXPECT_EQ(blank.languageId, 0);
  EXPECT_EQ(blank.fontSize, 14);

  auto& context = WizardContext::Instance();
  if (context.languageTable.empty()) FillLanguageTable(context.languageTable);
  EXPECT_EQ(LanguageById(1042).code, L"ko");
  EXPECT_EQ(LanguageById(1028).languageId, 1033);  // Chinese (Taiwan) is not a row

  const uint16_t saved = context.currentLanguageId;
  context.currentLanguageId = 9999;
  EXPECT_EQ(CurrentLanguage().languageId, 1033);
  context.currentLanguageId = 1054;
  EXPECT_EQ(CurrentLanguage().fontSize, 20);
  context.currentLanguageId = saved;
}

TEST(Languages, LocaleNamesMapToWindowsIdentifiers) {
  EXPECT_EQ(LanguageIdFromLocale("zh_CN.UTF-8"), 2052);
  EXPECT_EQ(LanguageIdFromLocale("zh_TW.UTF-8"), 1033);
  EXPECT_EQ(LanguageIdFromLocale("en_GB.UTF-8"), 1033);
  EXPECT_EQ(LanguageIdFromLocale("es_ES.UTF-8"), 1034);
  EXPECT_EQ(LanguageIdFromLocale("es_MX.UTF-8"), 2058);
  EXPECT_EQ(LanguageIdFromLocale("ja_JP.UTF-8"), 1041);
  EXPECT_EQ(LanguageIdFromLocale("ko_KR.UTF-8"), 1042);
  EXPECT_EQ(LanguageIdFromLocale("pt_PT.UTF-8@euro"), 2070);
  EXPECT_EQ(LanguageIdFromLocale("pt_BR.UTF-8"), 1046);
  EXPECT_EQ(LanguageIdFromLocale("th_TH.UTF-8"), 1054);
  EXPECT_EQ(LanguageIdFromLocale("C"), 1033);
  EXPECT_EQ(LanguageIdFromLocale(""), 1033);
}
