// The wizards as assistive technology reads them: the accessible tree of every panel of
// both wizards in English and Chinese, actions through the model, and the events that
// keys, page switches and a language switch raise.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <regex>

#include "InstallWizardHarness.h"
#include "base/WideText.h"
#include "ui/AccessibilityRecorder.h"
#include "ui/controls/RichEdit.h"

namespace wizardtest {

namespace {

using uitest::AccessibilityRecorder;

struct Node {
  ui::Control* control;
  ui::AccessibleRole role;
  std::wstring name;
  uint32_t states;
};

void Collect(ui::Control& control, std::vector<Node>& out) {
  out.push_back({&control, control.GetAccessibleRole(), control.GetAccessibleName(), control.GetAccessibleStates()});
  for (ui::Control* child : ui::AccessibleChildren(control)) Collect(*child, out);
}

class AccessibleWizard : public InstallWizard {
 protected:
  void TearDown() override {
    InstallWizard::TearDown();
    ui::ResourceManager::Instance().LoadLanguage(L"lan_en.xml");
  }

  std::vector<Node> Tree() {
    std::vector<Node> nodes;
    Collect(*window_->Tree().GetRoot(), nodes);
    return nodes;
  }

  // What every panel must hold to be usable by a screen reader; where names the panel.
  void CheckTree(const std::string& where) {
    SCOPED_TRACE(where);
    const std::vector<Node> nodes = Tree();
    const std::wregex textId(LR"(^[A-Za-z0-9_]+(\.[A-Za-z0-9_]+)+$)");
    int windows = 0;
    for (const Node& node : nodes) {
      const std::string what = WideToUtf8(std::wstring(ui::AccessibleRoleName(node.role)) + L" \"" + node.name +
                                          L"\" (" + node.control->GetName() + L")");
      EXPECT_NE(node.role, ui::AccessibleRole::None) << what;
      EXPECT_TRUE(node.control->IsShownInTree()) << what;
      EXPECT_TRUE(ui::IsInAccessibleTree(*node.control)) << what;
      // Every node says what it is in the window's language: no nameless control, no text id.
      EXPECT_FALSE(node.name.empty()) << what;
      EXPECT_FALSE(std::regex_match(node.name, textId)) << what;
      if ((node.states & ui::kAccFocused) != 0 && node.role != ui::AccessibleRole::ListItem) {
        EXPECT_EQ(node.control, window_->Tree().GetFocus()) << what;
      }
      windows += node.role == ui::AccessibleRole::Window ? 1 : 0;
    }
    EXPECT_EQ(windows, 1);
    EXPECT_EQ(nodes.front().name, window_->GetTitle());
    // Whatever Tab reaches is in the tree.
    std::function<void(ui::Control&)> reachable = [&](ui::Control& control) {
      if (!control.IsVisible()) return;
      if (control.IsFocusable() && control.IsEnabled()) {
        EXPECT_TRUE(ui::IsInAccessibleTree(control)) << WideToUtf8(control.GetName());
      }
      if (control.TakesChildMouse()) return;
      for (int i = 0; i < control.GetChildCount(); ++i) reachable(*control.GetChildAt(i));
    };
    reachable(*window_->Tree().GetRoot());
  }

  // The node of a role named by a text of the language files; null when none is there.
  const Node* Expect(ui::AccessibleRole role, const wchar_t* textId) {
    const std::wstring name = ui::GetText(textId);
    for (const Node& node : Tree()) {
      if (node.role == role && node.name == name) {
        found_.push_back(node);
        return &found_.back();
      }
    }
    ADD_FAILURE() << "no " << WideToUtf8(ui::AccessibleRoleName(role)) << " \"" << WideToUtf8(name) << "\"";
    return nullptr;
  }
  // The shown page of the wizards, named by its title.
  void ExpectPage(const wchar_t* titleId) { Expect(ui::AccessibleRole::TabPage, titleId); }
  bool Focused(const wchar_t* name) { return window_->Tree().GetFocus() == Find(name); }

