// The skin layouts of the resource package: every control the program finds by name is
// there with the right class and attributes, every layout loads without a complaint, the
// texts are ids of every language file, and in every language each shown text fits its
// box and each control lies inside its parent.
//
// Set QUORVEL_SKIN_RENDERS to a folder to get a PNG of every page and popup per language.
#include <gtest/gtest.h>

#include <cairo.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/WideText.h"
#include "shell/EmbeddedPackage.h"
#include "shell/LanguageTexts.h"
#include "ui/UiTestSupport.h"
#include "ui/cairo/CanvasCairo.h"
#include "ui/controls/AnimatedImage.h"
#include "ui/controls/Button.h"
#include "ui/controls/Edit.h"
#include "ui/controls/Label.h"
#include "ui/controls/LayoutBuilder.h"
#include "ui/controls/List.h"
#include "ui/controls/ListHeader.h"
#include "ui/controls/ListHeaderItem.h"
#include "ui/controls/ListRow.h"
#include "ui/controls/Option.h"
#include "ui/controls/RichEdit.h"
#include "ui/controls/TabLayout.h"
#include "ui/core/ResourceManager.h"

namespace {

using uitest::TestWindow;

// ---- what the program relies on, per file ---------------------------------------------

enum class Kind { Container, Tab, Label, Button, Option, Edit, RichEdit, List, Animation };

struct Expected {
  const wchar_t* name;
  Kind kind;
};

bool IsKind(ui::Control* control, Kind kind) {
  switch (kind) {
    case Kind::Container:
      return dynamic_cast<ui::Container*>(control) != nullptr;
    case Kind::Tab:
      return dynamic_cast<ui::TabLayout*>(control) != nullptr;
    case Kind::Label:
      return dynamic_cast<ui::Label*>(control) != nullptr;
    case Kind::Button:
      return dynamic_cast<ui::Button*>(control) != nullptr;
    case Kind::Option:
      return dynamic_cast<ui::Option*>(control) != nullptr;
    case Kind::Edit:
      return dynamic_cast<ui::Edit*>(control) != nullptr;
    case Kind::RichEdit:
      return dynamic_cast<ui::RichEdit*>(control) != nullptr;
    case Kind::List:
      return dynamic_cast<ui::List*>(control) != nullptr;
    case Kind::Animation:
      return dynamic_cast<ui::AnimatedImage*>(control) != nullptr;
  }
  return false;
}

const std::vector<Expected> kMainNames = {
    {L"title_lb", Kind::Label},
    {L"btnLan", Kind::Button},
    {L"btnAbout", Kind::Button},
    {L"minbtn", Kind::Button},
    {L"closebtn", Kind::Button},
    {L"tab_switch", Kind::Tab},
    {L"option_install", Kind::Option},
    {L"option_delete", Kind::Option},
    {L"hor_bluetooth_adapter", Kind::Container},
    {L"label_bluetooth_adapter_info", Kind::Label},
    {L"hor_btn_h1", Kind::Container},
    {L"btn_setup_index", Kind::Button},
    {L"btn_setup_preferences", Kind::Button},
    {L"btn_setup_properties", Kind::Button},
    {L"btn_setup_testpage", Kind::Button},
    {L"btn_setup_cancel", Kind::Button},
    {L"hor_btn_h2", Kind::Container},
    {L"btn_setup_previous", Kind::Button},
    {L"btn_setup_next", Kind::Button},
};

const wchar_t* const kInstallPanels[] = {
    L"tab_panel_install_port",           L"tab_panel_install_search",
    L"tab_panel_install_search_USBlist", L"tab_panel_install_search_Bluelist",
    L"tab_panel_install_moudel",         L"tab_panel_install_portList",
    L"tab_panel_install_portLan",        L"tab_panel_install_printerName",
    L"tab_panel_install_readyInstall",   L"tab_panel_install_installing",
};

const std::vector<Expected> kInstallNames = {
    {L"tab_switch_install", Kind::Tab},
    {L"option_port_usb", Kind::Option},
    {L"option_port_net", Kind::Option},
    {L"option_port_bluetooth", Kind::Option},
    {L"option_port_lpt", Kind::Option},
    {L"option_port_com", Kind::Option},
    {L"option_port_custom", Kind::Option},
    {L"ani_gif", Kind::Animation},
    {L"listex_install_show_usb", Kind::List},
    {L"btn_test_usb", Kind::Button},
    {L"listex_install_show_blue", Kind::List},
    {L"edit_usecustom_pin", Kind::Edit},
    {L"listex_install_driver_moudel", Kind::List},
    {L"listex_install_driver_port", Kind::List},
    {L"btn_port_add", Kind::Button},
    {L"btn_port_delete", Kind::Button},
    {L"btn_port_configure", Kind::Button},
    {L"edit_install_lan_ip", Kind::Edit},
    {L"edit_install_lan_portName", Kind::Edit},
    {L"label_show_lanPort_info", Kind::Label},
    {L"edit_install_printer_name", Kind::Edit},
    {L"label_show_printername_info", Kind::Label},
    {L"option_selected_defaultPrinter", Kind::Option},
    {L"label_ready_driverName", Kind::Label},
    {L"label_ready_portName", Kind::Label},
    {L"label_ready_printerName", Kind::Label},
    {L"label_ready_prinerDefault", Kind::Label},
    {L"wordedit_installInfo", Kind::RichEdit},
    {L"ani_gif_install", Kind::Animation},
};

const wchar_t* const kDeletePanels[] = {
    L"tab_panel_delete_printer",
    L"tab_panel_delete_driver",
    L"tab_panel_delete_ready",
    L"tab_panel_delete_start",
};

const std::vector<Expected> kDeleteNames = {
    {L"tab_switch_delete", Kind::Tab},
    {L"btnsearch_printer", Kind::Button},
    {L"edit_find_deletePrinter", Kind::Edit},
    {L"listex_delete_printer", Kind::List},
    {L"option_showAll_deletePrinter", Kind::Option},
    {L"btnsearch_driver", Kind::Button},
    {L"edit_find_deleteDriver", Kind::Edit},
    {L"listex_delete_driver", Kind::List},
    {L"option_showAll_deleteDriver", Kind::Option},
    {L"wordedit_deleteInfo", Kind::RichEdit},
    {L"wordedit_deleteInfo_start", Kind::RichEdit},
    {L"ani_gif_delete", Kind::Animation},
};

const std::vector<Expected> kAboutNames = {
    {L"title_lb", Kind::Label}, {L"closebtn", Kind::Button}, {L"app_version", Kind::Label}, {L"app_time", Kind::Label}};
const std::vector<Expected> kLanguageNames = {{L"title_lb", Kind::Label},
                                              {L"closebtn", Kind::Button},
                                              {L"verLanList", Kind::Container},
                                              {L"lantext", Kind::Label}};
const std::vector<Expected> kAddPortNames = {{L"title_lb", Kind::Label},
                                             {L"closebtn", Kind::Button},
                                             {L"listex_addport_type", Kind::List},
                                             {L"btn_port_add", Kind::Button},
                                             {L"btn_port_cancel", Kind::Button}};

void ExpectNames(const ui::WindowTree& tree, const std::vector<Expected>& names, const std::string& file) {
  for (const auto& [name, kind] : names) {
    ui::Control* control = tree.FindControl(name);
    EXPECT_NE(control, nullptr) << file << " lacks \"" << WideToUtf8(name) << "\"";
    if (control != nullptr) {
      EXPECT_TRUE(IsKind(control, kind)) << file << ": \"" << WideToUtf8(name) << "\" is a "
                                         << WideToUtf8(control->GetClass());
    }
  }
}

void ForEachControl(ui::Control* control, const std::function<void(ui::Control*)>& visit) {
  if (control == nullptr) return;
  visit(control);
  for (int i = 0; i < control->GetChildCount(); ++i) ForEachControl(control->GetChildAt(i), visit);
}

struct Look {
  const char* code;
  int fontSize;  // the windows' default font in this language
};
const Look kLooks[] = {{"en", 14}, {"th", 20}, {"cn", 14}, {"es", 14}, {"ja", 14}, {"ko", 18}, {"pt", 14}};

std::wstring LanguageFile(const Look& look) {
  return L"lan_" + Utf8ToWide(look.code) + L".xml";
}

// ---- the fixture ----------------------------------------------------------------------

class SkinLayouts : public uitest::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    auto& resources = ui::ResourceManager::Instance();
    saved_ = resources.Package();
    resources.SetPackage(OpenEmbeddedPackage());
    ASSERT_NE(resources.Package(), nullptr);
    ASSERT_TRUE(resources.LoadResourceIndex("res.xml"));
    ASSERT_TRUE(resources.LoadLanguage(L"lan_en.xml"));
  }
  void TearDown() override {
    UiTest::TearDown();
    ui::ResourceManager::Instance().SetPackage(saved_);
  }

  // A layout built into a tree of its own, as a window builds it; nothing may be reported.
  std::unique_ptr<ui::WindowTree> Build(const std::wstring& file) {
    auto tree = std::make_unique<ui::WindowTree>();
    testing::internal::CaptureStderr();
    auto root = ui::LayoutBuilder(*tree).Build(file);
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_EQ(report, "") << WideToUtf8(file) << " reports problems";
    EXPECT_NE(root, nullptr) << WideToUtf8(file);
    tree->SetRoot(std::move(root));
    return tree;
  }

  std::shared_ptr<ResourcePackage> saved_;
};

