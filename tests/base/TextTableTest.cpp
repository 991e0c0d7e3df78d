#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "shell/EmbeddedPackage.h"
#include "ui/core/ResourceManager.h"

// The text table is process-wide and never emptied; each test uses ids of its own.
namespace {
ui::ResourceManager& Texts() {
  return ui::ResourceManager::Instance();
}
}  // namespace

TEST(TextTable, GetTextFallsBackToTheIdAndNullIsEmpty) {
  EXPECT_EQ(Texts().GetText(nullptr), L"");
  EXPECT_EQ(Texts().GetText(L"test.absent.id"), L"test.absent.id");

  struct Answer : ui::IQueryControlText {
    std::optional<std::wstring> QueryControlText(std::wstring_view id) override {
      if (id == L"test.query.known") return L"from callback";
      return std::nullopt;
    }
  } answer;
  Texts().SetTextQueryCallback(&answer);
  EXPECT_EQ(Texts().GetText(L"test.query.known"), L"from callback");
  EXPECT_EQ(Texts().GetText(L"test.query.unknown"), L"test.query.unknown");
  Texts().SetTextQueryCallback(nullptr);
}

TEST(TextTable, LoadLanguageMergesCaseInsensitiveNamesAndLaterDuplicatesWin) {
  ASSERT_TRUE(Texts().LoadLanguage(
      L"<res><TEXT ID=\"test.merge.a\" VALUE=\"first\"/><text id=\"test.merge.b\" value=\"kept\"/>"
      L"<Other id=\"test.merge.ignored\" value=\"x\"/><Text id=\"test.merge.a\" Value=\"second\"/></res>"));
  EXPECT_EQ(Texts().GetText(L"test.merge.a"), L"second");
  EXPECT_EQ(Texts().GetText(L"test.merge.ignored"), L"test.merge.ignored");

  // A later file that lacks an id leaves its old text in place.
  ASSERT_TRUE(Texts().LoadLanguage(L"<Res><Text id=\"test.merge.a\" value=\"third\"/></Res>"));
  EXPECT_EQ(Texts().GetText(L"test.merge.a"), L"third");
  EXPECT_EQ(Texts().GetText(L"test.merge.b"), L"kept");
}

TEST(TextTable, UnreadableSourcesLeaveTheTableUnchanged) {
  ASSERT_TRUE(Texts().LoadLanguage(L"<Res><Text id=\"test.bad.a\" value=\"good\"/></Res>"));
  EXPECT_FALSE(Texts().LoadLanguage(L"<Res><Text id=\"test.bad.a\" value=\"broken\"></Res>"));
  EXPECT_FALSE(Texts().LoadLanguage(L"no_such_language_file.xml"));
  EXPECT_EQ(Texts().GetText(L"test.bad.a"), L"good");
}

TEST(TextTable, LanguageFilesOfThePackageLoad) {
  auto saved = Texts().Package();
  Texts().SetPackage(OpenEmbeddedPackage());
  ASSERT_TRUE(Texts().LoadLanguage(L"lan_en.xml"));
  EXPECT_EQ(Texts().GetText(L"main.btn.next"), L"Next");
  ASSERT_TRUE(Texts().LoadLanguage(L"LAN_CN.XML"));
  EXPECT_EQ(Texts().GetText(L"tip.btn.begininstall").empty(), false);
  // The English file does not define the Chinese-only ids: they keep their Chinese texts.
  const std::wstring chinese = Texts().GetText(L"tip.com.buad");
  ASSERT_TRUE(Texts().LoadLanguage(L"lan_en.xml"));
  EXPECT_EQ(Texts().GetText(L"tip.com.buad"), chinese);
  EXPECT_NE(chinese, L"tip.com.buad");
  Texts().SetPackage(saved);
}

TEST(TextTable, ReadersNeverSeeATornTableWhileTheLanguageSwitches) {
  const std::wstring textOne(200, L'a'), textTwo(300, L'b');
  const std::wstring one = L"<Res><Text id=\"test.race\" value=\"" + textOne + L"\"/></Res>";
  const std::wstring two = L"<Res><Text id=\"test.race\" value=\"" + textTwo + L"\"/></Res>";
  ASSERT_TRUE(Texts().LoadLanguage(one));
  std::atomic<bool> stop{false};
  std::atomic<int> bad{0};
  std::vector<std::thread> readers;
  for (int i = 0; i < 3; ++i) {
    readers.emplace_back([&] {
      while (!stop) {
        const std::wstring text = Texts().GetText(L"test.race");
        if (text != textOne && text != textTwo) ++bad;
      }
    });
  }
  for (int i = 0; i < 300; ++i) Texts().LoadLanguage(i % 2 ? one : two);
  stop = true;
  for (auto& reader : readers) reader.join();
  EXPECT_EQ(bad, 0);
}
