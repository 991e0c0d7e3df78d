// Loading a language: its file, then its extension file, from the program's package, in
// every language of the table.
#include <gtest/gtest.h>

#include <string>

#include "base/ProgramPackage.h"
#include "base/TextTable.h"
#include "base/WideText.h"
#include "shell/EmbeddedPackage.h"
#include "shell/LanguageTexts.h"
#include "shell/Languages.h"

namespace {

constexpr const wchar_t* kExtensionIds[] = {L"protectedprint.summary", L"protectedprint.installline",
                                            L"protectedprint.console"};

class LanguageTexts : public testing::Test {
 protected:
  void SetUp() override {
    SetProgramPackage(OpenEmbeddedPackage());
    if (ProcessLanguageTable().empty()) FillLanguageTable(ProcessLanguageTable());
  }
  void TearDown() override { LoadLanguageTexts(LanguageById(kLanguageEnglish)); }
};

}  // namespace

TEST(LanguageTextsNames, TheExtensionFileSitsBesideTheLanguageFile) {
  EXPECT_EQ(ExtensionFileName(L"lan_en.xml"), L"lan_en_ext.xml");
  EXPECT_EQ(ExtensionFileName(L"LAN_CN.XML"), L"LAN_CN_ext.XML");
  EXPECT_EQ(ExtensionFileName(L"lan_th"), L"lan_th_ext.xml");
}

TEST_F(LanguageTexts, EveryLanguageGetsItsOwnExtensionTextsAndKeepsItsFile) {
  LanguageTable table;
  FillLanguageTable(table);
  ASSERT_EQ(table.size(), 7u);
  ASSERT_TRUE(LoadLanguageTexts(LanguageById(kLanguageEnglish)));
  std::wstring english[3];
  for (int i = 0; i < 3; ++i) english[i] = GetText(kExtensionIds[i]);

  for (const auto& [id, row] : table) {
    SCOPED_TRACE(WideToUtf8(row.fileName));
    ASSERT_TRUE(LoadLanguageTexts(row));
    EXPECT_NE(GetText(L"mainTitle"), L"mainTitle");
    for (int i = 0; i < 3; ++i) {
      const std::wstring text = GetText(kExtensionIds[i]);
      EXPECT_NE(text, kExtensionIds[i]) << "missing " << WideToUtf8(kExtensionIds[i]);
      if (id != kLanguageEnglish) {
        EXPECT_NE(text, english[i]) << "untranslated " << WideToUtf8(kExtensionIds[i]);
      }
    }
    // The red line and the console message name the setting's path.
    EXPECT_NE(GetText(L"protectedprint.installline").find(L" > "), std::wstring::npos);
    EXPECT_NE(GetText(L"protectedprint.console").find(L" > "), std::wstring::npos);

    // The language files themselves hold none of these texts.
    const auto bytes = ProgramPackage()->ReadEntry(WideToUtf8(row.fileName));
    ASSERT_TRUE(bytes);
    EXPECT_EQ(std::string(bytes->begin(), bytes->end()).find("protectedprint."), std::string::npos);
  }
  EXPECT_NE(GetText(L"protectedprint.summary").find(L"Windows"), std::wstring::npos);
}

TEST_F(LanguageTexts, AMissingExtensionCostsOnlyItsTextsAndAMissingFileLoadsNothing) {
  ASSERT_TRUE(LoadLanguageTexts(LanguageById(kLanguageEnglish)));
  LanguageEntry withoutExtension = LanguageById(kLanguageEnglish);
  withoutExtension.fileName = L"pop_about.xml";
  EXPECT_TRUE(LoadLanguageTexts(withoutExtension));

  LanguageEntry missing = LanguageById(kLanguageChinese);
  missing.fileName = L"lan_xx.xml";
  EXPECT_FALSE(LoadLanguageTexts(missing));
  EXPECT_EQ(GetText(L"mainTitle"), L"Printer Driver Installation Wizard") << "the table is unchanged";
}