// ---- names, classes and attributes ------------------------------------------------------

TEST_F(SkinLayouts, MainLayoutHasEveryNamedControlAndTheWindowAttributes) {
  auto tree = Build(L"XML_MAIN");
  ExpectNames(*tree, kMainNames, "main.xml");
  ExpectNames(*tree, kInstallNames, "main.xml (install wizard)");
  ExpectNames(*tree, kDeleteNames, "main.xml (removal wizard)");

  const ui::WindowAttributes& window = tree->Attributes();
  EXPECT_EQ(window.size, (ui::Size{700, 500}));
  EXPECT_EQ(window.minSize, (ui::Size{560, 400}));
  EXPECT_EQ(window.caption, (ui::Rect{0, 0, 0, 64}));
  EXPECT_EQ(window.sizeBox, (ui::Rect{4, 4, 6, 6}));
  EXPECT_EQ(window.shadowImage, L"main/shadow.png");
  EXPECT_EQ(window.shadowSize, 6);
  EXPECT_EQ(window.shadowCorner, (ui::Rect{8, 8, 8, 8}));
  EXPECT_EQ(window.bkColor, 0xFFFFFFFFu);

  // The shared fonts; 14 is the default.
  const std::pair<int, int> fonts[] = {{0, 13}, {1, 12}, {2, 16}, {3, 18}, {20, 16}, {22, 22}, {14, 14}};
  for (const auto& [id, size] : fonts) {
    EXPECT_TRUE(tree->HasFont(id)) << id;
    EXPECT_EQ(tree->GetFont(id).size, size) << id;
  }
  EXPECT_TRUE(tree->GetFont(20).bold);
  EXPECT_FALSE(tree->GetFont(22).bold);
  EXPECT_EQ(tree->GetFont(-1).size, 14);
  for (const wchar_t* style : {L"radio_style", L"cb_style", L"colorbtn_style", L"listex_item_style"}) {
    EXPECT_NE(tree->FindStyle(style), nullptr) << WideToUtf8(style);
  }

  // The three pages of the body, in order.
  auto* tabs = tree->FindControl<ui::TabLayout>(L"tab_switch");
  ASSERT_NE(tabs, nullptr);
  ASSERT_EQ(tabs->GetChildCount(), 3);
  EXPECT_NE(tabs->GetChildAt(0)->FindSubControl(L"option_install"), nullptr);
  EXPECT_EQ(tabs->GetChildAt(1)->GetName(), L"tab_switch_install");
  EXPECT_EQ(tabs->GetChildAt(2)->GetName(), L"tab_switch_delete");
  EXPECT_EQ(tabs->GetCurSel(), 0);

  auto* install = tree->FindControl<ui::Option>(L"option_install");
  auto* remove = tree->FindControl<ui::Option>(L"option_delete");
  ASSERT_NE(install, nullptr);
  ASSERT_NE(remove, nullptr);
  EXPECT_TRUE(install->IsSelected());
  EXPECT_FALSE(remove->IsSelected());
  EXPECT_FALSE(install->GetGroup().empty());
  EXPECT_EQ(install->GetGroup(), remove->GetGroup());

  // Texts that the program sets are ids on these two, and plain text on the name check.
  EXPECT_TRUE(tree->FindControl(L"btn_setup_next")->IsResourceText());
  EXPECT_TRUE(tree->FindControl(L"label_bluetooth_adapter_info")->IsResourceText());
  EXPECT_FALSE(tree->FindControl(L"label_show_printername_info")->IsResourceText());
  EXPECT_FALSE(tree->FindControl(L"label_show_lanPort_info")->IsResourceText());
  for (const wchar_t* value :
       {L"label_ready_driverName", L"label_ready_portName", L"label_ready_printerName", L"label_ready_prinerDefault"}) {
    EXPECT_FALSE(tree->FindControl(value)->IsResourceText()) << WideToUtf8(value);
  }

  // At start the Bluetooth row and the finish bar are hidden, the wizard bar shown.
  EXPECT_FALSE(tree->FindControl(L"hor_bluetooth_adapter")->IsVisible());
  EXPECT_FALSE(tree->FindControl(L"hor_btn_h1")->IsVisible());
  EXPECT_TRUE(tree->FindControl(L"hor_btn_h2")->IsVisible());
  EXPECT_FALSE(tree->FindControl(L"ani_gif_install")->IsVisible());
  EXPECT_FALSE(tree->FindControl(L"ani_gif_delete")->IsVisible());

  // Each bar has its own "btn_setup_cancel".
  const std::pair<const wchar_t*, const wchar_t*> cancels[] = {{L"hor_btn_h1", L"main.btn.close"},
                                                               {L"hor_btn_h2", L"main.btn.cancel"}};
  for (const auto& [bar, text] : cancels) {
    ui::Control* cancel = tree->FindControl(bar)->FindSubControl(L"btn_setup_cancel");
    ASSERT_NE(cancel, nullptr) << WideToUtf8(bar);
    EXPECT_EQ(cancel->GetRawText(), text);
  }

  // The caption buttons report to the page receiver.
  for (const wchar_t* button : {L"btnLan", L"btnAbout", L"minbtn", L"closebtn"}) {
    EXPECT_EQ(tree->FindControl(button)->GetVirtualWnd(), L"mainpage") << WideToUtf8(button);
  }
  const std::pair<const wchar_t*, const wchar_t*> tips[] = {
      {L"btnLan", L"Language"}, {L"btnAbout", L"About"}, {L"minbtn", L"Minimize"}, {L"closebtn", L"Close"}};
  for (const auto& [button, tip] : tips) EXPECT_EQ(tree->FindControl(button)->GetToolTip(), tip);
}

