// A complete installation and removal through the product's own window, by clicks as a new
// user makes them, checked through the spooler's API rather than through product code.
// The product runs from a folder that holds planted programs and a planted spooler library
// (PlantedFolder.h), as a downloads folder could; none of them may run.
#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "exe-win32/PlantedFolder.h"
#include "exe-win32/ProductWindow.h"
#include "exe-win32/SpoolerView.h"

namespace {

using namespace exetest;

// The printer name the wizard proposes for its first model, which it also chooses first.
const std::wstring kPrinter = L"QuorvelA4-300";
const std::wstring kDriver = L"QuorvelA4-300";

// The finish bar's buttons, right to left (close, test page, properties, preferences, …),
// as points to click; empty while the bar is not shown. Their widths follow their texts, so
// they are found on the screen: the row of their top edges, in the bar's right part, holds
// one run of non-white pixels per button; the rightmost, the close button, is filled with the
// accent colour (the wizard bar's rightmost button, Cancel, is white).
std::vector<POINT> FinishBarButtons(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  const std::vector<COLORREF> pixels = ScreenPixelsOf(window);
  if (pixels.size() != static_cast<size_t>(width) * height) return {};
  const double scale = ScaleOf(window, kMainClose.layoutWidth);
  const int expectedTop = height - static_cast<int>((kShadow + 60 - 14) * scale + 0.5);
  const int left = width / 3;
  const int right = width - static_cast<int>((kShadow + 12) * scale + 0.5);
  const auto white = [&](int x, int y) { return (pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF) == 0xFFFFFF; };
  int row = -1;
  int most = 0;
  for (int y = expectedTop - 2; y <= expectedTop + 2; ++y) {
    if (y < 0 || y >= height) continue;
    int count = 0;
    for (int x = left; x < right; ++x) count += white(x, y) ? 0 : 1;
    if (count > most) {
      most = count;
      row = y;
    }
  }
  if (row < 0) return {};
  std::vector<POINT> buttons;
  int x = right - 1;
  while (x >= left) {
    while (x >= left && white(x, row)) --x;
    if (x < left) break;
    const int runRight = x;
    while (x >= left && !white(x, row)) --x;
    const int runLeft = x + 1;
    if (runRight - runLeft < static_cast<int>(20 * scale)) continue;  // a corner's stray pixel
    if (buttons.empty()) {
      const COLORREF fill = pixels[static_cast<size_t>(row + static_cast<int>(8 * scale)) * width + runRight - 4];
      const bool accent = (fill & 0xFF) > 0xB0 && ((fill >> 16) & 0xFF) < 0x60;
      if (!accent) return {};
    }
    buttons.push_back({(runLeft + runRight) / 2, row + static_cast<int>(16 * scale)});
  }
  return buttons;
}

enum class FinishButton { Close = 0, TestPage = 1, Properties = 2, Preferences = 3 };

bool PressFinishButton(HWND window, FinishButton which) {
  const std::vector<POINT> buttons = FinishBarButtons(window);
  const auto index = static_cast<size_t>(which);
  if (buttons.size() <= index) return false;
  PostClick(window, buttons[index].x, buttons[index].y);
  return true;
}

// The product, run from the planted folder; shared by the steps below, which run in order.
class ExeInstallation : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (ProductPath().empty()) return;
    planted_ = std::make_unique<PlantedFolder>();
    // A run that was cut short may have left them.
    DeletePrinterNamed(kPrinter);
    DeleteDriverEverywhere(kDriver);
  }
  static void TearDownTestSuite() {
    product_.reset();
    if (!ProductPath().empty()) {
      DeletePrinterNamed(kPrinter);
      DeleteDriverEverywhere(kDriver);
    }
    planted_.reset();
  }

  void SetUp() override {
    if (ProductPath().empty()) GTEST_SKIP() << "QUORVEL_PRODUCT_UNDER_TEST does not name the product";
    if (RunningUnderWine() && RunsUnderWow64()) {
      GTEST_SKIP() << "Wine's 32-bit AddPrinterW looks for the driver among the caller's x86 drivers (1797), "
                      "not the system's; the 64-bit build runs this installation";
    }
    ASSERT_NE(planted_, nullptr);
    ASSERT_TRUE(planted_->Ready()) << planted_->Problem();
  }

  // Starts the planted copy of the product and waits for its main window.
  static HWND StartProduct() {
    product_ = std::make_unique<Product>(planted_->ProductCopy(), planted_->CurrentDirectory().c_str());
    if (!product_->Started()) return nullptr;
    main_ = WaitForWindow(product_->Id(), L"MainWnd");
    return main_;
  }

  static void CloseProduct() {
    if (!product_) return;
    if (main_ != nullptr && IsWindow(main_)) {
      Click(main_, kMainClose);
      const auto code = product_->WaitForExit();
      EXPECT_TRUE(code.has_value() && *code == 0) << "the close button did not end the program with code 0";
    }
    product_.reset();
    main_ = nullptr;
  }

  static void ExpectNothingPlantedRan() {
    const std::vector<std::wstring> markers = planted_->Markers();
    for (const auto& marker : markers) ADD_FAILURE() << "a planted file ran: " << Narrow(marker);
  }

  static inline std::unique_ptr<PlantedFolder> planted_;
  static inline std::unique_ptr<Product> product_;
  static inline HWND main_ = nullptr;
  static inline bool installed_ = false;
  static inline bool removed_ = false;
};

