// The removal worker against the real spooler (Wine): a printer added through the spooler
// goes, and a driver deletion that the spooler refuses is logged in red while the run
// goes on to its end.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "base/WideText.h"
#include "devices/RemovalTestSpooler.h"
#include "devices/RemovalWorker.h"
#include "engine/spooler/ContractPlatform.h"
#include "engine/spooler/SpoolerOperations.h"
#include "shell/EmbeddedPackage.h"
#include "shell/Languages.h"
#include "shell/MainWindowMessages.h"
#include "shell/UiTextMessage.h"
#include "ui/core/ResourceManager.h"

namespace {

// A message-only window that records the removal log; the worker runs on this thread, so
// every SendMessageW reaches it at once.
struct Recorded {
  std::vector<std::pair<std::wstring, bool>> lines;
  int animationStops = 0;
};
Recorded* g_recorded = nullptr;

LRESULT CALLBACK RecordMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (g_recorded != nullptr && message == kMsgRemoveLog && lParam != 0) {
    const auto* payload = reinterpret_cast<const UiTextMessage*>(lParam);
    if (!payload->flag2) g_recorded->lines.push_back({payload->text, payload->flag1 != 0});
    return 0;
  }
  if (g_recorded != nullptr && message == kMsgRemoveAnimation && wParam == 0) ++g_recorded->animationStops;
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateRecorder() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = &RecordMessage;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"QuorvelRemovalRecorder";
  RegisterClassW(&windowClass);  // a second registration fails harmlessly
  return CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance,
                         nullptr);
}

TEST(RemovalWorkerWine, PrinterGoesAndARefusedDriverIsLoggedInRed) {
  auto& resources = ui::ResourceManager::Instance();
  resources.SetPackage(OpenEmbeddedPackage());
  ASSERT_TRUE(resources.LoadLanguage(L"lan_en.xml"));
  SetMessageLanguageId(0x0409);
  const std::wstring driver = L"Quorvel removal worker test";
  const std::wstring printer = L"Quorvel removal worker printer";
  ASSERT_TRUE(InstallTestDriver(driver)) << GetLastError();
  DeletePrinterByName(printer);  // left by a run that was cut short
  ASSERT_TRUE(AddTestPrinter(printer, driver)) << GetLastError();

  Recorded recorded;
  g_recorded = &recorded;
  const HWND window = CreateRecorder();
  ASSERT_NE(window, nullptr);
  RemovalJob job;
  job.mainWindow = window;
  job.printers = {printer};
  job.drivers = {driver};
  ListDrivers(job.driverEntries);
  RemovalWorker(job);
  DestroyWindow(window);
  g_recorded = nullptr;

  EXPECT_FALSE(PrinterListed(printer));
  ASSERT_GE(recorded.lines.size(), 4u);
  EXPECT_EQ(recorded.lines[0], std::make_pair(L"Start deleting the printer: " + printer, false));
  EXPECT_EQ(recorded.lines[1], std::make_pair(L"Delete: " + printer + L" successfully", false));
  EXPECT_EQ(recorded.lines[2], std::make_pair(L"Start deleting the driver: " + driver, false));
  // The outcome is the platform's, known beforehand: Wine refuses any delete flags (87),
  // which is logged in red while the run still ends; Windows deletes the driver.
  if (contract::RunningUnderWine()) {
    EXPECT_TRUE(DriverListed(driver));
    ASSERT_EQ(recorded.lines.size(), 5u);
    EXPECT_EQ(recorded.lines[3], std::make_pair(L"Delete: " + driver + L" failed", true));
    EXPECT_EQ(recorded.lines[4].first.rfind(L"Reason for failure: Code: 87", 0), 0u)
        << WideToUtf8(recorded.lines[4].first);
    EXPECT_TRUE(recorded.lines[4].second);
  } else {
    EXPECT_FALSE(DriverListed(driver));
    ASSERT_EQ(recorded.lines.size(), 4u);
    EXPECT_EQ(recorded.lines[3], std::make_pair(L"Delete: " + driver + L" successfully", false));
  }
  EXPECT_EQ(recorded.animationStops, 1);
}

}  // namespace