TEST_F(SkinLayouts, InstallWizardHasItsTenPanelsAndWhatTheyNeed) {
  Build(L"XML_MAIN");  // the shared fonts and styles, as the main window brings them
  auto tree = Build(L"tab_switch_install.xml");
  ExpectNames(*tree, kInstallNames, "tab_switch_install.xml");
  auto* tabs = tree->FindControl<ui::TabLayout>(L"tab_switch_install");
  ASSERT_NE(tabs, nullptr);
  ASSERT_EQ(tabs->GetChildCount(), 10);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(tabs->GetChildAt(i)->GetName(), kInstallPanels[i]) << i;

  // The port kinds: user data is the kind's value, one group.
  const wchar_t* const ports[] = {L"option_port_usb", L"option_port_net", L"option_port_bluetooth",
                                  L"option_port_lpt", L"option_port_com", L"option_port_custom"};
  const wchar_t* const texts[] = {L"title.usb", L"title.net", L"title.bluetooth",
                                  L"title.lpt", L"title.com", L"title.custom"};
  for (int kind = 0; kind < 6; ++kind) {
    auto* option = tree->FindControl<ui::Option>(ports[kind]);
    ASSERT_NE(option, nullptr) << WideToUtf8(ports[kind]);
    EXPECT_EQ(option->GetUserData(), std::to_wstring(kind)) << WideToUtf8(ports[kind]);
    EXPECT_EQ(option->GetGroup(), L"portList") << WideToUtf8(ports[kind]);
    EXPECT_EQ(option->GetRawText(), texts[kind]);
    EXPECT_TRUE(option->IsResourceText());
    EXPECT_EQ(tabs->GetChildAt(0)->FindSubControl(ports[kind]), option);
  }

  auto* pin = tree->FindControl<ui::Edit>(L"edit_usecustom_pin");
  ASSERT_NE(pin, nullptr);
  EXPECT_EQ(pin->GetMaxChar(), 16);
  auto* asDefault = tree->FindControl<ui::Option>(L"option_selected_defaultPrinter");
  ASSERT_NE(asDefault, nullptr);
  EXPECT_TRUE(asDefault->IsSelected());
  EXPECT_TRUE(asDefault->GetGroup().empty());  // a check box, not one of a group

  // Each control sits on the panel that the wizard shows for it.
  const std::pair<int, const wchar_t*> placed[] = {{1, L"ani_gif"},
                                                   {2, L"listex_install_show_usb"},
                                                   {2, L"btn_test_usb"},
                                                   {3, L"listex_install_show_blue"},
                                                   {3, L"edit_usecustom_pin"},
                                                   {4, L"listex_install_driver_moudel"},
                                                   {5, L"listex_install_driver_port"},
                                                   {5, L"btn_port_configure"},
                                                   {6, L"edit_install_lan_ip"},
                                                   {6, L"label_show_lanPort_info"},
                                                   {7, L"edit_install_printer_name"},
                                                   {7, L"label_show_printername_info"},
                                                   {8, L"label_ready_prinerDefault"},
                                                   {9, L"wordedit_installInfo"},
                                                   {9, L"ani_gif_install"}};
  for (const auto& [panel, name] : placed) {
    EXPECT_NE(tabs->GetChildAt(panel)->FindSubControl(name), nullptr) << WideToUtf8(name) << " not on panel " << panel;
  }

  // List headers: a column for the radio mark, then the titled columns.
  const std::pair<const wchar_t*, std::vector<std::wstring>> headers[] = {
      {L"listex_install_show_usb", {L"", L"tab.install.title.usb.port", L"tab.install.title.usb.pidvid"}},
      {L"listex_install_show_blue", {L"", L"tab.install.title.bluetooth.name", L"tab.install.title.bluetooth.mac"}},
      {L"listex_install_driver_moudel", {L"", L"tab.install.title.printer.model"}},
      {L"listex_install_driver_port",
       {L"", L"tab.install.title.portlist.port", L"tab.install.title.portlist.monitor",
        L"tab.install.title.portlist.desc"}}};
  for (const auto& [name, columns] : headers) {
    auto* list = tree->FindControl<ui::List>(name);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->GetHeader()->GetChildCount(), static_cast<int>(columns.size())) << WideToUtf8(name);
    for (size_t i = 0; i < columns.size(); ++i) {
      EXPECT_EQ(list->GetHeader()->GetColumn(static_cast<int>(i))->GetRawText(), columns[i]) << WideToUtf8(name);
    }
    EXPECT_EQ(list->CheckColumn(), -1);
  }

  auto* log = tree->FindControl<ui::RichEdit>(L"wordedit_installInfo");
  EXPECT_EQ(log->GetFont(), 2);
}

