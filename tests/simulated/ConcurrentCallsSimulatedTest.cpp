// The UI thread lists the spooler while a worker changes it.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "engine/spooler/SpoolerOperations.h"
#include "engine/spooler/SystemOperations.h"

namespace {

TEST(ConcurrentCalls, ListsStayWholeWhileAWorkerAddsAndDeletes) {
  std::atomic<bool> done{false};
  std::atomic<int> badLists{0};
  std::thread worker([&] {
    for (int i = 0; i < 60; ++i) {
      const std::wstring name = L"Worker printer " + std::to_wstring(i);
      AddPrinterLevel2({name, L"nul:", L"Microsoft Print To PDF", L"WinPrint", 0x40});
      AddStandardTcpIpPort(L"IP_10.9.0." + std::to_wstring(i), L"10.9.0." + std::to_wstring(i));
      if (i % 2) DeletePrinterByName(name);
    }
    done = true;
  });
  std::vector<SpoolerEntry> printers;
  while (!done) {
    ListPrinters(printers);
    // The in-box printers are always there and every entry is complete.
    if (printers.size() < 3) ++badLists;
    for (const auto& entry : printers) {
      if (entry.printerName.empty() || entry.driverName.empty()) ++badLists;
    }
    PortExists(L"COM1:");
  }
  worker.join();
  EXPECT_EQ(badLists.load(), 0);
  ListPrinters(printers);
  EXPECT_EQ(printers.size(), 3u + 30u);
}

}  // namespace
