#include <gtest/gtest.h>

#include <algorithm>

#include "engine/DriverModelRecord.h"

namespace {
bool Holds(const std::vector<std::wstring>& list, const std::wstring& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}
}  // namespace

TEST(DriverModelRecord, EachModelListsOnlyItsOwnFiles) {
  const auto models = BuildDriverModelRecords();
  ASSERT_EQ(models.size(), 2u);
  const auto& low = models[0];
  const auto& high = models[1];
  EXPECT_EQ(low.modelCode, 0);
  EXPECT_EQ(high.modelCode, 1);
  EXPECT_EQ(low.modelName, L"QuorvelA4-203");
  EXPECT_EQ(high.driverName, L"QuorvelA4-300");

  for (const auto* list : {&low.spoolerList32, &low.spoolerList64, &low.spoolerListIA64}) {
    EXPECT_TRUE(Holds(*list, L"driver\\a4\\QuorvelA4203.pcd"));
    EXPECT_FALSE(Holds(*list, L"driver\\a4\\QuorvelA4300.pcd"));
  }
  for (const auto* list : {&high.spoolerList32, &high.spoolerList64, &high.spoolerListIA64}) {
    EXPECT_TRUE(Holds(*list, L"driver\\a4\\QuorvelA4300.pcd"));
    EXPECT_FALSE(Holds(*list, L"driver\\a4\\QuorvelA4203.pcd"));
  }
  EXPECT_TRUE(low.folderListRoot.empty());
  EXPECT_EQ(high.folderListRoot, (std::vector<std::wstring>{L"driver\\a4\\QuorvelA4300.pcd", L"driver\\a4\\plotuia4.hlp"}));
}

TEST(DriverModelRecord, SpoolerListsRunUiRenderDataHelp) {
  const auto high = BuildDriverModelRecords()[1];
  EXPECT_EQ(high.spoolerList64,
            (std::vector<std::wstring>{L"driver\\a4\\Driver64\\QuorvelA4UI300.dll", L"driver\\a4\\Driver64\\QuorvelA4UNI300.dll",
                                       L"driver\\a4\\QuorvelA4300.pcd", L"driver\\a4\\plotuia4.hlp"}));
  EXPECT_EQ(high.folderList32,
            (std::vector<std::wstring>{L"driver\\a4\\Driver32\\QuorvelA4UI300.dll", L"driver\\a4\\Driver32\\QuorvelA4UNI300.dll"}));
  EXPECT_EQ(high.subFolders, (std::vector<std::wstring>{L"Driver64", L"Driver32", L"IA64"}));
  EXPECT_EQ(high.driverFile, L"QuorvelA4UNI300.DLL");
  EXPECT_EQ(high.configurationFile, L"QuorvelA4UI300.DLL");
  EXPECT_EQ(high.dataFile, L"QuorvelA4300.pcd");
  EXPECT_EQ(high.helpFile, L"plotuia4.hlp");
  EXPECT_EQ(high.certificateFile, L"qmvt.cer");
}