TEST_F(SkinLayouts, RemovalWizardHasItsFourPanelsAndCheckableLists) {
  Build(L"XML_MAIN");
  auto tree = Build(L"tab_switch_delete.xml");
  ExpectNames(*tree, kDeleteNames, "tab_switch_delete.xml");
  auto* tabs = tree->FindControl<ui::TabLayout>(L"tab_switch_delete");
  ASSERT_NE(tabs, nullptr);
  ASSERT_EQ(tabs->GetChildCount(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(tabs->GetChildAt(i)->GetName(), kDeletePanels[i]) << i;

  const struct {
    const wchar_t* list;
    int checkWidth;
    const wchar_t* title;
    int panel;
  } lists[] = {{L"listex_delete_printer", 30, L"gb.title.printer", 0},
               {L"listex_delete_driver", 50, L"tab.delete.title.deletedriver.name", 1}};
  for (const auto& expected : lists) {
    auto* list = tree->FindControl<ui::List>(expected.list);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(tabs->GetChildAt(expected.panel)->FindSubControl(expected.list), list);
    ASSERT_EQ(list->GetHeader()->GetChildCount(), 2);
    EXPECT_EQ(list->CheckColumn(), 0);
    EXPECT_EQ(list->GetHeader()->GetColumn(0)->GetFixedWidth(), expected.checkWidth);
    EXPECT_EQ(list->GetHeader()->GetColumn(1)->GetRawText(), expected.title);
  }
  for (const wchar_t* name : {L"option_showAll_deletePrinter", L"option_showAll_deleteDriver"}) {
    auto* option = tree->FindControl<ui::Option>(name);
    EXPECT_TRUE(option->GetGroup().empty()) << WideToUtf8(name);
    EXPECT_FALSE(option->IsSelected()) << WideToUtf8(name);
  }
  EXPECT_NE(tabs->GetChildAt(3)->FindSubControl(L"wordedit_deleteInfo_start"), nullptr);
  EXPECT_NE(tabs->GetChildAt(3)->FindSubControl(L"ani_gif_delete"), nullptr);
  EXPECT_NE(tabs->GetChildAt(2)->FindSubControl(L"wordedit_deleteInfo"), nullptr);
}

TEST_F(SkinLayouts, PopupsHaveTheirControlsAndSizes) {
  Build(L"XML_MAIN");
  auto about = Build(L"pop_about.xml");
  ExpectNames(*about, kAboutNames, "pop_about.xml");
  EXPECT_EQ(about->Attributes().size, (ui::Size{430, 150}));
  EXPECT_EQ(about->Attributes().minSize, (ui::Size{430, 150}));
  EXPECT_EQ(about->Attributes().maxSize, (ui::Size{430, 150}));
  EXPECT_EQ(about->Attributes().caption.bottom, 97);
  EXPECT_EQ(about->Attributes().shadowImage, L"main/shadow.png");
  EXPECT_GT(about->Attributes().shadowSize, 0);
  EXPECT_EQ(about->FindControl(L"title_lb")->GetRawText(), L"about.title");
  EXPECT_TRUE(about->FindControl(L"title_lb")->IsResourceText());
  EXPECT_EQ(about->FindControl(L"app_version")->GetFont(), 2);
  EXPECT_EQ(about->FindControl(L"app_time")->GetFont(), 2);
  EXPECT_EQ(about->FindControl(L"closebtn")->GetToolTip(), L"Close");
  // The contact lines stay out of the box.
  for (const wchar_t* id : {L"about.company", L"about.contact", L"about.email", L"about.website"}) {
    ForEachControl(about->GetRoot(), [&](ui::Control* control) {
      EXPECT_NE(control->GetRawText(), id) << "pop_about.xml shows " << WideToUtf8(id);
    });
  }

  auto language = Build(L"pop_language.xml");
  ExpectNames(*language, kLanguageNames, "pop_language.xml");
  EXPECT_EQ(language->Attributes().size, (ui::Size{500, 400}));
  EXPECT_EQ(language->Attributes().minSize, (ui::Size{600, 384}));
  EXPECT_EQ(language->FindControl(L"title_lb")->GetRawText(), L"lan.title");
  EXPECT_EQ(language->FindControl(L"verLanList")->GetChildCount(), 0);  // the code fills it

  auto addPort = Build(L"pop_add_port.xml");
  ExpectNames(*addPort, kAddPortNames, "pop_add_port.xml");
  EXPECT_EQ(addPort->FindControl(L"title_lb")->GetRawText(), L"addport.title");
  auto* monitors = addPort->FindControl<ui::List>(L"listex_addport_type");
  ASSERT_EQ(monitors->GetHeader()->GetChildCount(), 2);
  EXPECT_EQ(monitors->GetHeader()->GetColumn(1)->GetRawText(), L"tip.port");
  EXPECT_EQ(addPort->FindControl(L"btn_port_add")->GetRawText(), L"tip.add");
  EXPECT_EQ(addPort->FindControl(L"btn_port_cancel")->GetRawText(), L"tip.cancel");
}

TEST_F(SkinLayouts, RowTemplatesHoldTheRadioAndHiddenColumnLabels) {
  Build(L"XML_MAIN");
  ui::WindowTree tree;
  for (const wchar_t* file : {L"listitemex.xml", L"listitemex_blue.xml"}) {
    testing::internal::CaptureStderr();
    std::unique_ptr<ui::Control> row = ui::LayoutBuilder(tree).BuildTemplate(file);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << WideToUtf8(file);
    ASSERT_NE(dynamic_cast<ui::ListRow*>(row.get()), nullptr) << WideToUtf8(file) << " is no ListRow";
    auto* radio = row->FindSubControl<ui::Option>(L"option_listext");
    ASSERT_NE(radio, nullptr) << WideToUtf8(file);
    for (const wchar_t* label : {L"label1", L"label2", L"label3"}) {
      ui::Control* column = row->FindSubControl(label);
      ASSERT_TRUE(dynamic_cast<ui::Label*>(column) != nullptr) << WideToUtf8(file) << " " << WideToUtf8(label);
      EXPECT_FALSE(column->IsVisible()) << WideToUtf8(file) << " " << WideToUtf8(label);
    }
  }
  std::unique_ptr<ui::Control> blue = ui::LayoutBuilder(tree).BuildTemplate(L"listitemex_blue.xml");
  ui::Control* paired = blue->FindSubControl(L"label1_icon");
  ASSERT_NE(paired, nullptr);
  EXPECT_FALSE(paired->IsVisible());
  EXPECT_TRUE(paired->IsResourceText());
  EXPECT_EQ(paired->GetText(), L"Paired");
}

// Every text and tooltip is an id that each language file (with its extension file)
// defines, and no control shows a fixed text of its own.
TEST_F(SkinLayouts, EveryTextIsAnIdOfEveryLanguageFile) {
  Build(L"XML_MAIN");
  std::vector<std::string> files;
  for (const Look& look : kLooks) {
    std::string texts;
    for (const std::wstring& name : {LanguageFile(look), ExtensionFileName(LanguageFile(look))}) {
      auto bytes = ui::ResourceManager::Instance().ReadFile(WideToUtf8(name));
      ASSERT_TRUE(bytes) << WideToUtf8(name);
      texts.append(bytes->begin(), bytes->end());
    }
    files.push_back(std::move(texts));
  }
  for (const wchar_t* layout : {L"XML_MAIN", L"pop_about.xml", L"pop_language.xml", L"pop_add_port.xml",
                                L"listitemex.xml", L"listitemex_blue.xml"}) {
    auto tree = Build(layout);
    ForEachControl(tree->GetRoot(), [&](ui::Control* control) {
      const std::string where = WideToUtf8(layout) + ": \"" + WideToUtf8(control->GetName()) + "\"";
      if (!control->IsResourceText()) {
        EXPECT_EQ(control->GetRawText(), L"") << where << " has a fixed text";
        EXPECT_EQ(control->GetToolTip(), L"") << where << " has a fixed tooltip";
        return;
      }
      const std::wstring id = control->GetRawText();
      if (id.empty()) return;
      for (size_t i = 0; i < files.size(); ++i) {
        EXPECT_NE(files[i].find("id=\"" + WideToUtf8(id) + "\""), std::string::npos)
            << where << ": \"" << WideToUtf8(id) << "\" is not in lan_" << kLooks[i].code << ".xml";
      }
    });
  }
}

// ---- the windows in every language --------------------------------------------------------

class TextMeter {
 public:
  TextMeter() : surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1)), cr_(cairo_create(surface_)) {}
  ~TextMeter() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
  }
  ui::Size Measure(const std::wstring& text, const ui::FontSpec& font, int width, unsigned format) {
    ui::CanvasCairo canvas(cr_);
    return canvas.MeasureText(text, font, width, format);
  }

 private:
  cairo_surface_t* surface_;
  cairo_t* cr_;
};