  std::deque<Node> found_;
};

// The caption's image buttons, named in the window's language.
void ExpectCaptionNames(const std::vector<Node>& nodes, const std::vector<std::wstring>& names) {
  std::vector<std::wstring> shown;
  for (const Node& node : nodes) {
    const std::wstring& control = node.control->GetName();
    if (control == L"btnLan" || control == L"btnAbout" || control == L"minbtn" || control == L"closebtn") {
      EXPECT_EQ(node.role, ui::AccessibleRole::PushButton);
      shown.push_back(node.name);
    }
  }
  EXPECT_EQ(shown, names);
}

class AccessibleWizardIn : public AccessibleWizard, public testing::WithParamInterface<uint16_t> {};

TEST_P(AccessibleWizardIn, EveryPanelOfTheInstallationAndTheRemoval) {
  const uint16_t language = GetParam();
  Open(language);
  ExpectCaptionNames(Tree(),
                     language == 2052
                         ? std::vector<std::wstring>{L"选择语言", L"关于本程序", L"最小化", L"关闭"}
                         : std::vector<std::wstring>{L"Choose language", L"About this program", L"Minimize", L"Close"});
  CheckTree("index");
  const Node* install = Expect(ui::AccessibleRole::RadioButton, L"mainInstallDriver");
  ASSERT_NE(install, nullptr);
  EXPECT_NE(install->states & ui::kAccChecked, 0u);
  Expect(ui::AccessibleRole::RadioButton, L"mainRemoveDriver");
  Expect(ui::AccessibleRole::PushButton, L"main.btn.next");

  Next();
  CheckTree("port kinds");
  ExpectPage(L"tab.install.title.specifyport");
  for (const wchar_t* kind :
       {L"title.usb", L"title.net", L"title.bluetooth", L"title.lpt", L"title.com", L"title.custom"}) {
    Expect(ui::AccessibleRole::RadioButton, kind);
  }
  const auto* chosen = dynamic_cast<const ui::Option*>(window_->Tree().GetFocus());
  EXPECT_TRUE(chosen != nullptr && chosen->IsSelected());  // the chosen kind has the focus
  ASSERT_TRUE(Click(L"option_port_com"));

  Next();
  CheckTree("models");
  ExpectPage(L"tab.install.title.specifyprinter");
  const Node* models = Expect(ui::AccessibleRole::List, L"tab.install.title.specifyprinter");
  ASSERT_NE(models, nullptr);
  EXPECT_TRUE(Focused(L"listex_install_driver_moudel"));
  const std::vector<ui::Control*> rows = ui::AccessibleChildren(*models->control);
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows.front()->GetAccessibleRole(), ui::AccessibleRole::ListItem);
  // The proposed model is the chosen row, in view, and the one the list's keys act on.
  int chosenRows = 0;
  for (ui::Control* row : rows) {
    if ((row->GetAccessibleStates() & ui::kAccSelected) != 0) {
      ++chosenRows;
      EXPECT_EQ(row->GetAccessibleStates() & (ui::kAccFocused | ui::kAccInvisible), ui::kAccFocused);
    }
  }
  EXPECT_EQ(chosenRows, 1);

  Next();
  CheckTree("ports");
  Expect(ui::AccessibleRole::List, L"tab.install.title.portlist.specifyport");
  Expect(ui::AccessibleRole::PushButton, L"tab.install.btn.portlist.addport");
  EXPECT_TRUE(Focused(L"listex_install_driver_port"));

  Next();
  CheckTree("printer name");
  const Node* name = Expect(ui::AccessibleRole::Edit, L"tab.install.title.printername.inputprintername");
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->control->GetAccessibleValue(), Find(L"edit_install_printer_name")->GetText());
  EXPECT_FALSE(name->control->GetAccessibleValue().empty());
  EXPECT_TRUE(Focused(L"edit_install_printer_name"));
  const Node* makeDefault = Expect(ui::AccessibleRole::CheckBox, L"tab.install.title.printername.defaultprinter");
  ASSERT_NE(makeDefault, nullptr);
  EXPECT_NE(makeDefault->states & ui::kAccChecked, 0u);

  Next();
  CheckTree("ready");
  ExpectPage(L"tab.install.title.readyinstall.name");
  Expect(ui::AccessibleRole::StaticText, L"tab.install.title.readyinstall.printername");

