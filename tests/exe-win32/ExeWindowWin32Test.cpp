// Drives the product's own window from outside, as a user would: starts the exe named by
// QUORVEL_PRODUCT_UNDER_TEST (a Windows path), finds its top-level window, reads its title
// and pixels, clicks its caption buttons and watches it end. The start-up language is
// checked on a copy that scripts/test started under a locale (QUORVEL_STARTED_UNDER_LOCALE):
// Wine takes the UI language from the loader's Unix locale, and a child started with
// CreateProcessW inherits this program's, whatever its environment block says.
#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include "devices/RemovalTestSpooler.h"
#include "engine/spooler/SpoolerOperations.h"
#include "exe-win32/ProductWindow.h"
#include "shell/EmbeddedPackage.h"
#include "ui/core/ResourceManager.h"

namespace {

using namespace exetest;

// The caption that the product should show in a language: its "mainTitle", two blanks and
// the version, read from this program's copy of the same package.
std::wstring ExpectedTitle(const wchar_t* languageFile) {
  auto& resources = ui::ResourceManager::Instance();
  if (resources.Package() == nullptr) resources.SetPackage(OpenEmbeddedPackage());
  if (!resources.LoadLanguage(languageFile)) return L"(" + std::wstring(languageFile) + L" unreadable)";
  return resources.GetText(L"mainTitle") + L"  V1.0.01";
}

class ExeWindow : public testing::Test {
 protected:
  void SetUp() override {
    if (ProductPath().empty()) GTEST_SKIP() << "QUORVEL_PRODUCT_UNDER_TEST does not name the product";
  }
};

// The locale that scripts/test started the running product under, e.g. "th_TH".
std::wstring StartedUnderLocale() {
  const wchar_t* locale = _wgetenv(L"QUORVEL_STARTED_UNDER_LOCALE");
  return locale ? locale : L"";
}

// The language file the product should pick for a locale; English for any it lacks. Wine
// gives es_ES 3082 (modern sort), not the table's 1034, so Spanish starts in English too.
const wchar_t* LanguageFileFor(const std::wstring& locale) {
  static const struct {
    const wchar_t* locale;
    const wchar_t* file;
  } kFiles[] = {{L"zh_CN", L"lan_cn.xml"}, {L"en_US", L"lan_en.xml"}, {L"ja_JP", L"lan_ja.xml"},
                {L"ko_KR", L"lan_ko.xml"}, {L"pt_PT", L"lan_pt.xml"}, {L"th_TH", L"lan_th.xml"}};
  for (const auto& entry : kFiles) {
    if (locale.rfind(entry.locale, 0) == 0) return entry.file;
  }
  return L"lan_en.xml";
}

}  // namespace

// Attaches to the product that scripts/test started under a locale: its caption is that
// language's title, and its close button still ends it with code 0.
TEST(StartLanguage, TitleFollowsTheLocaleTheProductStartedUnder) {
  const std::wstring locale = StartedUnderLocale();
  if (locale.empty()) GTEST_SKIP() << "QUORVEL_STARTED_UNDER_LOCALE names no running product";
  const std::wstring expected = ExpectedTitle(LanguageFileFor(locale));
  HWND main = nullptr;
  WaitUntil([&] { return (main = FindWindowW(L"MainWnd", nullptr)) != nullptr && IsWindowVisible(main); },
            kStartTimeout);
  ASSERT_NE(main, nullptr) << "no MainWnd window within 20 s";
  WaitUntilSettled(main);
  DWORD processId = 0;
  GetWindowThreadProcessId(main, &processId);
  std::wstring title;
  WaitUntil([&] { return (title = TitleOf(main)) == expected; }, 2s);
  EXPECT_EQ(Narrow(title), Narrow(expected)) << "started under " << Narrow(locale);

  const std::unique_ptr<void, decltype(&CloseHandle)> process(
      OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId), &CloseHandle);
  ASSERT_NE(process, nullptr);
  Click(main, kMainClose);
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(process.get(), 10000) == WAIT_OBJECT_0) GetExitCodeProcess(process.get(), &code);
  EXPECT_EQ(code, 0u) << "not ended with code 0 within 10 s of the close button";
}