// Every shown text fits its box (those named in mayShorten may end in an ellipsis), and
// every shown control lies inside its parent (unless the parent scrolls).
void ExpectTidy(ui::WindowTree& tree, ui::Control* control, const std::string& where, TextMeter& meter,
                const std::vector<std::wstring>& mayShorten) {
  if (!control->IsVisible()) return;
  const ui::Rect box = control->GetPos();
  auto* label = dynamic_cast<ui::Label*>(control);
  const bool shortens = std::find(mayShorten.begin(), mayShorten.end(), control->GetName()) != mayShorten.end();
  if (!shortens && label != nullptr && dynamic_cast<ui::Edit*>(control) == nullptr && !label->GetText().empty()) {
    const ui::Rect padding = label->GetTextPadding();
    ui::Rect text = box.Deflate(
        {tree.Scaled(padding.left), tree.Scaled(padding.top), tree.Scaled(padding.right), tree.Scaled(padding.bottom)});
    if (dynamic_cast<ui::Option*>(control) != nullptr) text.left = std::max(text.left, box.left + tree.Scaled(20));
    const ui::FontSpec font = tree.GetFont(label->GetFont());
    const std::string what =
        where + ": \"" + WideToUtf8(control->GetName()) + "\" (" + WideToUtf8(label->GetText()) + ")";
    if (label->GetTextFormat() & ui::kTextWordBreak) {
      const ui::Size needed = meter.Measure(label->GetText(), font, text.Width(), ui::kTextWordBreak);
      EXPECT_LE(needed.cy, text.Height()) << what << " needs more lines than it has room for";
    } else {
      const ui::Size needed = meter.Measure(label->GetText(), font, 0, ui::kTextSingleLine);
      EXPECT_LE(needed.cx, text.Width()) << what << " is clipped";
      // The measured line includes its leading, which may overrun by a sixteenth.
      EXPECT_LE(needed.cy, box.Height() * 17 / 16) << what << " is taller than its box";
    }
  }
  auto* container = dynamic_cast<ui::Container*>(control);
  for (int i = 0; i < control->GetChildCount(); ++i) {
    ui::Control* child = control->GetChildAt(i);
    if (!child->IsVisible()) continue;
    const ui::Rect inner = child->GetPos();
    if (container == nullptr || container->GetScrollRange() == 0) {
      EXPECT_TRUE(inner.left >= box.left && inner.top >= box.top && inner.right <= box.right &&
                  inner.bottom <= box.bottom)
          << where << ": \"" << WideToUtf8(child->GetName()) << "\" (" << WideToUtf8(child->GetClass())
          << ") sticks out of \"" << WideToUtf8(control->GetName()) << "\"";
    }
    ExpectTidy(tree, child, where, meter, mayShorten);
  }
}

