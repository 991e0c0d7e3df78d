#include <gtest/gtest.h>

#include "ui/UiTestSupport.h"
#include "ui/controls/Button.h"
#include "ui/controls/List.h"
#include "ui/controls/ListRow.h"
#include "ui/controls/Option.h"

namespace {

using uitest::TestWindow;
using uitest::UiTest;

const char* kRowTemplate =
    "<Window><ListRow height='30'>"
    "<Option name='option_listext' width='24'/><Label name='label1' visible='false'/>"
    "</ListRow></Window>";

const wchar_t* kPage =
    L"<Window size='400,400'><VerticalLayout>"
    L"<Option name='first' group='kind' text='first' height='30'/>"
    L"<Option name='second' group='kind' text='second' height='30'/>"
    L"<Option name='check' text='check' height='30'/>"
    L"<List name='choose' height='100' rowtemplate='listitemex.xml'>"
    L"  <ListHeader><ListHeaderItem width='30'/><ListHeaderItem text='Name'/></ListHeader></List>"
    L"<List name='tick' height='100'>"
    L"  <ListHeader><ListHeaderItem width='30' checkable='true'/><ListHeaderItem text='Name'/></ListHeader></List>"
    L"<Button name='back' text='back' height='30'/><Button name='next' text='next' height='30'/>"
    L"</VerticalLayout></Window>";

class Keyboard : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    ui::SkinFiles::AddMemoryFile("listitemex.xml", kRowTemplate);
    window_ = Open(kPage);
    choose_ = window_->FindControl<ui::List>(L"choose");
    tick_ = window_->FindControl<ui::List>(L"tick");
    for (int i = 0; i < 3; ++i) {
      ui::ListRow* row = choose_->AddRow();
      row->SetName(L"choose_item");
      row->SetColumnText(1, L"row " + std::to_wstring(i));
      ui::ListRow* plain = tick_->AddRow();
      plain->SetName(L"tick_item");
      plain->SetColumnText(1, L"printer " + std::to_wstring(i));
    }
    window_->Tree().SetDefaultButton(window_->FindControl(L"next"));
    host_->RunUntilIdle();
  }
  void Press(unsigned key, bool shift = false) { host_->PressKey(window_->GetHWND(), key, shift); }
  std::wstring Focused() const {
    const ui::Control* focus = window_->Tree().GetFocus();
    return focus ? focus->GetName() : L"";
  }
  void TabTo(const wchar_t* name) {
    for (int i = 0; i < 10 && Focused() != name; ++i) Press(ui::kVkTab);
    ASSERT_EQ(Focused(), name);
  }

  TestWindow* window_ = nullptr;
  ui::List* choose_ = nullptr;
  ui::List* tick_ = nullptr;
};

TEST_F(Keyboard, TabWalksTheControlsInLayoutOrderBothWays) {
  Press(ui::kVkTab);
  EXPECT_EQ(Focused(), L"first");
  EXPECT_TRUE(window_->Tree().IsFocusVisible());
  const std::vector<std::wstring> order{L"second", L"check", L"choose", L"tick", L"back", L"next", L"first"};
  for (const auto& name : order) {
    Press(ui::kVkTab);
    EXPECT_EQ(Focused(), name);
  }
  Press(ui::kVkTab, true);
  EXPECT_EQ(Focused(), L"next");
  Press(ui::kVkTab, true);
  EXPECT_EQ(Focused(), L"back");
}

TEST_F(Keyboard, SpaceChoosesOptionsAndEnterPressesTheDefaultButton) {
  TabTo(L"second");
  Press(ui::kVkSpace);
  EXPECT_TRUE(window_->FindControl<ui::Option>(L"second")->IsSelected());
  EXPECT_EQ(window_->notes.back(), L"selectchanged:second");
  TabTo(L"check");
  Press(ui::kVkSpace);
  EXPECT_TRUE(window_->FindControl<ui::Option>(L"check")->IsSelected());
  Press(ui::kVkSpace);
  EXPECT_FALSE(window_->FindControl<ui::Option>(L"check")->IsSelected());

  // Enter on an option, or with no button focused, goes to the default button.
  window_->notes.clear();
  Press(ui::kVkReturn);
  EXPECT_EQ(window_->notes, std::vector<std::wstring>{L"click:next"});
  TabTo(L"back");
  window_->notes.clear();
  Press(ui::kVkReturn);
  EXPECT_EQ(window_->notes, std::vector<std::wstring>{L"click:back"});
  // A hidden or disabled default button is not pressed.
  window_->FindControl(L"next")->SetEnabled(false);
  TabTo(L"first");
  window_->notes.clear();
  Press(ui::kVkReturn);
  EXPECT_TRUE(window_->notes.empty());
  // Escape stays with the window's key filter; the tree does nothing with it.
  Press(ui::kVkEscape);
  EXPECT_TRUE(window_->IsWindow());
}

TEST_F(Keyboard, ArrowsChooseRowsOfAListAsAClickDoes) {
  TabTo(L"choose");
  window_->notes.clear();
  Press(ui::kVkDown);
  EXPECT_EQ(choose_->GetCurSel(), 0);
  EXPECT_EQ(window_->notes, (std::vector<std::wstring>{L"itemclick:choose_item", L"itemselect:choose"}));
  Press(ui::kVkDown);
  Press(ui::kVkDown);
  Press(ui::kVkDown);  // stays on the last row, without another notification
  EXPECT_EQ(choose_->GetCurSel(), 2);
  EXPECT_EQ(window_->notes.size(), 6u);
  EXPECT_TRUE(choose_->GetRow(2)->FindSubControl<ui::Option>(L"option_listext")->IsSelected());
  Press(ui::kVkHome);
  EXPECT_EQ(choose_->GetCurSel(), 0);
  Press(ui::kVkEnd);
  EXPECT_EQ(choose_->GetCurSel(), 2);
  Press(ui::kVkUp);
  EXPECT_EQ(choose_->GetCurSel(), 1);
  Press(ui::kVkSpace);  // nothing to toggle in a list without check boxes
  EXPECT_EQ(choose_->GetCurSel(), 1);
}

TEST_F(Keyboard, ArrowsMoveTheMarkOfACheckListAndSpaceTogglesIt) {
  TabTo(L"tick");
  window_->notes.clear();
  Press(ui::kVkDown);
  Press(ui::kVkDown);
  EXPECT_EQ(tick_->GetFocusedRow(), 1);
  EXPECT_EQ(tick_->GetCurSel(), -1);  // moving the mark checks and selects nothing
  EXPECT_TRUE(window_->notes.empty());
  Press(ui::kVkSpace);
  EXPECT_TRUE(tick_->GetRow(1)->IsChecked());
  EXPECT_EQ(window_->notes,
            (std::vector<std::wstring>{L"listitemchecked:tick_item", L"itemclick:tick_item", L"itemselect:tick"}));
  Press(ui::kVkSpace);
  EXPECT_FALSE(tick_->GetRow(1)->IsChecked());
  Press(ui::kVkUp);
  Press(ui::kVkSpace);
  EXPECT_TRUE(tick_->GetRow(0)->IsChecked());
  EXPECT_FALSE(tick_->GetRow(1)->IsChecked());
  // Rebuilding the list forgets the mark.
  tick_->RemoveAll();
  EXPECT_EQ(tick_->GetFocusedRow(), -1);
  Press(ui::kVkSpace);
}

}  // namespace
