#include <gtest/gtest.h>

#include "ui/AccessibilityRecorder.h"
#include "ui/UiTestSupport.h"
#include "ui/controls/Button.h"
#include "ui/controls/Edit.h"
#include "ui/controls/List.h"
#include "ui/controls/ListRow.h"
#include "ui/controls/Option.h"
#include "ui/controls/RichEdit.h"
#include "ui/controls/TabLayout.h"

namespace {

using uitest::AccessibilityRecorder;
using uitest::TestWindow;
using uitest::UiTest;

const wchar_t* kPage =
    L"<Window size='400,600'><VerticalLayout>"
    L"<HorizontalLayout height='32'><Label text='Title'/>"
    L"  <Button name='close' glyph='close' width='32' accname='Close window'/>"
    L"  <Button name='about' glyph='about' width='32' tooltip='About'/></HorizontalLayout>"
    L"<TabLayout name='pages'>"
    L"  <VerticalLayout name='first'><Label text='Kind of port'/><Control/>"
    L"    <Option name='usb' group='kind' text='USB' height='30'/>"
    L"    <Option name='net' group='kind' text='Network' height='30' selected='true'/>"
    L"    <CheckBox name='default' text='Default printer' height='30'/>"
    L"    <Label name='hidden' text='Never shown' visible='false'/></VerticalLayout>"
    L"  <VerticalLayout name='second'><Label text='Printer name'/>"
    L"    <HorizontalLayout height='30'><Label text='Name:' width='60'/><Edit name='name' "
    L"maxchar='8'/></HorizontalLayout>"
    L"    <Label text='Models' height='20'/>"
    L"    <List name='models' height='90'><ListHeader><ListHeaderItem text='Model'/></ListHeader></List>"
    L"    <Label text='Log' height='20'/><RichEdit name='log'/></VerticalLayout>"
    L"</TabLayout>"
    L"<HorizontalLayout height='30'><Button name='next' text='Next'/><Button name='off' text='Off' enabled='false'/>"
    L"</HorizontalLayout></VerticalLayout></Window>";

class AccessibleControls : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    window_ = Open(kPage);
    window_->SetTitle(L"Printer setup");
    pages_ = window_->FindControl<ui::TabLayout>(L"pages");
    models_ = window_->FindControl<ui::List>(L"models");
    for (int i = 0; i < 1000; ++i) models_->AddItem({{L"Model " + std::to_wstring(i)}, {}, false});
    host_->RunUntilIdle();
  }
  ui::Control& Root() { return *window_->Tree().GetRoot(); }
  ui::Control* Find(const wchar_t* name) { return window_->FindControl(name); }
  // The accessible children's "role name" lines.
  std::vector<std::wstring> Children(const ui::Control& control) {
    std::vector<std::wstring> lines;
    for (ui::Control* child : ui::AccessibleChildren(control)) {
      lines.push_back(std::wstring(ui::AccessibleRoleName(child->GetAccessibleRole())) + L" " +
                      child->GetAccessibleName());
    }
    return lines;
  }
  void ShowSecond() {
    pages_->SelectItem(1);
    host_->AdvanceTime(1000);
    host_->RunUntilIdle();
  }

  TestWindow* window_ = nullptr;
  ui::TabLayout* pages_ = nullptr;
  ui::List* models_ = nullptr;
};

using Lines = std::vector<std::wstring>;

TEST_F(AccessibleControls, TheTreeFollowsTheLayoutWithoutPlainLayoutsSpacersOrHiddenControls) {
  EXPECT_EQ(Root().GetAccessibleRole(), ui::AccessibleRole::Window);
  EXPECT_EQ(Root().GetAccessibleName(), L"Printer setup");
  EXPECT_EQ(ui::AccessibleParent(Root()), nullptr);
  // Image buttons are named by "accname", else by their tool tip; only the shown page is there.
  EXPECT_EQ(Children(Root()), (Lines{L"static text Title", L"push button Close window", L"push button About",
                                     L"tab page Kind of port", L"push button Next", L"push button Off"}));
  ui::Control* page = ui::AccessibleChildren(Root())[3];
  EXPECT_EQ(Children(*page), (Lines{L"static text Kind of port", L"radio button USB", L"radio button Network",
                                    L"check box Default printer"}));
  EXPECT_EQ(ui::AccessibleParent(*Find(L"usb")), page);
  EXPECT_EQ(Find(L"usb")->GetDefaultAction(), ui::AccessibleAction::Select);
  EXPECT_EQ(Find(L"default")->GetDefaultAction(), ui::AccessibleAction::Toggle);
  EXPECT_EQ(Find(L"next")->GetDefaultAction(), ui::AccessibleAction::Press);
  EXPECT_EQ(Find(L"net")->GetAccessibleStates(), ui::kAccFocusable | ui::kAccCheckable | ui::kAccChecked);
  EXPECT_EQ(Find(L"off")->GetAccessibleStates(), ui::kAccDisabled);
  // Hidden controls and the other pages cannot be reached by id either.
  EXPECT_EQ(ui::FindAccessible(window_->Tree(), Find(L"hidden")->AccessibleId()), nullptr);
  EXPECT_EQ(ui::FindAccessible(window_->Tree(), Find(L"name")->AccessibleId()), nullptr);
  EXPECT_EQ(ui::FindAccessible(window_->Tree(), Find(L"usb")->AccessibleId()), Find(L"usb"));
}