// The window is painted (not one flat colour) and the caption's close button ends the
// program normally.
TEST_F(ExeWindow, PaintsItsWindowAndEndsWithCodeZeroOnCloseButton) {
  Product product;
  ASSERT_TRUE(product.Started()) << "CreateProcessW failed: " << product.StartError();
  Clock::time_point mapped;
  const HWND main = WaitForWindow(product.Id(), L"MainWnd", kStartTimeout, &mapped);
  ASSERT_NE(main, nullptr);
  size_t colours = 0;
  WaitUntil([&] { return (colours = DistinctColours(ScreenPixelsOf(main))) >= 8; }, 5s);
  const auto painted = Clock::now();
  EXPECT_GE(colours, 8u) << "the window's pixels look blank";
  const auto ms = [&](Clock::time_point t) {
    return static_cast<long long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(t - product.StartTime()).count());
  };
  std::printf("[ timing   ] window mapped %lld ms, painted %lld ms after CreateProcessW\n", ms(mapped), ms(painted));
  RecordProperty("mapped_ms", std::to_string(ms(mapped)));
  RecordProperty("painted_ms", std::to_string(ms(painted)));

  const auto clicked = Clock::now();
  Click(main, kMainClose);
  const auto code = product.WaitForExit();
  ASSERT_TRUE(code.has_value()) << "still running 10 s after the close button";
  EXPECT_EQ(*code, 0u);
  std::printf(
      "[ timing   ] process ended %lld ms after the close click\n",
      static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - clicked).count()));
}

// The About box is owned by the main window and modal over it; its close button returns to
// a usable main window, which the close button then ends.
TEST_F(ExeWindow, AboutBoxIsModalAndClosesOnItsCloseButton) {
  Product product;
  ASSERT_TRUE(product.Started()) << "CreateProcessW failed: " << product.StartError();
  const HWND main = WaitForWindow(product.Id(), L"MainWnd");
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(IsWindowEnabled(main));

  Click(main, kMainAbout);
  const HWND about = WaitForWindow(product.Id(), L"PopAbout", 5s);
  ASSERT_NE(about, nullptr) << "no About box after a click on its caption button";
  EXPECT_EQ(GetWindow(about, GW_OWNER), main);
  // The modal run starts after the box is sized and centred, so its rectangle is final then.
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowEnabled(main); }, 5s))
      << "the main window stays usable under the About box";
  EXPECT_GE(DistinctColours(ScreenPixelsOf(about)), 4u) << "the About box looks blank";

  Click(about, kAboutClose);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }, 5s)) << "the About box stays after its close button";
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }, 2s)) << "the main window stays disabled";
  EXPECT_FALSE(product.WaitForExit(0ms).has_value()) << "closing the About box ended the program";

  Click(main, kMainClose);
  const auto code = product.WaitForExit();
  ASSERT_TRUE(code.has_value());
  EXPECT_EQ(*code, 0u);
}

// Alt+F4 on the About box ends the whole program, not only the box.
TEST_F(ExeWindow, AltF4OnTheAboutBoxEndsTheProgram) {
  Product product;
  ASSERT_TRUE(product.Started()) << "CreateProcessW failed: " << product.StartError();
  const HWND main = WaitForWindow(product.Id(), L"MainWnd");
  ASSERT_NE(main, nullptr);
  Click(main, kMainAbout);
  const HWND about = WaitForWindow(product.Id(), L"PopAbout", 5s);
  ASSERT_NE(about, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowEnabled(main); }, 5s));

  // What the system makes of the key: Alt held (bit 29), F4 pressed.
  PostMessageW(about, WM_SYSKEYDOWN, VK_F4, (1 << 29) | 1);
  const auto code = product.WaitForExit();
  ASSERT_TRUE(code.has_value()) << "still running 10 s after Alt+F4 on the About box";
  EXPECT_EQ(*code, 0u);
}