TEST_F(ExeInstallation, InstallsOnCom1ByClicks) {
  const HWND main = StartProduct();
  ASSERT_NE(main, nullptr) << "no main window";
  ASSERT_TRUE(WaitUntilPainted(main)) << "the main window was not painted within 10 s";
  ClickAt(main, kInstallTile);
  // Next through the port kind (COM is the first choice), the model, the port list (COM1:
  // is chosen first), the printer name and the summary; the last Next starts the run.
  for (int step = 1; step <= 5; ++step) {
    const std::vector<COLORREF> before = ScreenPixelsOf(main);
    ClickAt(main, kNextButton);
    ASSERT_TRUE(WaitUntilRepainted(main, before)) << "the window did not change and hold still after Next " << step;
  }
  ClickAt(main, kNextButton);
  ASSERT_TRUE(WaitUntil([&] { return !FinishBarButtons(main).empty(); }, 180s)) << "no finish bar within 3 minutes";

  const std::optional<PrinterView> printer = ReadPrinter(kPrinter);
  ASSERT_TRUE(printer.has_value()) << "no printer named " << Narrow(kPrinter);
  EXPECT_EQ(Narrow(printer->port), "COM1:");
  EXPECT_EQ(Narrow(printer->driver), Narrow(kDriver));
  EXPECT_EQ(Narrow(printer->dataType), "RAW");
  EXPECT_TRUE(DriverInSystemEnvironment(kDriver)) << "not among the drivers of " << Narrow(SystemEnvironment());
  EXPECT_EQ(Narrow(DefaultPrinterName()), Narrow(kPrinter));
  installed_ = true;
}

// Until a program that the product started after the count `before` has ended or shows a
// window: a planted one, which shows none, has left its marker by then.
testing::AssertionResult WaitForStartedProgram(const Product& product, const ProgramCounts& before,
                                               const std::string& what) {
  const bool done = WaitUntil(
      [&] {
        const std::optional<ProgramCounts> now = product.Programs();
        if (!now || now->started <= before.started) return false;
        if (now->running <= 1) return true;
        const std::vector<DWORD> ids = product.RunningIds();
        return std::any_of(ids.begin(), ids.end(), [&](DWORD id) { return id != product.Id() && ShowsAWindow(id); });
      },
      30s);
  if (done) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "the " << what
                                     << " started no program that ended or showed a window within 30 s";
}

// The test page's applet runs (the real one: no planted program may), and the spooler gets
// a job where the applet prints one.
TEST_F(ExeInstallation, TestPageButtonReachesTheSpooler) {
  if (!installed_) GTEST_SKIP() << "no installation to print from";
  const std::optional<ProgramCounts> programs = product_->Programs();
  ASSERT_TRUE(programs.has_value()) << "the product's job cannot be read: " << GetLastError();
  const size_t before = JobCount(kPrinter);
  ASSERT_TRUE(PressFinishButton(main_, FinishButton::TestPage)) << "the finish bar is gone";
  ASSERT_TRUE(WaitForStartedProgram(*product_, *programs, "test-page button"));
  // The job comes while the applet runs; one that has ended adds none.
  WaitUntil([&] { return JobCount(kPrinter) > before || product_->Programs().value_or(ProgramCounts{}).running <= 1; },
            15s);
  const bool printed = JobCount(kPrinter) > before;
  // The other finish buttons start the same applet; the planted one must not answer them.
  for (const auto& [button, what] : {std::pair{FinishButton::Properties, "properties button"},
                                     std::pair{FinishButton::Preferences, "preferences button"}}) {
    const ProgramCounts counts = product_->Programs().value_or(ProgramCounts{});
    ASSERT_TRUE(PressFinishButton(main_, button)) << "the finish bar is gone";
    ASSERT_TRUE(WaitForStartedProgram(*product_, counts, what));
  }
  ExpectNothingPlantedRan();
  if (!printed && RunningUnderWine()) GTEST_SKIP() << "Wine's printui.dll does nothing for /k: no job to see";
  EXPECT_TRUE(printed) << "no job from the test-page applet";
}

// The printer and its driver chosen in the removal wizard by clicks and typing.
TEST_F(ExeInstallation, RemovesThePrinterAndItsDriverByClicks) {
  if (!installed_) GTEST_SKIP() << "nothing installed to remove";
  CloseProduct();
  const HWND main = StartProduct();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(RemoveByClicks(main, kPrinter, kDriver));
  EXPECT_TRUE(WaitUntil([&] { return !ReadPrinter(kPrinter).has_value(); }, 30s)) << "the printer is still there";
  EXPECT_TRUE(WaitUntil([&] { return !FinishBarButtons(main).empty(); }, 30s)) << "no finish bar after the removal";
  CloseProduct();
  ExpectNothingPlantedRan();
  removed_ = !ReadPrinter(kPrinter).has_value();
}

// The driver was chosen in the same run.
TEST_F(ExeInstallation, TheRemovalDeletedTheDriverToo) {
  if (!removed_) GTEST_SKIP() << "no removal ran";
  if (DriverInSystemEnvironment(kDriver) && RunningUnderWine()) {
    GTEST_SKIP() << "Wine refuses the driver's deletion with the removal's flags (87); the printer is gone";
  }
  EXPECT_FALSE(DriverInSystemEnvironment(kDriver)) << "the driver is still there";
}

}  // namespace
