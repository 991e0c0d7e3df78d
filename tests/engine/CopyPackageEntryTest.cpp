// CopyPackageEntry against the platform's own files: the real file system under Wine,
// drive C: of the simulated machine on Linux.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/CopyPackageEntry.h"
#include "engine/StoredZip.h"
#include "engine/spooler/ContractPlatform.h"
#include "engine/spooler/SystemOperations.h"
#include "shell/EmbeddedPackage.h"
#include "ui/core/ResourceManager.h"

namespace {

class CopyPackageEntryTest : public testing::Test {
 protected:
  void SetUp() override { ui::ResourceManager::Instance().SetPackage(OpenEmbeddedPackage()); }
  void TearDown() override { ui::ResourceManager::Instance().SetPackage(OpenEmbeddedPackage()); }

  std::wstring Target() const { return folder_.Path() + L"\\"; }

  static std::vector<uint8_t> PackageBytes(const char* entry) {
    return ui::ResourceManager::Instance().Package()->ReadEntry(entry).value_or(std::vector<uint8_t>());
  }

  contract::ScratchFolder folder_;
};

TEST_F(CopyPackageEntryTest, FindsTheEntryInAnyLetterCaseAndWritesItUnderTheGivenName) {
  std::wstring list = L"earlier.dll";
  list += L'\0';
  const SystemOutcome copied = CopyPackageEntry(L"DRIVER\\A4\\driver64\\quorvela4ui203.DLL", Target(), list);
  ASSERT_TRUE(copied) << copied.Error();
  EXPECT_EQ(list, std::wstring(L"earlier.dll") + L'\0' + L"quorvela4ui203.DLL");
  const auto written = contract::ReadFileBytes(Target() + L"quorvela4ui203.DLL");
  ASSERT_TRUE(written);
  EXPECT_EQ(written->size(), 1606656u);
  EXPECT_TRUE(*written == PackageBytes("driver/a4/Driver64/QuorvelA4UI203.dll"));
}

TEST_F(CopyPackageEntryTest, ReplacesAnExistingFileWholeAndLeavesNothingBeside) {
  const std::wstring target = Target() + L"QuorvelA4300.pcd";
  ASSERT_TRUE(contract::WriteFileBytes(target, std::vector<uint8_t>(5000, 'x')));
  std::wstring list;
  const SystemOutcome copied = CopyPackageEntry(L"driver\\a4\\QuorvelA4300.pcd", Target(), list);
  ASSERT_TRUE(copied) << copied.Error();
  EXPECT_TRUE(contract::ReadFileBytes(target) == PackageBytes("driver/a4/QuorvelA4300.pcd"));
  EXPECT_EQ(contract::FolderEntries(folder_.Path()), std::vector<std::wstring>{L"QuorvelA4300.pcd"});
}

TEST_F(CopyPackageEntryTest, RefusesMissingEmptyAndOversizedEntriesButListsTheirNames) {
  StoredZip zip;
  zip.Add("driver/a4/empty.bin", {});
  zip.Add("driver/a4/limit.bin", std::vector<uint8_t>(kMaxPackageEntrySize, 7));
  zip.Add("driver/a4/over.bin", std::vector<uint8_t>(kMaxPackageEntrySize + 1, 7));
  const auto bytes = zip.Bytes();
  ui::ResourceManager::Instance().SetPackage(ResourcePackage::OpenFromMemory(bytes.data(), bytes.size()));

  std::wstring list;
  EXPECT_EQ(CopyPackageEntry(L"driver\\a4\\over.bin", Target(), list).Error(), 223u);
  EXPECT_EQ(CopyPackageEntry(L"driver\\a4\\empty.bin", Target(), list).Error(), 13u);
  EXPECT_EQ(CopyPackageEntry(L"driver\\a4\\missing.bin", Target(), list).Error(), 2u);
  EXPECT_EQ(list, L"over.binempty.binmissing.bin");
  EXPECT_TRUE(contract::FolderEntries(folder_.Path()).empty());

  EXPECT_TRUE(CopyPackageEntry(L"driver\\a4\\limit.bin", Target(), list));
  EXPECT_EQ(contract::ReadFileBytes(Target() + L"limit.bin")->size(), kMaxPackageEntrySize);

  // A path without "\" names no file: nothing is listed.
  const std::wstring before = list;
  EXPECT_FALSE(CopyPackageEntry(L"limit.bin", Target(), list));
  EXPECT_EQ(list, before);

  ui::ResourceManager::Instance().SetPackage(nullptr);
  EXPECT_FALSE(CopyPackageEntry(L"driver\\a4\\limit.bin", Target(), list));
}

TEST_F(CopyPackageEntryTest, AFailedReplaceKeepsTheOldFileWholeAndLeavesNoPart) {
  const std::wstring target = Target() + L"plotuia4.hlp";
  const std::vector<uint8_t> old(300, 'o');
  ASSERT_TRUE(contract::WriteFileBytes(target, old));
  {
    const contract::HeldFile held(target);
    ASSERT_TRUE(held.Held());
    std::wstring list;
    const SystemOutcome copied = CopyPackageEntry(L"driver\\a4\\plotuia4.hlp", Target(), list);
    EXPECT_FALSE(copied);
    EXPECT_NE(copied.Error(), 0u);
  }
  EXPECT_TRUE(contract::ReadFileBytes(target) == old);
  EXPECT_EQ(contract::FolderEntries(folder_.Path()), std::vector<std::wstring>{L"plotuia4.hlp"});
}

}  // namespace