TEST_F(AccessibleControls, EditsListsAndLogsAreNamedByTheLabelBeforeThemAndShowTheirValues) {
  ShowSecond();
  auto* edit = window_->FindControl<ui::Edit>(L"name");
  auto* log = window_->FindControl<ui::RichEdit>(L"log");
  edit->SetText(L"Front");
  log->AppendText(L"line one\r\nline two");
  EXPECT_EQ(edit->GetAccessibleName(), L"Name:");
  EXPECT_EQ(edit->GetAccessibleValue(), L"Front");
  EXPECT_EQ(models_->GetAccessibleName(), L"Models");
  EXPECT_EQ(log->GetAccessibleName(), L"Log");
  EXPECT_EQ(log->GetAccessibleRole(), ui::AccessibleRole::Document);
  EXPECT_EQ(log->GetAccessibleValue(), L"line one\r\nline two");
  EXPECT_EQ(log->GetAccessibleStates() & (ui::kAccReadOnly | ui::kAccMultiLine), ui::kAccReadOnly | ui::kAccMultiLine);
  edit->SetReadOnly(true);
  EXPECT_NE(edit->GetAccessibleStates() & ui::kAccReadOnly, 0u);
  EXPECT_FALSE(edit->SetAccessibleValue(L"typed"));
  EXPECT_EQ(edit->GetText(), L"Front");
}

TEST_F(AccessibleControls, AListShowsTheRowsInViewNotOneNodePerRowAndTheChosenRowIsAlwaysThere) {
  ShowSecond();
  const std::vector<ui::Control*> rows = ui::AccessibleChildren(*models_);
  // The header is no child; a thousand rows of data are a handful of row controls.
  ASSERT_FALSE(rows.empty());
  EXPECT_LT(rows.size(), 20u);
  EXPECT_EQ(rows.front()->GetAccessibleRole(), ui::AccessibleRole::ListItem);
  EXPECT_EQ(rows.front()->GetAccessibleName(), L"Model 0");
  EXPECT_TRUE(ui::AccessibleChildren(*rows.front()).empty());
  // Rows kept beyond the view are there but marked off the screen.
  EXPECT_EQ(rows.front()->GetAccessibleStates() & ui::kAccInvisible, 0u);
  EXPECT_NE(rows.back()->GetAccessibleStates() & ui::kAccInvisible, 0u);

  AccessibilityRecorder events(window_->Tree());
  models_->SelectRow(900);
  host_->RunUntilIdle();
  EXPECT_TRUE(events.Has(L"children:Models"));
  EXPECT_TRUE(events.Has(L"selection:Model 900"));
  ui::Control* chosen = nullptr;
  for (ui::Control* row : ui::AccessibleChildren(*models_)) {
    if ((row->GetAccessibleStates() & ui::kAccSelected) != 0) chosen = row;
  }
  ASSERT_NE(chosen, nullptr);
  EXPECT_EQ(chosen->GetAccessibleName(), L"Model 900");
  EXPECT_EQ(chosen->GetAccessibleStates() & ui::kAccInvisible, 0u);
  // Spare row controls that show no row are not in the tree.
  models_->RemoveAll();
  models_->AddItem({{L"Only"}, {}, false});
  host_->RunUntilIdle();
  EXPECT_EQ(Children(*models_), (Lines{L"list item Only"}));
  EXPECT_GE(events.Count(L"children:Models"), 3);  // scrolled to row 900, emptied, filled
}