class SkinRenders : public SkinLayouts {
 protected:
  // Opens a layout as a window and puts it in a language, as the main window would.
  TestWindow* OpenIn(const std::wstring& layout, const Look& look) {
    auto& resources = ui::ResourceManager::Instance();
    EXPECT_TRUE(resources.LoadLanguage(LanguageFile(look)));
    testing::internal::CaptureStderr();
    TestWindow* window = Open(layout);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << WideToUtf8(layout);
    window->Tree().SetDefaultFont(ui::FontDef{L"宋体", look.fontSize});
    return window;
  }

  void CheckMainPages(TestWindow* window, const Look& look, const std::string& size);

  void Check(TestWindow* window, const std::string& page, const Look& look,
             const std::vector<std::wstring>& mayShorten = {}) {
    host_->RunUntilIdle();
    const std::string where = std::string(look.code) + " " + page;
    ExpectTidy(window->Tree(), window->Tree().GetRoot(), where, meter_, mayShorten);
    if (const char* folder = std::getenv("QUORVEL_SKIN_RENDERS")) {
      const std::filesystem::path path = std::filesystem::path(folder) / (std::string(look.code) + "-" + page + ".png");
      EXPECT_TRUE(host_->RenderToPng(window->GetHWND(), path.string())) << path;
    }
  }

  TextMeter meter_;
};

ui::ListRow* AddTemplateRow(ui::List* list, const std::vector<std::wstring>& columns, const std::wstring& group) {
  ui::ListRow* row = list->AddRow();
  for (size_t i = 0; i < columns.size(); ++i) {
    if (!columns[i].empty()) row->SetColumnText(static_cast<int>(i) + 1, columns[i]);
  }
  if (auto* radio = row->FindSubControl<ui::Option>(L"option_listext")) radio->SetGroup(group);
  return row;
}

ui::ListRow* AddCheckRow(ui::List* list, const std::wstring& text, bool checked) {
  ui::ListRow* added = list->AddRow();
  added->SetFixedHeight(30);
  EXPECT_TRUE(added->SetAttribute(L"style", L"listex_item_style"));
  added->SetColumnText(1, text);
  added->SetChecked(checked);
  return added;
}

