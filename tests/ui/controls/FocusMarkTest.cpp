#include <gtest/gtest.h>

#include "ui/UiTestSupport.h"

namespace {

using uitest::UiTest;

class FocusMark : public UiTest {};

uint8_t Channel(uint32_t pixel, int shift) {
  return static_cast<uint8_t>((pixel >> shift) & 0xFF);
}

// Every Tab stop shows where the focus is: a caption button on the accent colour in its
// glyph's colour, a log pane with a ring of its own.
TEST_F(FocusMark, CaptionButtonsAndLogPanesDrawTheRingWhenTabReachesThem) {
  uitest::TestWindow* window = Open(
      L"<Window size='300,200'><VerticalLayout>"
      L"<HorizontalLayout height='40' bkcolor='ff1e6fd9' inset='4,4,4,4'><Control/>"
      L"  <Button name='close' glyph='close' width='32' textcolor='ffffffff' borderround='4'/></HorizontalLayout>"
      L"<RichEdit name='log' height='100' bkcolor='ffffffff'/></VerticalLayout></Window>");
  const ui::WindowHandle hwnd = window->GetHWND();
  const ui::Rect close = window->FindControl(L"close")->GetPos();
  const ui::Rect log = window->FindControl(L"log")->GetPos();
  const ui::Point ringOfClose{close.left, (close.top + close.bottom) / 2};
  const ui::Point ringOfLog{(log.left + log.right) / 2, log.top};
  const uint32_t closeBefore = host_->PixelAt(hwnd, ringOfClose);
  const uint32_t logBefore = host_->PixelAt(hwnd, ringOfLog);

  host_->PressKey(hwnd, ui::kVkTab);
  ASSERT_EQ(window->Tree().GetFocus(), window->FindControl(L"close"));
  const uint32_t closeFocused = host_->PixelAt(hwnd, ringOfClose);
  EXPECT_NE(closeFocused, closeBefore);
  for (int shift : {0, 8, 16}) EXPECT_GT(Channel(closeFocused, shift), 0xA0) << "not the glyph's white";

  host_->PressKey(hwnd, ui::kVkTab);
  ASSERT_EQ(window->Tree().GetFocus(), window->FindControl(L"log"));
  EXPECT_NE(host_->PixelAt(hwnd, ringOfLog), logBefore);
  EXPECT_EQ(host_->PixelAt(hwnd, ringOfClose), closeBefore);
}

}  // namespace
