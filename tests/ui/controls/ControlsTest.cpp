#include <gtest/gtest.h>

#include "ui/UiTestSupport.h"
#include "ui/controls/Button.h"
#include "ui/controls/HorizontalLayout.h"
#include "ui/controls/Label.h"
#include "ui/controls/Option.h"
#include "ui/controls/TabLayout.h"
#include "ui/controls/VerticalLayout.h"
#include "ui/core/ResourceManager.h"

using ControlsTest = uitest::UiTest;

namespace {

using uitest::TestWindow;
using uitest::UiTest;

const wchar_t* kOptions =
    L"<Window size='400,300'><VerticalLayout>"
    L"<Option name='a' text='A' height='30' group='g' selected='true'/>"
    L"<Option name='b' text='B' height='30' group='g'/>"
    L"<CheckBox name='c' text='C' height='30'/>"
    L"<VerticalLayout name='list'/>"
    L"</VerticalLayout></Window>";

TEST_F(ControlsTest, OptionGroupsKeepOneSelectedAndClickComesBeforeTheChange) {
  TestWindow* window = Open(kOptions);
  auto* a = window->FindControl<ui::Option>(L"a");
  auto* b = window->FindControl<ui::Option>(L"b");
  std::vector<std::wstring> seen;
  window->onNotify = [&](ui::TNotifyUI& msg) {
    auto* option = dynamic_cast<ui::Option*>(msg.sender);
    if (option) seen.push_back(msg.type + L":" + msg.SenderName() + (option->IsSelected() ? L"=on" : L"=off"));
  };
  ASSERT_TRUE(host_->ClickControl(window->GetHWND(), L"b"));
  EXPECT_TRUE(b->IsSelected());
  EXPECT_FALSE(a->IsSelected());
  EXPECT_EQ(seen, (std::vector<std::wstring>{L"click:b=off", L"selectchanged:b=on"}));

  seen.clear();
  ASSERT_TRUE(host_->ClickControl(window->GetHWND(), L"c"));
  ASSERT_TRUE(host_->ClickControl(window->GetHWND(), L"c"));
  EXPECT_FALSE(window->FindControl<ui::Option>(L"c")->IsSelected());
  EXPECT_EQ(seen,
            (std::vector<std::wstring>{L"click:c=off", L"selectchanged:c=on", L"click:c=on", L"selectchanged:c=off"}));

  seen.clear();
  a->SetSelected(true, false);  // the program's way: no notification at all
  EXPECT_TRUE(a->IsSelected());
  EXPECT_FALSE(b->IsSelected());
  EXPECT_TRUE(seen.empty());
}

TEST_F(ControlsTest, OptionsMadeAtRunTimeJoinTheirGroupAndStyle) {
  TestWindow* window = Open(
      L"<Window size='400,300'><Style name='radio_style' value=\"height='28' textcolor='ff333333'\"/>"
      L"<VerticalLayout name='verLanList'/></Window>");
  auto* list = window->FindControl<ui::VerticalLayout>(L"verLanList");
  std::vector<ui::Option*> options;
  for (int i = 0; i < 3; ++i) {
    auto* option = list->Add(std::make_unique<ui::Option>());
    option->SetResourceText(true);
    option->SetText(L"lan.en");
    option->SetUserData(std::to_wstring(1033 + i));
    option->SetAttribute(L"name", L"radiolan");
    option->ApplyStyle(L"radio_style");
    option->SetAttribute(L"autocalcwidth", L"true");
    option->SetAttribute(L"minWidth", L"180");
    option->SetAttribute(L"align", L"left");
    option->SetAttribute(L"group", L"lanGroup");
    option->SetAttribute(L"textpadding", L"20,0,6,0");
    if (i == 1) option->SetAttribute(L"selected", L"true");
    options.push_back(option);
  }
  host_->RunUntilIdle();
  EXPECT_EQ(options[0]->GetFixedHeight(), 28);
  EXPECT_GE(options[0]->GetPos().Width(), 180);  // autocalc width, held up by minWidth
  EXPECT_TRUE(options[1]->IsSelected());
  ASSERT_TRUE(host_->Click(window->GetHWND(), {options[2]->GetPos().left + 5, options[2]->GetPos().top + 5}));
  EXPECT_TRUE(options[2]->IsSelected());
  EXPECT_FALSE(options[1]->IsSelected());
  EXPECT_EQ(window->notes[window->notes.size() - 2], L"click:radiolan");
}

TEST_F(ControlsTest, ResourceTextsResolveAtEveryRead) {
  auto& resources = ui::ResourceManager::Instance();
  ASSERT_TRUE(resources.LoadLanguage(L"<Res><Text id='uitest.next' value='Next'/></Res>"));
  TestWindow* window = Open(
      L"<Window size='200,100'><VerticalLayout>"
      L"<Button name='n' resourcetext='true' text='uitest.next' tooltip='uitest.next'/>"
      L"<Label name='plain' text='uitest.next'/></VerticalLayout></Window>");
  auto* next = window->FindControl<ui::Button>(L"n");
  EXPECT_EQ(next->GetText(), L"Next");
  EXPECT_EQ(next->GetToolTip(), L"Next");
  EXPECT_EQ(window->FindControl(L"plain")->GetText(), L"uitest.next");
  ASSERT_TRUE(resources.LoadLanguage(L"<Res><Text id='uitest.next' value='Siguiente'/></Res>"));
  EXPECT_EQ(next->GetText(), L"Siguiente");
  next->SetText(L"uitest.unknown");
  EXPECT_EQ(next->GetText(), L"uitest.unknown");  // an id without text shows itself
}

TEST_F(ControlsTest, AttributesAtRunTimeChangeLookAndReportMistakes) {
  TestWindow* window = Open(L"<Window size='200,100'><VerticalLayout><Label name='info'/></VerticalLayout></Window>");
  auto* info = window->FindControl<ui::Label>(L"info");
  EXPECT_TRUE(info->SetAttribute(L"textcolor", L"ffff0000"));
  EXPECT_EQ(info->GetTextColor(), 0xFFFF0000u);
  testing::internal::CaptureStderr();
  EXPECT_FALSE(info->SetAttribute(L"textcolor", L"reddish"));
  EXPECT_FALSE(info->SetAttribute(L"no_such_thing", L"1"));
  const std::string report = testing::internal::GetCapturedStderr();
  EXPECT_NE(report.find("bad value \"reddish\" for \"textcolor\""), std::string::npos) << report;
  EXPECT_EQ(info->GetTextColor(), 0xFFFF0000u);
}

TEST_F(ControlsTest, HiddenControlsGiveUpTheirSpace) {
  TestWindow* window = Open(
      L"<Window size='300,200'><VerticalLayout>"
      L"<HorizontalLayout name='bar' height='50'/><Control name='rest'/>"
      L"</VerticalLayout></Window>");
  auto* rest = window->FindControl(L"rest");
  EXPECT_EQ(rest->GetPos().top, 50);
  window->FindControl(L"bar")->SetVisible(false);
  host_->RunUntilIdle();
  EXPECT_EQ(rest->GetPos().top, 0);
  EXPECT_EQ(rest->GetPos().Height(), 200);
}

TEST_F(ControlsTest, StacksShareTheRestWithinMinimumAndMaximum) {
  TestWindow* window = Open(
      L"<Window size='300,100'><HorizontalLayout inset='10,0,10,0' childpadding='10'>"
      L"<Control name='fixed' width='60'/><Control name='capped' maxwidth='40'/><Control name='free'/>"
      L"<Control name='padded' width='20' padding='5,10,5,10'/>"
      L"</HorizontalLayout></Window>");
  EXPECT_EQ(window->FindControl(L"fixed")->GetPos(), (ui::Rect{10, 0, 70, 100}));
  EXPECT_EQ(window->FindControl(L"capped")->GetPos().Width(), 40);
  // 280 inside, 3 gaps, 60 + 30 fixed with margins: the free one takes what is left.
  EXPECT_EQ(window->FindControl(L"free")->GetPos().Width(), 280 - 30 - 90 - 40);
  EXPECT_EQ(window->FindControl(L"padded")->GetPos(), (ui::Rect{265, 10, 285, 90}));
}

TEST_F(ControlsTest, TabLayoutSlidesToTheSelectedPanel) {
  TestWindow* window = Open(
      L"<Window size='300,200'><TabLayout name='tabs' animation='true'>"
      L"<Button name='first' text='1'/><Button name='second' text='2'/></TabLayout></Window>");
  auto* tabs = window->FindControl<ui::TabLayout>(L"tabs");
  auto* second = window->FindControl(L"second");
  EXPECT_FALSE(second->IsVisible());
  EXPECT_FALSE(tabs->SelectItem(5));
  ASSERT_TRUE(tabs->SelectItem(1));
  host_->RunUntilIdle();
  EXPECT_TRUE(tabs->IsAnimating());
  EXPECT_GT(second->GetPos().left, 0);  // still coming in from the right
  host_->AdvanceTime(ui::TabLayout::kAnimationFrames * ui::TabLayout::kFrameMs + 1);
  EXPECT_FALSE(tabs->IsAnimating());
  EXPECT_EQ(second->GetPos().left, 0);
  EXPECT_FALSE(window->FindControl(L"first")->IsVisible());
  EXPECT_TRUE(host_->ClickControl(window->GetHWND(), L"second"));
  EXPECT_FALSE(host_->ClickControl(window->GetHWND(), L"first"));
}

TEST_F(ControlsTest, ToolTipShowsAfterAPause) {
  TestWindow* window = Open(
      L"<Window size='300,200'><VerticalLayout><Button name='b' height='40' "
      L"tooltip='Close'/></VerticalLayout></Window>");
  auto& tree = window->Tree();
  host_->MoveMouse(window->GetHWND(), {20, 20});
  EXPECT_EQ(tree.ShownToolTipOwner(), nullptr);
  host_->AdvanceTime(600);
  EXPECT_EQ(tree.ShownToolTipOwner(), window->FindControl(L"b"));
  host_->MoveMouse(window->GetHWND(), {20, 150});
  EXPECT_EQ(tree.ShownToolTipOwner(), nullptr);
}

TEST_F(ControlsTest, TabKeyMovesTheFocusAmongShownControls) {
  TestWindow* window = Open(
      L"<Window size='300,200'><VerticalLayout><Button name='one' height='30'/><Button name='hidden' visible='false'/>"
      L"<Button name='two' height='30' enabled='false'/><Button name='three' height='30'/></VerticalLayout></Window>");
  host_->PressKey(window->GetHWND(), ui::kVkTab);
  EXPECT_EQ(window->Tree().GetFocus(), window->FindControl(L"one"));
  host_->PressKey(window->GetHWND(), ui::kVkTab);
  EXPECT_EQ(window->Tree().GetFocus(), window->FindControl(L"three"));
  host_->PressKey(window->GetHWND(), ui::kVkTab, true);
  EXPECT_EQ(window->Tree().GetFocus(), window->FindControl(L"one"));
  EXPECT_TRUE(window->Tree().IsFocusVisible());
}

}  // namespace