// The main window with data in every list, as the wizard fills them.
void FillMainWindow(TestWindow* window) {
  const std::wstring title = ui::GetText(L"mainTitle") + L"  V1.0.01";
  window->FindControl<ui::Label>(L"title_lb")->SetText(title);

  auto* usb = window->FindControl<ui::List>(L"listex_install_show_usb");
  AddTemplateRow(usb, {L"USB001", L"VID_0483&PID_5743"}, L"listex_install_show_usb_group");
  AddTemplateRow(usb, {L"USB002", L"VID_1FC9&PID_2016"}, L"listex_install_show_usb_group");
  usb->SelectRow(0);

  auto* blue = window->FindControl<ui::List>(L"listex_install_show_blue");
  ui::ListRow* paired =
      AddTemplateRow(blue, {L"Quorvel-A4 BT", L"00:1B:10:A4:3C:7E"}, L"listex_install_show_blue_group");
  paired->FindSubControl(L"label1_icon")->SetVisible(true);
  AddTemplateRow(blue, {L"Phone", L"5C:F9:38:0A:11:02"}, L"listex_install_show_blue_group");
  window->FindControl<ui::Edit>(L"edit_usecustom_pin")->SetText(L"9371");

  auto* models = window->FindControl<ui::List>(L"listex_install_driver_moudel");
  for (const wchar_t* model : {L"QuorvelA4-203", L"QuorvelA4-300"}) {
    AddTemplateRow(models, {model}, L"listex_install_driver_moudel_group");
  }
  models->SelectRow(1);

  auto* ports = window->FindControl<ui::List>(L"listex_install_driver_port");
  AddTemplateRow(ports, {L"COM1:", L"Local Port", L"Local Port"}, L"listex_install_driver_port_group");
  AddTemplateRow(ports, {L"COM2:", L"Local Port", L"Local Port"}, L"listex_install_driver_port_group");
  ports->SelectRow(0);

  window->FindControl<ui::Edit>(L"edit_install_lan_ip")->SetText(L"192.168.1.100");
  window->FindControl<ui::Edit>(L"edit_install_lan_portName")->SetText(L"192.168.1.100_1");
  window->FindControl<ui::Label>(L"label_show_lanPort_info")->SetText(L"端口已存在，请重新输入");
  window->FindControl<ui::Edit>(L"edit_install_printer_name")->SetText(L"QuorvelA4-300 (1)");
  window->FindControl<ui::Label>(L"label_show_printername_info")->SetText(L"打印机名称:QuorvelA4-300 (1) 可以使用");

  window->FindControl<ui::Label>(L"label_ready_driverName")->SetText(L"QuorvelA4-300");
  window->FindControl<ui::Label>(L"label_ready_portName")->SetText(L"192.168.1.100_1");
  window->FindControl<ui::Label>(L"label_ready_printerName")->SetText(L"QuorvelA4-300 (1)");
  window->FindControl<ui::Label>(L"label_ready_prinerDefault")->SetText(ui::GetText(L"tip.yes"));

  auto* log = window->FindControl<ui::RichEdit>(L"wordedit_installInfo");
  log->AppendText(L"09:05:03.007 : " + ui::GetText(L"tip.startcopyfile") + L"\r\n", 0xFF0000FF, 225);
  log->AppendText(L"09:05:03.412 : " + ui::GetText(L"tip.copyfilesuccess") + L"\r\n", 0xFF0000FF, 225);
  log->AppendText(L"09:05:04.020 : " + ui::GetText(L"tip.installdriverfail2") + L"\r\n", 0xFFFF0000, 225);

  auto* printers = window->FindControl<ui::List>(L"listex_delete_printer");
  AddCheckRow(printers, L"QuorvelA4-300", true);
  AddCheckRow(printers, L"QuorvelA4-203 (1)", false);
  auto* drivers = window->FindControl<ui::List>(L"listex_delete_driver");
  AddCheckRow(drivers, L"QuorvelA4-300", false);
  auto* summary = window->FindControl<ui::RichEdit>(L"wordedit_deleteInfo");
  summary->AppendText(ui::GetText(L"gb.title.printer") + L":\r\n     QuorvelA4-300\r\n" +
                      ui::GetText(L"gb.title.driver") + L":\r\n");
  window->FindControl<ui::RichEdit>(L"wordedit_deleteInfo_start")
      ->AppendText(L"09:06:10.100 : Start deleting the printer: QuorvelA4-300\r\n", 0xFF0000FF, 225);
}

// The template rows' labels lie under the header column of their number.
void ExpectColumnsLineUp(ui::WindowTree& tree, const wchar_t* listName) {
  auto* list = tree.FindControl<ui::List>(listName);
  ASSERT_NE(list, nullptr);
  ASSERT_GT(list->GetRowCount(), 0);
  ui::ListRow* row = list->GetRow(0);
  for (int column = 1; column < list->GetHeader()->GetChildCount(); ++column) {
    ui::Control* label = row->FindSubControl(L"label" + std::to_wstring(column));
    ASSERT_NE(label, nullptr);
    ASSERT_TRUE(label->IsVisible()) << WideToUtf8(listName) << " column " << column;
    const ui::Rect title = list->GetHeader()->GetChildAt(column)->GetPos();
    EXPECT_EQ(label->GetPos().left, title.left) << WideToUtf8(listName) << " column " << column;
    // The Bluetooth name shares its column with the "paired" mark.
    if (label->GetParent() == row) {
      EXPECT_EQ(label->GetPos().right, title.right) << WideToUtf8(listName) << " column " << column;
    } else {
      EXPECT_EQ(label->GetParent()->GetPos().right, title.right) << WideToUtf8(listName) << " column " << column;
    }
  }
}

// Every page and state of the main window, as the wizard shows them.
void SkinRenders::CheckMainPages(TestWindow* window, const Look& look, const std::string& size) {
  // At the minimum size the caption title may end in an ellipsis (it is the window's
  // caption text as well); nothing else may.
  const std::vector<std::wstring> mayShorten =
      size == "min-" ? std::vector<std::wstring>{L"title_lb"} : std::vector<std::wstring>{};
  auto* tabs = window->FindControl<ui::TabLayout>(L"tab_switch");
  auto* install = window->FindControl<ui::TabLayout>(L"tab_switch_install");
  auto* removal = window->FindControl<ui::TabLayout>(L"tab_switch_delete");
  install->SetAnimation(false);
  removal->SetAnimation(false);

  tabs->SelectItem(0);
  Check(window, size + "index", look, mayShorten);

  tabs->SelectItem(1);
  for (int panel = 0; panel < 10; ++panel) {
    install->SelectItem(panel);
    Check(window, size + "install-" + std::to_string(panel), look, mayShorten);
  }
  ExpectColumnsLineUp(window->Tree(), L"listex_install_show_usb");
  ExpectColumnsLineUp(window->Tree(), L"listex_install_show_blue");
  ExpectColumnsLineUp(window->Tree(), L"listex_install_driver_moudel");
  ExpectColumnsLineUp(window->Tree(), L"listex_install_driver_port");

  // The port page with the Bluetooth adapter notice.
  install->SelectItem(0);
  window->FindControl(L"hor_bluetooth_adapter")->SetVisible(true);
  window->FindControl(L"label_bluetooth_adapter_info")->SetText(L"tip.btadapter.none");
  Check(window, size + "install-0-bluetooth", look, mayShorten);
  window->FindControl(L"hor_bluetooth_adapter")->SetVisible(false);

  // The installing page while it runs, then with the finish bar.
  install->SelectItem(9);
  window->FindControl(L"hor_btn_h2")->SetVisible(false);
  window->FindControl(L"ani_gif_install")->SetVisible(true);
  Check(window, size + "install-9-running", look, mayShorten);
  window->FindControl(L"ani_gif_install")->SetVisible(false);
  window->FindControl(L"hor_btn_h1")->SetVisible(true);
  Check(window, size + "install-9-finished", look, mayShorten);
  window->FindControl(L"hor_btn_h1")->SetVisible(false);
  window->FindControl(L"hor_btn_h2")->SetVisible(true);

  tabs->SelectItem(2);
  for (int panel = 0; panel < 4; ++panel) {
    removal->SelectItem(panel);
    window->FindControl(L"btn_setup_next")->SetText(panel == 2 ? L"main.btn.startDelete" : L"main.btn.next");
    window->FindControl(L"ani_gif_delete")->SetVisible(panel == 3);
    Check(window, size + "delete-" + std::to_string(panel), look, mayShorten);
  }
  window->FindControl(L"btn_setup_next")->SetText(L"main.btn.next");
}

