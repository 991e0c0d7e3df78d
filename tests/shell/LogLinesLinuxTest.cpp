#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/MessageBus.h"
#include "shell/LogLines.h"
#include "shell/MainWindowMessages.h"
#include "shell/UiTextMessage.h"

namespace {

struct Line {
  uint32_t message;
  std::wstring text;
  bool error;
  bool clear;
};

}  // namespace

// What a worker's log call hands the main window, and that a window that is gone loses the
// line instead of holding the worker.
TEST(LogLines, EachLineReachesTheWindowWithItsFlagsAndAGoneWindowLosesIt) {
  auto& bus = ui::MessageBus::Instance();
  std::vector<Line> lines;
  const auto window = bus.Register([&](uint32_t message, uintptr_t, intptr_t lParam) -> intptr_t {
    const auto* payload = reinterpret_cast<const UiTextMessage*>(lParam);
    lines.push_back({message, payload->text, payload->flag1 != 0, payload->flag2 != 0});
    return 0;
  });
  AppendInstallLine(window, L"copying", false, false);
  AppendInstallLine(window, L"", false, true);
  AppendRemoveLine(window, L"refused", true, false);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].message, kMsgInstallLog);
  EXPECT_EQ(lines[0].text, L"copying");
  EXPECT_FALSE(lines[0].error);
  EXPECT_TRUE(lines[1].clear);
  EXPECT_EQ(lines[2].message, kMsgRemoveLog);
  EXPECT_TRUE(lines[2].error);

  bus.Unregister(window);
  AppendInstallLine(window, L"after the window", true, false);
  AppendRemoveLine(nullptr, L"no window at all", false, false);
  EXPECT_EQ(lines.size(), 3u);
}
