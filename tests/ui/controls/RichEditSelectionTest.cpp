// Selecting and copying text of a log pane: by mouse, by keyboard, all of it.
#include <gtest/gtest.h>

#include "ui/UiTestSupport.h"
#include "ui/controls/RichEdit.h"
#include "ui/core/SystemConstants.h"
#include "ui/core/Theme.h"

namespace {

using uitest::TestWindow;
using uitest::UiTest;

constexpr ui::Argb kRed = 0xFFFF0000, kBlue = 0xFF0000FF;

class RichEditSelection : public UiTest {
 protected:
  ui::RichEdit* OpenLog(const wchar_t* size = L"760,200") {
    window_ = Open(std::wstring(L"<Window size='") + size +
                   L"'><VerticalLayout><RichEdit name='log' bkcolor='ffffffff'/><Edit name='other' height='24'/>"
                   L"</VerticalLayout></Window>");
    auto* log = window_->FindControl<ui::RichEdit>(L"log");
    log->AppendText(L"12:00:00.000 : Start copying the file...\r\n", kBlue, 225);
    log->AppendText(L"12:00:00.001 : Failed to copy the file: Code: 5 - Access is denied.\r\n", kRed, 225);
    log->AppendText(L"12:00:00.002 : The file is copied.\r\n", kBlue, 225);
    host_->RunUntilIdle();
    return log;
  }

  void Mouse(ui::RichEdit* log, ui::UiEventType type, ui::Point point, bool shift = false) {
    ui::UiEvent event;
    event.type = type;
    event.position = point;
    event.button = ui::MouseButton::Left;
    event.shift = shift;
    log->DoEvent(event);
    host_->RunUntilIdle();  // the paint places the point in the text
  }

  void Key(unsigned key, bool shift = false, bool control = false) {
    host_->PressKey(window_->GetHWND(), key, shift, control);
    host_->RunUntilIdle();
  }

  TestWindow* window_ = nullptr;
};

TEST_F(RichEditSelection, CtrlACtrlCCopiesTheWholeLog) {
  auto* log = OpenLog();
  host_->ClickControl(window_->GetHWND(), L"log");
  Key('A', false, true);
  Key('C', false, true);
  EXPECT_EQ(host_->ClipboardText(), log->GetText());
  // A new log (the next run) drops the selection.
  log->SetText(L"");
  EXPECT_EQ(log->GetSel(), std::make_pair(size_t{0}, size_t{0}));
}

TEST_F(RichEditSelection, ADoubleClickTakesTheRedLineForTheMailToSupport) {
  auto* log = OpenLog();
  const ui::Rect place = log->GetPos();
  // The second line lies below the first: find it by trying downwards.
  for (int y = place.top + 4; y < place.bottom; y += 2) {
    Mouse(log, ui::UiEventType::DoubleClick, {place.left + 40, y});
    if (log->GetSelText().find(L"Failed") != std::wstring::npos) break;
  }
  EXPECT_EQ(log->GetSelText(), L"12:00:00.001 : Failed to copy the file: Code: 5 - Access is denied.");
  log->SetFocus();  // the tree's own click would have given it
  Key('C', false, true);
  EXPECT_EQ(host_->ClipboardText(), log->GetSelText());
}

TEST_F(RichEditSelection, DraggingSelectsFromThePressToTheMouseAndIsPainted) {
  auto* log = OpenLog();
  const ui::Rect place = log->GetPos();
  Mouse(log, ui::UiEventType::ButtonDown, {place.left + 1, place.top + 6});
  EXPECT_EQ(log->GetSel(), std::make_pair(size_t{0}, size_t{0}));
  Mouse(log, ui::UiEventType::MouseMove, {place.left + 120, place.top + 6});
  Mouse(log, ui::UiEventType::ButtonUp, {place.left + 120, place.top + 6});
  const std::wstring selected = log->GetSelText();
  ASSERT_GT(selected.size(), 3u);
  EXPECT_EQ(log->GetText().rfind(selected, 0), 0u) << "a prefix of the first line";
  EXPECT_EQ(selected.find(L"\r\n"), std::wstring::npos);
  // The selection's colour shows behind the text.
  int highlighted = 0;
  for (int x = place.left + 2; x < place.left + 110; ++x) {
    highlighted += host_->PixelAt(window_->GetHWND(), {x, place.top + 6}) == ui::theme::kAccentSoft;
  }
  EXPECT_GT(highlighted, 10);
  // A plain press elsewhere starts again; Shift+press extends.
  Mouse(log, ui::UiEventType::ButtonDown, {place.left + 1, place.bottom - 4});
  Mouse(log, ui::UiEventType::ButtonUp, {place.left + 1, place.bottom - 4});
  EXPECT_EQ(log->GetSel().first, log->GetText().size()) << "below the text: its end";
  Mouse(log, ui::UiEventType::ButtonDown, {place.left + 1, place.top + 6}, true);
  EXPECT_EQ(log->GetSelText(), log->GetText());
}

TEST_F(RichEditSelection, ShiftAndTheArrowsExtendByCharacterLineAndLineEnd) {
  auto* log = OpenLog();
  host_->ClickControl(window_->GetHWND(), L"log");
  Key(ui::kVkHome, false, true);
  for (int i = 0; i < 5; ++i) Key(ui::kVkRight, true);
  EXPECT_EQ(log->GetSelText(), L"12:00");
  Key(ui::kVkEnd, true);
  EXPECT_EQ(log->GetSelText(), L"12:00:00.000 : Start copying the file...");
  Key(ui::kVkRight, true);  // over the line break in one step
  EXPECT_EQ(log->GetSelText(), L"12:00:00.000 : Start copying the file...\r\n");
  Key(ui::kVkDown, true);
  EXPECT_EQ(log->GetSel().second, log->GetText().find(L"12:00:00.002"));
  Key(ui::kVkLeft, true);
  Key(ui::kVkLeft, true);
  EXPECT_EQ(log->GetSel().second, log->GetText().find(L"12:00:00.002") - 3);
  Key(ui::kVkLeft);  // without Shift: the caret goes to the selection's start
  EXPECT_EQ(log->GetSel(), std::make_pair(size_t{0}, size_t{0}));
  Key(ui::kVkEnd, true, true);
  EXPECT_EQ(log->GetSelText(), log->GetText());
}

TEST_F(RichEditSelection, DownMovesOneWrappedLineInALongParagraph) {
  window_ = Open(L"<Window size='160,200'><RichEdit name='log'/></Window>");
  auto* log = window_->FindControl<ui::RichEdit>(L"log");
  const std::wstring line =
      L"12:00:00.003 : Installation failed, error message: Code: 1796 - The specified port is "
      L"unknown.";
  log->AppendText(line + L"\r\n", kRed, 225);
  host_->RunUntilIdle();
  host_->ClickControl(window_->GetHWND(), L"log");
  Key(ui::kVkHome, false, true);
  Key(ui::kVkDown, true);
  const size_t wrapped = log->GetSel().second;
  EXPECT_GT(wrapped, 0u);
  EXPECT_LT(wrapped, line.size()) << "the next visual line of the same paragraph";
  Key(ui::kVkEnd, true);
  EXPECT_LE(log->GetSel().second, line.size());
  EXPECT_GT(log->GetSel().second, wrapped);
}

}  // namespace