// A language picked in the chooser reaches the main window's caption at once, and the
// chooser stays open until its own close button. This also covers Spanish (1034), which no
// Unix locale gives under Wine.
TEST_F(ExeWindow, ChooserSwitchesTheTitleToSpanish) {
  const std::wstring spanish = ExpectedTitle(L"lan_es.xml");
  Product product;
  ASSERT_TRUE(product.Started()) << "CreateProcessW failed: " << product.StartError();
  const HWND main = WaitForWindow(product.Id(), L"MainWnd");
  ASSERT_NE(main, nullptr);
  ASSERT_NE(TitleOf(main), spanish) << "started in Spanish already; the switch would prove nothing";

  Click(main, kMainLanguage);
  // The chooser's window class is the About box's.
  const HWND chooser = WaitForWindow(product.Id(), L"PopAbout", 5s);
  ASSERT_NE(chooser, nullptr) << "no language chooser after a click on its caption button";
  EXPECT_EQ(GetWindow(chooser, GW_OWNER), main);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowEnabled(main); }, 5s)) << "the chooser is not modal";

  const double scale = ScaleOf(main, kMainClose.layoutWidth);
  PostClick(chooser, static_cast<int>(kChooserOptionLeft * scale + 0.5),
            static_cast<int>(kChooserSpanishTop * scale + 0.5));
  std::wstring title;
  WaitUntil([&] { return (title = TitleOf(main)) == spanish; }, 5s);
  EXPECT_EQ(Narrow(title), Narrow(spanish));
  EXPECT_TRUE(IsWindow(chooser)) << "the chooser closed after a switch";

  Click(chooser, kChooserClose, scale);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(chooser); }, 5s)) << "the chooser stays after its close button";
  ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }, 2s));
  Click(main, kMainClose);
  const auto code = product.WaitForExit();
  ASSERT_TRUE(code.has_value());
  EXPECT_EQ(*code, 0u);
}

namespace {

// The spooler's ports that the COM choice lists, in the spooler's order.
std::vector<std::wstring> ComPortsOfTheSpooler() {
  DWORD needed = 0, count = 0;
  EnumPortsW(nullptr, 2, nullptr, 0, &needed, &count);
  std::vector<BYTE> buffer(needed);
  std::vector<std::wstring> names;
  if (needed == 0 || !EnumPortsW(nullptr, 2, buffer.data(), needed, &needed, &count)) return names;
  const auto* ports = reinterpret_cast<const PORT_INFO_2W*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) {
    if (ports[i].pPortName && std::wstring(ports[i].pPortName).find(L"COM") != std::wstring::npos) {
      names.emplace_back(ports[i].pPortName);
    }
  }
  return names;
}

BOOL CALLBACK CollectText(HWND child, LPARAM data) {
  wchar_t text[512] = {};
  GetWindowTextW(child, text, 512);
  *reinterpret_cast<std::wstring*>(data) += text;
  return TRUE;
}

// The texts of a dialog's controls, one after the other.
std::wstring DialogText(HWND dialog) {
  std::wstring text;
  EnumChildWindows(dialog, &CollectText, reinterpret_cast<LPARAM>(&text));
  return text;
}

// The question the delete button asks names the port chosen in the list; it is answered
// with Cancel.
std::wstring AskToDeleteAndCancel(DWORD processId, HWND main) {
  PostKey(main, VK_SPACE);
  const HWND box = WaitForWindow(processId, L"#32770", 10s);
  if (box == nullptr) return L"(no question)";
  const std::wstring text = DialogText(box);
  PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
  // Keys posted before the question has gone would reach a disabled window.
  if (!WaitUntil([&] { return !IsWindow(box) && IsWindowEnabled(main) != FALSE; }, 5s)) {
    return L"(the question stayed after Cancel)";
  }
  return text;
}

}  // namespace

