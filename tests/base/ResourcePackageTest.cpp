#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "shell/EmbeddedPackage.h"

TEST(ResourcePackage, EmbeddedPackageHoldsTheIndexAndTheSevenLanguageFiles) {
  auto package = OpenEmbeddedPackage();
  ASSERT_NE(package, nullptr);
  EXPECT_EQ(std::string(ResourcePackage::kArchiveName), "membuffer");
  auto index = package->ReadEntry("res.xml");
  ASSERT_TRUE(index.has_value());
  const std::string text(index->begin(), index->end());
  EXPECT_NE(text.find("XML_MAIN"), std::string::npos);
  EXPECT_NE(text.find("main.xml"), std::string::npos);
  for (const char* name :
       {"lan_cn.xml", "lan_en.xml", "lan_es.xml", "lan_ja.xml", "lan_ko.xml", "lan_pt.xml", "lan_th.xml"}) {
    EXPECT_TRUE(package->EntrySize(name).has_value()) << name;
  }
  // Lookups ignore letter case.
  EXPECT_TRUE(package->ReadEntry("RES.XML").has_value());
  EXPECT_TRUE(package->ReadEntry("Lan_Th.Xml").has_value());
  EXPECT_FALSE(package->ReadEntry("missing.xml").has_value());
}

TEST(ResourcePackage, EntriesUseSlashesAndFoldersAreListed) {
  auto package = OpenEmbeddedPackage();
  ASSERT_NE(package, nullptr);
  const auto names = package->EntryNames();
  EXPECT_TRUE(
      std::none_of(names.begin(), names.end(), [](const std::string& n) { return n.find('\\') != std::string::npos; }));
}

TEST(ResourcePackage, SizeCapAndBadBlocks) {
  auto package = OpenEmbeddedPackage();
  ASSERT_NE(package, nullptr);
  const auto size = package->EntrySize("res.xml");
  ASSERT_TRUE(size.has_value());
  EXPECT_FALSE(package->ReadEntry("res.xml", *size - 1).has_value());
  EXPECT_TRUE(package->ReadEntry("res.xml", *size).has_value());

  EXPECT_EQ(ResourcePackage::OpenFromMemory(nullptr, 0), nullptr);
  const std::string junk(4096, 'x');
  EXPECT_EQ(ResourcePackage::OpenFromMemory(junk.data(), junk.size()), nullptr);
}

TEST(ResourcePackage, DamagedEntryIsNotReturned) {
  const auto bytes = CopyEmbeddedPackageBytes();
  ASSERT_FALSE(bytes.empty());
  std::string copy(bytes.begin(), bytes.end());
  const auto at = copy.find("lan_en.xml");
  ASSERT_NE(at, std::string::npos);
  // The local header's name is followed by the data; spoil some of it.
  for (size_t i = at + 40; i < at + 240 && i < copy.size(); ++i) copy[i] = static_cast<char>(copy[i] ^ 0x5A);
  auto damaged = ResourcePackage::OpenFromMemory(copy.data(), copy.size());
  ASSERT_NE(damaged, nullptr);
  EXPECT_FALSE(damaged->ReadEntry("lan_en.xml").has_value());
  EXPECT_TRUE(damaged->ReadEntry("lan_th.xml").has_value());
}

TEST(ResourcePackage, AnEntryClaimingGigabytesIsRefusedWithoutAllocatingThem) {
  const auto bytes = CopyEmbeddedPackageBytes();
  ASSERT_FALSE(bytes.empty());
  std::string copy(bytes.begin(), bytes.end());
  // res.xml's uncompressed size, in its local header (30 bytes before the name, size at 22)
  // and in the central directory (46 bytes before, size at 24), claims 4 GB less 16.
  int patched = 0;
  for (size_t at = copy.find("res.xml"); at != std::string::npos; at = copy.find("res.xml", at + 1)) {
    size_t field = std::string::npos;
    if (at >= 30 && copy.compare(at - 30, 4, "PK\x03\x04") == 0) field = at - 30 + 22;
    if (at >= 46 && copy.compare(at - 46, 4, "PK\x01\x02") == 0) field = at - 46 + 24;
    if (field == std::string::npos) continue;
    copy.replace(field, 4, "\xF0\xFF\xFF\xFF");
    ++patched;
  }
  ASSERT_EQ(patched, 2);
  auto damaged = ResourcePackage::OpenFromMemory(copy.data(), copy.size());
  ASSERT_NE(damaged, nullptr);
  EXPECT_EQ(damaged->EntrySize("res.xml"), 0xFFFFFFF0u);
  EXPECT_FALSE(damaged->ReadEntry("res.xml").has_value());
  EXPECT_TRUE(damaged->ReadEntry("lan_en.xml").has_value());
}