  Next();
  WaitForRunToEnd();
  CheckTree("installing");
  const Node* log = Expect(ui::AccessibleRole::Document, L"tab.install.title.installing.name");
  ASSERT_NE(log, nullptr);
  EXPECT_NE(log->states & ui::kAccReadOnly, 0u);
  EXPECT_EQ(log->control->GetAccessibleValue(), Find(L"wordedit_installInfo")->GetText());
  EXPECT_FALSE(log->control->GetAccessibleValue().empty());

  ASSERT_TRUE(Click(L"btn_setup_index"));
  ASSERT_TRUE(Click(L"option_delete"));
  Next();
  CheckTree("printers to remove");
  ExpectPage(L"tab.delete.printer.title");
  Expect(ui::AccessibleRole::Edit, L"acc.edit.search");
  Expect(ui::AccessibleRole::PushButton, L"acc.btn.search");
  Expect(ui::AccessibleRole::CheckBox, L"tab.delete.printer.showAll");
  const Node* printers = Expect(ui::AccessibleRole::List, L"tab.delete.printer.title");
  ASSERT_NE(printers, nullptr);
  const std::vector<ui::Control*> printerRows = ui::AccessibleChildren(*printers->control);
  ASSERT_FALSE(printerRows.empty());  // the printer the installation made
  EXPECT_EQ(printerRows.front()->GetDefaultAction(), ui::AccessibleAction::Toggle);
  EXPECT_NE(printerRows.front()->GetAccessibleStates() & ui::kAccCheckable, 0u);
  EXPECT_TRUE(Focused(L"edit_find_deletePrinter"));

  Next();
  CheckTree("drivers to remove");
  ExpectPage(L"tab.delete.title.deletedriver");
  Expect(ui::AccessibleRole::List, L"tab.delete.title.deletedriver");
  Next();
  CheckTree("removal summary");
  Expect(ui::AccessibleRole::Document, L"tab.delete.title.readydelete");
}

// A screen reader's user finds "Next" by name and presses it through the model: the
// page changes as a click changes it, and the port kinds appear.
TEST_F(AccessibleWizard, ActionsThroughTheModelDriveTheWizardAsClicksDo) {
  Open();
  auto byName = [&](ui::AccessibleRole role, const std::wstring& name) -> ui::Control* {
    for (const Node& node : Tree()) {
      if (node.role == role && node.name == name) return node.control;
    }
    return nullptr;
  };
  ui::Control* next = byName(ui::AccessibleRole::PushButton, L"Next");
  ASSERT_NE(next, nullptr);
  ASSERT_TRUE(window_->DoAccessibleAction(next->AccessibleId()));
  Settle();
  EXPECT_EQ(MainPage(), 1);
  EXPECT_EQ(InstallPanel(), 0);
  ui::Control* net = byName(ui::AccessibleRole::RadioButton, ui::GetText(L"title.net"));
  ASSERT_NE(net, nullptr);
  ASSERT_TRUE(window_->DoAccessibleAction(net->AccessibleId()));
  Settle();
  EXPECT_EQ(Request().portKind, PortKind::Network);
  ASSERT_TRUE(window_->DoAccessibleAction(byName(ui::AccessibleRole::PushButton, L"Next")->AccessibleId()));
  Settle();
  ASSERT_TRUE(window_->DoAccessibleAction(byName(ui::AccessibleRole::PushButton, L"Next")->AccessibleId()));
  Settle();
  ASSERT_EQ(InstallPanel(), 6);
  CheckTree("network port");
  const Node* address = Expect(ui::AccessibleRole::Edit, L"tab.install.title.lan.ipaddress");
  ASSERT_NE(address, nullptr);
  EXPECT_TRUE(Focused(L"edit_install_lan_ip"));
  ASSERT_TRUE(window_->SetAccessibleValue(address->control->AccessibleId(), L"10.0.0.7"));
  Settle();
  // What typing does follows the value set: the port's name is proposed from the address.
  EXPECT_EQ(Find(L"edit_install_lan_portName")->GetText(), Context().networkPortName);
  EXPECT_NE(Context().networkPortName.find(L"10.0.0.7"), std::wstring::npos);
  Expect(ui::AccessibleRole::Edit, L"tab.install.title.lan.portname");
}