// A printer added through the spooler is chosen in the removal wizard by clicks and typing
// and is gone afterwards. Its driver is chosen too: Wine refuses the deletion with the
// removal's flags (87), and the run still ends with the finish bar.
TEST_F(ExeWindow, RemovesAPrinterChosenInTheRemovalWizard) {
  // A driver name that a family name holds, so the family filter lists it; a printer
  // name of its own, found by the search.
  const std::wstring driver = L"Quorvel-A4";
  const std::wstring printer = L"Removal test printer";
  DeletePrinterByName(printer);  // left by a run that was cut short
  ASSERT_TRUE(InstallTestDriver(driver) && AddTestPrinter(printer, driver))
      << "the spooler refused the test printer: " << GetLastError();
  ASSERT_TRUE(PrinterListed(printer));

  Product product;
  ASSERT_TRUE(product.Started()) << "CreateProcessW failed: " << product.StartError();
  const HWND main = WaitForWindow(product.Id(), L"MainWnd");
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(RemoveByClicks(main, L"removal test", driver));
  EXPECT_TRUE(WaitUntil([&] { return !PrinterListed(printer); }, 20s)) << "the printer is still there";
  // The removal's flags are refused under Wine: the driver stays.
  EXPECT_TRUE(DriverListed(driver));
  EXPECT_FALSE(product.WaitForExit(2s).has_value()) << "the program ended during the removal";

  Click(main, kMainClose);
  const auto code = product.WaitForExit();
  ASSERT_TRUE(code.has_value());
  EXPECT_EQ(*code, 0u);
}

// By keys alone from the index page to the port list (Enter is Next: index, port kind with
// COM chosen, model, port list), where Wine's own COM ports are listed: the first is
// chosen, and Down chooses the next; the delete button's question names each.
TEST_F(ExeWindow, KeysLeadToThePortListWithWinesComPorts) {
  const std::vector<std::wstring> comPorts = ComPortsOfTheSpooler();
  const auto com1 = std::find(comPorts.begin(), comPorts.end(), L"COM1:");
  if (com1 == comPorts.end() || com1 + 1 == comPorts.end()) {
    GTEST_SKIP() << "the spooler lacks COM1: or a COM port after it";
  }
  Product product;
  ASSERT_TRUE(product.Started()) << "CreateProcessW failed: " << product.StartError();
  const HWND main = WaitForWindow(product.Id(), L"MainWnd");
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitUntilPainted(main)) << "the main window was not painted within 10 s";
  // Keys are handled in the order they are posted, and Next does its work at once; each
  // Enter is still awaited on the screen, so that a lost one is named.
  for (int step = 1; step <= 3; ++step) {
    const std::vector<COLORREF> before = ScreenPixelsOf(main);
    PostKey(main, VK_RETURN);
    ASSERT_TRUE(WaitUntilRepainted(main, before)) << "the window did not change and hold still after Enter " << step;
  }
  // The port list took the focus as its panel showed; the Tab order goes on with add,
  // delete, configure, Back, Next, Cancel and the four caption buttons (the Linux build's
  // test holds the same order).
  PostKey(main, VK_TAB, 2);
  const std::wstring first = AskToDeleteAndCancel(product.Id(), main);
  EXPECT_NE(first.find(L"COM1:"), std::wstring::npos) << Narrow(first);

  PostKey(main, VK_TAB, 9);  // round to the list
  PostKey(main, VK_DOWN);
  PostKey(main, VK_TAB, 2);  // to the delete button
  const std::wstring second = AskToDeleteAndCancel(product.Id(), main);
  EXPECT_NE(second.find(*(com1 + 1)), std::wstring::npos) << Narrow(second);

  Click(main, kMainClose);
  const auto code = product.WaitForExit();
  ASSERT_TRUE(code.has_value());
  EXPECT_EQ(*code, 0u);
}
