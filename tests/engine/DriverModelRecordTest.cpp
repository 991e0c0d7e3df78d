#include <gtest/gtest.h>

#include <algorithm>

#include "base/WideText.h"
#include "engine/DriverModelRecord.h"
#include "shell/EmbeddedPackage.h"

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
  // The install folder gets the certificate for the certificate step; otherwise the root
  // lists are those of the tables.
  EXPECT_EQ(low.folderListRoot, std::vector<std::wstring>{L"driver\\a4\\qmvt.cer"});
  EXPECT_EQ(high.folderListRoot, (std::vector<std::wstring>{L"driver\\a4\\QuorvelA4300.pcd",
                                                            L"driver\\a4\\plotuia4.hlp", L"driver\\a4\\qmvt.cer"}));
}

TEST(DriverModelRecord, SpoolerListsRunUiRenderDataHelp) {
  const auto high = BuildDriverModelRecords()[1];
  EXPECT_EQ(high.spoolerList64,
            (std::vector<std::wstring>{L"driver\\a4\\Driver64\\QuorvelA4UI300.dll",
                                       L"driver\\a4\\Driver64\\QuorvelA4UNI300.dll", L"driver\\a4\\QuorvelA4300.pcd",
                                       L"driver\\a4\\plotuia4.hlp"}));
  // Each architecture folder holds what the applet's INF names: the two plug-ins, the INF,
  // the data file and the help file.
  EXPECT_EQ(high.folderList32,
            (std::vector<std::wstring>{L"driver\\a4\\Driver32\\QuorvelA4UI300.dll",
                                       L"driver\\a4\\Driver32\\QuorvelA4UNI300.dll", L"driver\\a4\\QuorvelA4.inf",
                                       L"driver\\a4\\QuorvelA4300.pcd", L"driver\\a4\\plotuia4.hlp"}));
  EXPECT_EQ(BuildDriverModelRecords()[0].folderListIA64,
            (std::vector<std::wstring>{L"driver\\a4\\IA64\\QuorvelA4UI203.dll",
                                       L"driver\\a4\\IA64\\QuorvelA4UNI203.dll", L"driver\\a4\\QuorvelA4.inf",
                                       L"driver\\a4\\QuorvelA4203.pcd", L"driver\\a4\\plotuia4.hlp"}));
  EXPECT_EQ(high.infFile, L"QuorvelA4.inf");
  EXPECT_EQ(high.subFolders, (std::vector<std::wstring>{L"Driver64", L"Driver32", L"IA64"}));
  EXPECT_EQ(high.driverFile, L"QuorvelA4UNI300.DLL");
  EXPECT_EQ(high.configurationFile, L"QuorvelA4UI300.DLL");
  EXPECT_EQ(high.dataFile, L"QuorvelA4300.pcd");
  EXPECT_EQ(high.helpFile, L"plotuia4.hlp");
  EXPECT_EQ(high.certificateFile, L"qmvt.cer");
}

TEST(DriverModelRecord, EveryFileTheListsNameIsInThePackage) {
  const auto package = OpenEmbeddedPackage();
  ASSERT_TRUE(package);
  for (const auto& record : BuildDriverModelRecords()) {
    for (const auto* list :
         {&record.spoolerList32, &record.spoolerList64, &record.spoolerListIA64, &record.folderListRoot,
          &record.folderList32, &record.folderList64, &record.folderListIA64}) {
      for (std::wstring path : *list) {
        std::replace(path.begin(), path.end(), L'\\', L'/');
        const auto size = package->EntrySize(WideToUtf8(path));
        EXPECT_TRUE(size && *size > 0) << WideToUtf8(path);
      }
    }
  }
  // The shared Unidrv files travel too, although no list names them.
  for (const char* shared : {"driver/common/Driver64/UNIDRV.dll", "driver/common/IA64/UNIRES.dll",
                             "driver/common/ARM64/STDSCHMX.GDL", "driver/common/Driver32/TTFSUB.GPD"}) {
    EXPECT_TRUE(package->EntrySize(shared)) << shared;
  }
}
