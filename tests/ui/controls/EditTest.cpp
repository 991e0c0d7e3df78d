#include <gtest/gtest.h>

#include "ui/UiTestSupport.h"
#include "ui/controls/Edit.h"

namespace {

using uitest::TestWindow;
using uitest::UiTest;

class UiEdit : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    window_ = Open(
        L"<Window size='300,100'><VerticalLayout>"
        L"<Edit name='pin' height='30' maxchar='6'/><Edit name='other' height='30'/>"
        L"</VerticalLayout></Window>");
    edit_ = window_->FindControl<ui::Edit>(L"pin");
    ASSERT_TRUE(host_->ClickControl(window_->GetHWND(), L"pin"));
  }
  int Changes() const {
    return static_cast<int>(std::count(window_->notes.begin(), window_->notes.end(), L"textchanged:pin"));
  }

  TestWindow* window_ = nullptr;
  ui::Edit* edit_ = nullptr;
};

TEST_F(UiEdit, TypingEditsAtTheCaretWithinTheLimitAndNotifiesEachChange) {
  EXPECT_TRUE(edit_->IsFocused());
  host_->TypeText(window_->GetHWND(), L"ab");
  host_->TypeText(window_->GetHWND(), L"cd");
  EXPECT_EQ(edit_->GetText(), L"abcd");
  EXPECT_EQ(Changes(), 2);
  host_->PressKey(window_->GetHWND(), ui::kVkLeft);
  host_->PressKey(window_->GetHWND(), ui::kVkBack);
  EXPECT_EQ(edit_->GetText(), L"abd");
  host_->TypeText(window_->GetHWND(), L"XYZW\r\n");  // only three more fit; line breaks never
  EXPECT_EQ(edit_->GetText(), L"abXYZd");
  host_->TypeText(window_->GetHWND(), L"Q");
  EXPECT_EQ(edit_->GetText(), L"abXYZd");
  EXPECT_EQ(Changes(), 4);  // a keystroke that changes nothing sends nothing
  host_->PressKey(window_->GetHWND(), ui::kVkHome);
  host_->PressKey(window_->GetHWND(), ui::kVkDelete);
  EXPECT_EQ(edit_->GetText(), L"bXYZd");
}

TEST_F(UiEdit, SelectionAndClipboard) {
  host_->TypeText(window_->GetHWND(), L"hello");
  host_->PressKey(window_->GetHWND(), ui::kVkLeft, true);
  host_->PressKey(window_->GetHWND(), ui::kVkLeft, true);
  EXPECT_EQ(edit_->GetSel(), (std::pair<int, int>{3, 5}));
  host_->PressKey(window_->GetHWND(), 'X', false, true);
  EXPECT_EQ(edit_->GetText(), L"hel");
  EXPECT_EQ(host_->ClipboardText(), L"lo");
  host_->PressKey(window_->GetHWND(), 'A', false, true);
  host_->PressKey(window_->GetHWND(), 'V', false, true);
  EXPECT_EQ(edit_->GetText(), L"lo");
  host_->SetClipboardText(L"123456789");
  host_->PressKey(window_->GetHWND(), 'V', false, true);
  EXPECT_EQ(edit_->GetText(), L"lo1234");
}

TEST_F(UiEdit, SetTextIsQuietAndPutsTheCaretAtTheEnd) {
  edit_->SetText(L"A1-B2");
  EXPECT_EQ(Changes(), 0);
  EXPECT_EQ(edit_->GetCaret(), 5);
  edit_->SetSel(0, 0);
  edit_->MoveCaretToEnd();
  EXPECT_EQ(edit_->GetSel(), (std::pair<int, int>{5, 5}));
}

TEST_F(UiEdit, ClickPlacesTheCaretAndTheFocusMoves) {
  host_->TypeText(window_->GetHWND(), L"wwwwww");
  const ui::Rect place = edit_->GetPos();
  host_->Click(window_->GetHWND(), {place.left + 2, place.top + 10});
  EXPECT_EQ(edit_->GetCaret(), 0);
  host_->Click(window_->GetHWND(), {place.right - 3, place.top + 10});
  EXPECT_EQ(edit_->GetCaret(), 6);
  ASSERT_TRUE(host_->ClickControl(window_->GetHWND(), L"other"));
  host_->TypeText(window_->GetHWND(), L"z");
  EXPECT_EQ(edit_->GetText(), L"wwwwww");
  EXPECT_EQ(window_->FindControl(L"other")->GetText(), L"z");
}

}  // namespace

namespace {

TEST_F(UiEdit, ReadOnlyEditsRefuseChangesButSelectAndCopy) {
  edit_->SetText(L"COM1:");
  edit_->SetReadOnly(true);
  host_->TypeText(window_->GetHWND(), L"x");
  host_->PressKey(window_->GetHWND(), ui::kVkBack);
  host_->PressKey(window_->GetHWND(), 'X', false, true);
  EXPECT_EQ(edit_->GetText(), L"COM1:");
  auto* events = host_->Window(window_->GetHWND());
  const ui::Rect place = edit_->GetPos();
  events->Events().OnMouse({ui::MouseAction::DoubleClick, ui::MouseButton::Left, {place.left + 4, place.top + 4}});
  events->Events().OnMouse({ui::MouseAction::Up, ui::MouseButton::Left, {place.left + 4, place.top + 4}});
  host_->PressKey(window_->GetHWND(), 'C', false, true);
  EXPECT_EQ(host_->ClipboardText(), L"COM1:");
  EXPECT_EQ(Changes(), 0);
}

TEST_F(UiEdit, AFilterThatRewritesTheTextOnChangeSettles) {
  // What the PIN page does: keep letters and digits, caret to the end.
  window_->onNotify = [&](ui::TNotifyUI& msg) {
    if (!msg.Is(L"textchanged")) return;
    std::wstring kept;
    for (wchar_t c : edit_->GetText()) {
      if ((c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z')) kept += c;
    }
    if (kept != edit_->GetText()) {
      edit_->SetText(kept);
      edit_->MoveCaretToEnd();
    }
  };
  host_->TypeText(window_->GetHWND(), L"62-8 3");
  EXPECT_EQ(edit_->GetText(), L"6283");
  EXPECT_EQ(edit_->GetCaret(), 4);
}

}  // namespace