TEST_F(SkinRenders, MainWindowPagesAreTidyInEveryLanguageAtFullAndMinimumSize) {
  for (const Look& look : kLooks) {
    SCOPED_TRACE(look.code);
    TestWindow* window = OpenIn(L"XML_MAIN", look);
    window->FindControl<ui::Label>(L"title_lb")->SetFont(look.fontSize == 14 ? 3 : 22);
    window->FindControl<ui::Option>(L"option_port_bluetooth")->SetSelected(true, false);
    FillMainWindow(window);
    const ui::Rect content = window->Tree().ContentRect();
    EXPECT_EQ((ui::Size{content.Width(), content.Height()}), (ui::Size{700, 500}));
    CheckMainPages(window, look, "");

    host_->Window(window->GetHWND())->SetBounds({0, 0, 1, 1});  // as small as it may get
    host_->RunUntilIdle();
    const ui::Rect smallest = window->Tree().ContentRect();
    EXPECT_EQ((ui::Size{smallest.Width(), smallest.Height()}), (ui::Size{560, 400}));
    CheckMainPages(window, look, "min-");

    window->DestroyWindow();
    host_->RunUntilIdle();
  }
}

// At 150 % the fonts and the layout grow alike; text measured at that size still fits.
class SkinRendersLarge : public SkinRenders {
 protected:
  int Scale() const override { return 150; }
};

TEST_F(SkinRendersLarge, MainWindowPagesAreTidyAtOneHundredAndFiftyPercent) {
  for (const Look& look : {kLooks[0], kLooks[1]}) {
    SCOPED_TRACE(look.code);
    TestWindow* window = OpenIn(L"XML_MAIN", look);
    window->FindControl<ui::Label>(L"title_lb")->SetFont(look.fontSize == 14 ? 3 : 22);
    FillMainWindow(window);
    const ui::Rect content = window->Tree().ContentRect();
    EXPECT_EQ((ui::Size{content.Width(), content.Height()}), (ui::Size{700 * 3 / 2, 500 * 3 / 2}));
    CheckMainPages(window, look, "150-");
    window->DestroyWindow();
    host_->RunUntilIdle();
  }
}

TEST_F(SkinRenders, PopupsAreTidyInEveryLanguage) {
  for (const Look& look : kLooks) {
    SCOPED_TRACE(look.code);
    TestWindow* main = OpenIn(L"XML_MAIN", look);  // brings the shared fonts and styles

    TestWindow* about = OpenIn(L"pop_about.xml", look);
    about->CenterWindow();
    const ui::Rect aboutBody = about->Tree().ContentRect();
    EXPECT_EQ((ui::Size{aboutBody.Width(), aboutBody.Height()}), (ui::Size{430, 150}));
    about->FindControl<ui::Label>(L"app_version")->SetText(L"V1.0.01");
    about->FindControl<ui::Label>(L"app_time")->SetText(L"Revised Date:          2024-10-22 08:44:53");
    Check(about, "about", look);

    // The chooser's options, made the way the chooser makes them.
    TestWindow* chooser = OpenIn(L"pop_language.xml", look);
    chooser->CenterWindow();  // as the program does; the minimum width applies
    host_->RunUntilIdle();
    const ui::Rect chooserBody = chooser->Tree().ContentRect();
    EXPECT_EQ((ui::Size{chooserBody.Width(), chooserBody.Height()}), (ui::Size{600, 400}));
    auto* list = chooser->FindControl<ui::Container>(L"verLanList");
    testing::internal::CaptureStderr();
    for (const wchar_t* key : {L"lan.en", L"lan.es", L"lan.ja", L"lan.ko", L"lan.th", L"lan.cn", L"lan.pt"}) {
      auto* option = list->Add(std::make_unique<ui::Option>());
      option->SetResourceText(true);
      option->SetText(key);
      option->SetAttribute(L"name", L"radiolan");
      option->ApplyStyle(L"radio_style");
      option->SetAttribute(L"autocalcwidth", L"true");
      option->SetAttribute(L"minWidth", L"180");
      option->SetAttribute(L"align", L"left");
      option->SetAttribute(L"group", L"lanGroup");
      option->SetAttribute(L"textpadding", L"20,0,6,0");
      if (std::wstring(key) == L"lan." + Utf8ToWide(look.code)) option->SetAttribute(L"selected", L"true");
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    Check(chooser, "language", look);

    TestWindow* addPort = OpenIn(L"pop_add_port.xml", look);
    auto* monitors = addPort->FindControl<ui::List>(L"listex_addport_type");
    int number = 1;
    for (const wchar_t* monitor : {L"WSD Port", L"Standard TCP/IP Port", L"Local Port", L"Appmon"}) {
      ui::ListRow* row = AddCheckRow(monitors, monitor, false);
      row->SetColumnText(0, std::to_wstring(number++));
    }
    monitors->SelectRow(1);
    Check(addPort, "addport", look);

    for (TestWindow* window : {addPort, chooser, about, main}) window->DestroyWindow();
    host_->RunUntilIdle();
  }
}

}  // namespace