TEST_F(AccessibleWizard, TabSpaceAPageSwitchAndALanguageSwitchRaiseTheirEvents) {
  Open();
  Next();
  AccessibilityRecorder events(window_->Tree());
  Key(ui::kVkTab);
  ASSERT_NE(window_->Tree().GetFocus(), nullptr);
  EXPECT_EQ(events.lines, (std::vector<std::wstring>{L"focus:" + window_->Tree().GetFocus()->GetAccessibleName()}));

  // Space on another kind: the old one and the new one toggle, the new one is chosen.
  window_->Tree().SetFocus(Find(L"option_port_lpt"));
  const ui::Control* before = nullptr;
  for (const wchar_t* kind :
       {L"option_port_usb", L"option_port_net", L"option_port_bluetooth", L"option_port_com", L"option_port_custom"}) {
    if (Find<ui::Option>(kind)->IsSelected()) before = Find(kind);
  }
  ASSERT_NE(before, nullptr);
  events.lines.clear();
  Key(ui::kVkSpace);
  const std::wstring lpt = ui::GetText(L"title.lpt");
  EXPECT_EQ(events.Count(L"toggled:" + before->GetAccessibleName()), 1);
  EXPECT_EQ(events.Count(L"toggled:" + lpt), 1);
  EXPECT_EQ(events.Count(L"selection:" + lpt), 1);
  EXPECT_TRUE(Find<ui::Option>(L"option_port_lpt")->IsSelected());

  // A page switch: the window's children change and the model list takes the focus.
  events.lines.clear();
  Next();
  EXPECT_TRUE(events.Has(L"children:" + window_->GetTitle()));
  EXPECT_TRUE(events.Has(L"focus:" + ui::GetText(L"tab.install.title.specifyprinter")));

  // A language switch through the chooser, driven through the model too: every named
  // control of the page says its new name, the window its new title.
  events.lines.clear();
  host_->QueueIdleAction([&] {
    auto* chooser = TopWindowObject();
    ASSERT_NE(chooser, nullptr);
    ui::Control* chinese = nullptr;
    std::function<void(ui::Control&)> find = [&](ui::Control& control) {
      if (control.GetName() == L"radiolan" && control.GetUserData() == L"2052") chinese = &control;
      for (int i = 0; i < control.GetChildCount(); ++i) find(*control.GetChildAt(i));
    };
    find(*chooser->Tree().GetRoot());
    ASSERT_NE(chinese, nullptr);
    ASSERT_TRUE(chooser->DoAccessibleAction(chinese->AccessibleId()));
    ASSERT_TRUE(chooser->DoAccessibleAction(chooser->FindControl(L"closebtn")->AccessibleId()));
  });
  ASSERT_TRUE(window_->DoAccessibleAction(Find(L"btnLan")->AccessibleId()));
  Settle();
  EXPECT_TRUE(events.Has(L"name:" + window_->GetTitle()));
  EXPECT_TRUE(events.Has(L"name:" + ui::GetText(L"main.btn.next")));
  EXPECT_TRUE(events.Has(L"name:" + ui::GetText(L"tab.install.title.specifyprinter")));
  EXPECT_EQ(Find(L"btnLan")->GetAccessibleName(), L"选择语言");
  CheckTree("models in Chinese");
}

// A message box leaves the focus where it was: the delete button's question, cancelled.
TEST_F(AccessibleWizard, AMessageBoxReturnsTheFocusWhereItWas) {
  Open();
  Key(ui::kVkReturn);
  Key(ui::kVkReturn);
  Key(ui::kVkReturn);
  ASSERT_EQ(InstallPanel(), 5);
  Key(ui::kVkTab);
  Key(ui::kVkTab);
  ASSERT_EQ(window_->Tree().GetFocus(), Find(L"btn_port_delete"));
  const size_t boxes = host_->MessageBoxes().size();
  host_->QueueMessageBoxAnswer(2);
  Key(ui::kVkSpace);
  ASSERT_GT(host_->MessageBoxes().size(), boxes);
  EXPECT_EQ(window_->Tree().GetFocus(), Find(L"btn_port_delete"));
  EXPECT_TRUE(window_->Tree().IsFocusVisible());
}

INSTANTIATE_TEST_SUITE_P(Languages, AccessibleWizardIn, testing::Values(uint16_t{1033}, uint16_t{2052}),
                         [](const testing::TestParamInfo<uint16_t>& info) {
                           return info.param == 2052 ? std::string("Chinese") : std::string("English");
                         });

}  // namespace

}  // namespace wizardtest