namespace {

TEST_F(ControlsTest, ScrollingStacksMoveTheirChildrenByWheelAndThumb) {
  std::wstring layout = L"<Window size='200,100'><VerticalLayout name='list' vscrollbar='true'>";
  for (int i = 0; i < 10; ++i) layout += L"<Button name='b" + std::to_wstring(i) + L"' height='25'/>";
  layout += L"</VerticalLayout></Window>";
  TestWindow* window = Open(layout);
  auto* list = window->FindControl<ui::VerticalLayout>(L"list");
  EXPECT_EQ(list->GetScrollRange(), 150);
  host_->Wheel(window->GetHWND(), {50, 50}, -120);
  EXPECT_EQ(list->GetScrollPos(), 40);
  EXPECT_EQ(window->FindControl(L"b0")->GetPos().top, -40);
  host_->Wheel(window->GetHWND(), {50, 50}, 600);
  EXPECT_EQ(list->GetScrollPos(), 0);
  // Dragging the thumb to the bottom of its track shows the last button.
  auto* events = host_->Window(window->GetHWND());
  events->Events().OnMouse({ui::MouseAction::Down, ui::MouseButton::Left, {196, 5}});
  events->Events().OnMouse({ui::MouseAction::Move, ui::MouseButton::None, {196, 200}});
  events->Events().OnMouse({ui::MouseAction::Up, ui::MouseButton::Left, {196, 200}});
  host_->RunUntilIdle();
  EXPECT_EQ(list->GetScrollPos(), 150);
  EXPECT_EQ(window->FindControl(L"b9")->GetPos().bottom, 100);
  EXPECT_TRUE(host_->ClickControl(window->GetHWND(), L"b9"));
  EXPECT_EQ(window->notes.back(), L"click:b9");
}

// The focus leaves a panel that is switched away: to the new panel's first input, else nowhere.
TEST_F(ControlsTest, FocusLeavesAPanelThatIsSwitchedAway) {
  TestWindow* window = Open(
      L"<Window size='300,200'><TabLayout name='tabs'><VerticalLayout><Edit name='e' height='30'/></VerticalLayout>"
      L"<VerticalLayout><Edit name='f' height='30'/></VerticalLayout>"
      L"<VerticalLayout><Button name='b' height='30'/></VerticalLayout></TabLayout></Window>");
  ASSERT_TRUE(host_->ClickControl(window->GetHWND(), L"e"));
  EXPECT_TRUE(window->FindControl(L"e")->IsFocused());
  window->FindControl<ui::TabLayout>(L"tabs")->SelectItem(1);
  host_->TypeText(window->GetHWND(), L"x");
  EXPECT_EQ(window->FindControl(L"e")->GetText(), L"");
  EXPECT_EQ(window->FindControl(L"f")->GetText(), L"x");
  window->FindControl<ui::TabLayout>(L"tabs")->SelectItem(2);
  EXPECT_EQ(window->Tree().GetFocus(), nullptr);  // a button is no input
}

TEST_F(ControlsTest, DisabledControlsTakeNoClicks) {
  TestWindow* window = Open(
      L"<Window size='300,200'><VerticalLayout><Button name='b' height='30' enabled='false'/>"
      L"<Option name='o' height='30' enabled='false'/></VerticalLayout></Window>");
  host_->ClickControl(window->GetHWND(), L"b");
  host_->ClickControl(window->GetHWND(), L"o");
  EXPECT_FALSE(window->FindControl<ui::Option>(L"o")->IsSelected());
  EXPECT_EQ(window->notes, std::vector<std::wstring>{L"windowinit:"});
  window->FindControl(L"b")->SetEnabled(true);
  host_->ClickControl(window->GetHWND(), L"b");
  EXPECT_EQ(window->notes.back(), L"click:b");
}

}  // namespace
