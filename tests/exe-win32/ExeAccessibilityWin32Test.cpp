// Reads the product's window as a screen reader would, through UI Automation from this
// separate process: the tree under the main window, with names, control types, automation
// ids and keyboard focus, on the index page and, after the install tile and Next, on
// the port page. Wine's core serves nodes, navigation and these properties across
// processes; bounds, patterns and events are left to the in-process provider tests.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "exe-win32/AccessibleTree.h"
#include "exe-win32/ProductWindow.h"
#include "exe-win32/UiAutomationClient.h"
#include "shell/EmbeddedPackage.h"
#include "ui/core/ResourceManager.h"

namespace {

using namespace exetest;

// The English text of a resource id, read from this program's copy of the package.
std::wstring EnglishText(const wchar_t* id) {
  auto& resources = ui::ResourceManager::Instance();
  if (resources.Package() == nullptr) resources.SetPackage(OpenEmbeddedPackage());
  if (!resources.LoadLanguage(L"lan_en.xml")) return L"(lan_en.xml unreadable)";
  return resources.GetText(id);
}

class ExeAccessibility : public testing::Test {
 protected:
  void SetUp() override {
    if (ProductPath().empty()) GTEST_SKIP() << "QUORVEL_PRODUCT_UNDER_TEST does not name the product";
    if (!client_.Ready()) GTEST_SKIP() << "uiautomationcore.dll lacks the client functions";
  }
  const UiaClient& client_ = SharedUiaClient();
};

TEST_F(ExeAccessibility, ReadsTheIndexPageAndThePortPage) {
  Product product;
  ASSERT_TRUE(product.Started()) << "error " << product.StartError();
  const HWND main = WaitForWindow(product.Id(), L"MainWnd");
  ASSERT_NE(main, nullptr) << "no main window";
  WaitUntilSettled(main);

  auto root = client_.FromHandle(main);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(client_.Number(*root, uia::kControlTypeProperty).value_or(0), uia::kWindowControl);
  EXPECT_EQ(Narrow(client_.Text(*root, uia::kNameProperty).value_or(L"")), Narrow(TitleOf(main)));

  const std::optional<std::vector<Element>> indexRead = ReadTreeWithin(main);
  ASSERT_TRUE(indexRead.has_value()) << "the read of the index page's tree did not return within 10 s";
  const std::vector<Element>& index = *indexRead;
  const bool english = TitleOf(main).rfind(EnglishText(L"mainTitle"), 0) == 0;
  // The caption's image buttons are named and are stops of the Tab order.
  for (const wchar_t* id : {L"btnLan", L"btnAbout", L"minbtn", L"closebtn"}) {
    const Element* button = ById(index, id);
    ASSERT_NE(button, nullptr) << Narrow(id) << " is not in the tree";
    EXPECT_EQ(button->controlType, uia::kButtonControl) << Narrow(id);
    EXPECT_FALSE(button->name.empty()) << Narrow(id) << " has no name";
    EXPECT_TRUE(button->focusable) << Narrow(id);
  }
  const Element* install = ById(index, L"option_install");
  ASSERT_NE(install, nullptr);
  EXPECT_EQ(install->controlType, uia::kRadioButtonControl);
  if (english) {
    EXPECT_EQ(Narrow(install->name), Narrow(EnglishText(L"mainInstallDriver")));
  }
  EXPECT_NE(ById(index, L"option_delete"), nullptr);
  EXPECT_EQ(ById(index, L"option_port_com"), nullptr) << "a hidden page's control is in the tree";
  EXPECT_LE(std::count_if(index.begin(), index.end(), [](const Element& e) { return e.focused; }), 1);

  // The tile chooses the installation; Next shows its first page, the port kinds.
  ASSERT_TRUE(WaitUntilPainted(main)) << "the main window was not painted within 10 s";
  ClickAt(main, kInstallTile);
  std::vector<Element> ports;
  ClickAt(main, kNextButton);
  ASSERT_TRUE(WaitForPanel(main, L"tab_panel_install_port", true, ports));
  for (const wchar_t* id : {L"option_port_usb", L"option_port_net", L"option_port_bluetooth", L"option_port_lpt",
                            L"option_port_com", L"option_port_custom"}) {
    const Element* option = ById(ports, id);
    ASSERT_NE(option, nullptr) << Narrow(id) << " is not in the tree";
    EXPECT_EQ(option->controlType, uia::kRadioButtonControl) << Narrow(id);
    EXPECT_FALSE(option->name.empty()) << Narrow(id) << " has no name";
  }
  EXPECT_EQ(ById(ports, L"option_install"), nullptr) << "the index page stayed in the tree";
  EXPECT_NE(ById(ports, L"btn_setup_previous"), nullptr);
  // Entering the page puts the keyboard focus in its chosen option, and only there.
  EXPECT_EQ(std::count_if(ports.begin(), ports.end(), [](const Element& e) { return e.focused; }), 1);
  const auto focused = std::find_if(ports.begin(), ports.end(), [](const Element& e) { return e.focused; });
  ASSERT_NE(focused, ports.end()) << "nothing has the keyboard focus on the port page";
  EXPECT_EQ(focused->controlType, uia::kRadioButtonControl) << Narrow(focused->automationId);
  EXPECT_TRUE(focused->focusable);

  Click(main, kMainClose);
  EXPECT_TRUE(product.WaitForExit().has_value());
}

}  // namespace