TEST_F(AccessibleControls, DefaultActionsGoThroughTheClickPathWithItsNotifications) {
  ASSERT_TRUE(Find(L"next")->DoDefaultAction());
  EXPECT_EQ(window_->notes.back(), L"click:next");
  window_->notes.clear();
  EXPECT_FALSE(Find(L"off")->DoDefaultAction());
  EXPECT_TRUE(window_->notes.empty());

  ASSERT_TRUE(Find(L"usb")->DoDefaultAction());
  EXPECT_EQ(window_->notes, (Lines{L"click:usb", L"selectchanged:usb"}));
  EXPECT_TRUE(window_->FindControl<ui::Option>(L"usb")->IsSelected());
  EXPECT_FALSE(window_->FindControl<ui::Option>(L"net")->IsSelected());
  ASSERT_TRUE(Find(L"default")->DoDefaultAction());
  EXPECT_TRUE(window_->FindControl<ui::Option>(L"default")->IsSelected());
  // Controls of a hidden page do nothing.
  window_->notes.clear();
  EXPECT_FALSE(Find(L"name")->SetAccessibleValue(L"x"));

  ShowSecond();
  window_->notes.clear();
  ASSERT_TRUE(Find(L"name")->SetAccessibleValue(L"Front desk printer"));
  EXPECT_EQ(window_->FindControl<ui::Edit>(L"name")->GetText(), L"Front de");  // the length limit holds
  EXPECT_EQ(window_->notes, (Lines{L"textchanged:name"}));
  window_->notes.clear();
  ui::Control* row = ui::AccessibleChildren(*models_)[2];
  ASSERT_TRUE(row->DoDefaultAction());
  EXPECT_EQ(models_->GetCurSel(), 2);
  EXPECT_EQ(window_->notes, (Lines{L"itemclick:", L"itemselect:models"}));
}

TEST_F(AccessibleControls, ChangesRaiseTheirEventsWhereTheyHappen) {
  AccessibilityRecorder events(window_->Tree());
  window_->Tree().SetFocus(Find(L"next"));
  EXPECT_EQ(events.lines, (Lines{L"focus:Next"}));

  events.lines.clear();
  Find(L"usb")->DoDefaultAction();
  EXPECT_EQ(events.lines, (Lines{L"toggled:Network", L"toggled:USB", L"selection:USB"}));

  events.lines.clear();
  Find(L"hidden")->SetVisible(true);
  Find(L"next")->SetText(L"Install");
  Find(L"off")->SetEnabled(true);
  EXPECT_EQ(events.lines, (Lines{L"children:Kind of port", L"name:Install", L"state:Off"}));

  // A page switch: the tab layout's place in the tree changes, and the page's first input
  // (the edit, not the label before it) takes the focus.
  events.lines.clear();
  ShowSecond();
  EXPECT_TRUE(events.Has(L"children:Printer setup"));
  EXPECT_EQ(window_->Tree().GetFocus(), Find(L"name"));
  EXPECT_TRUE(events.Has(L"focus:Name:"));

  events.lines.clear();
  host_->TypeText(window_->GetHWND(), L"ab");
  window_->FindControl<ui::RichEdit>(L"log")->AppendText(L"copied\r\n");
  EXPECT_TRUE(events.Has(L"value:Name:"));
  EXPECT_EQ(events.lines.back(), L"value:Log");

  // A window title names the root.
  events.lines.clear();
  window_->SetTitle(L"Other");
  EXPECT_EQ(events.lines, (Lines{L"name:Other"}));
}

TEST_F(AccessibleControls, ThePageShowsItsChosenOptionAsItsFirstInput) {
  ShowSecond();
  window_->Tree().SetFocus(Find(L"next"));
  pages_->SelectItem(0);
  EXPECT_EQ(window_->Tree().GetFocus(), Find(L"net"));  // the chosen option, not the first one
}

TEST_F(AccessibleControls, ControlsThatGoAwayAreReportedDestroyed) {
  AccessibilityRecorder events(window_->Tree());
  auto* row = Find(L"next")->GetParent();
  auto* bar = static_cast<ui::Container*>(row);
  bar->Remove(Find(L"off"));
  host_->RunUntilIdle();
  EXPECT_TRUE(events.Has(L"destroyed:off"));
  EXPECT_TRUE(events.Has(L"children:Printer setup"));  // the bar is a plain layout: the window tells
}

}  // namespace
