#include <gtest/gtest.h>

#include "ui/UiTestSupport.h"
#include "ui/core/HighContrastCanvas.h"

namespace {

using uitest::UiTest;

// Draws nothing itself: records what the toolkit's canvas would have drawn.
class RecordingCanvas final : public ui::Canvas {
 public:
  std::vector<ui::Argb> fills, texts, lines;
  void FillRect(const ui::Rect&, ui::Argb color) override { fills.push_back(color); }
  void FillRoundRect(const ui::Rect&, int, ui::Argb color) override { fills.push_back(color); }
  void DrawRect(const ui::Rect&, ui::Argb color, int) override { lines.push_back(color); }
  void DrawRoundRect(const ui::Rect&, int, ui::Argb color, int) override { lines.push_back(color); }
  void DrawLine(ui::Point, ui::Point, ui::Argb color, int) override { lines.push_back(color); }
  void DrawImage(const ui::Image&, int, const ui::Rect&, const ui::Rect&, uint8_t) override {}
  void DrawText(std::wstring_view, const ui::Rect&, const ui::FontSpec&, ui::Argb color, unsigned) override {
    texts.push_back(color);
  }
  ui::Size MeasureText(std::wstring_view, const ui::FontSpec&, int, unsigned) override { return {}; }
  std::vector<int> CaretOffsets(std::wstring_view text, const ui::FontSpec&) override {
    return std::vector<int>(text.size() + 1, 0);
  }
  void PushClip(const ui::Rect&) override {}
  void PopClip() override {}
};

TEST(HighContrastCanvas, SkinColoursBecomeTheSystemsWithTextReadableOnItsFill) {
  RecordingCanvas target;
  const ui::SystemColors colors;  // light on black
  ui::HighContrastCanvas canvas(target, colors);
  canvas.FillRect({0, 0, 100, 100}, 0xFFFFFFFF);  // the body
  canvas.DrawText(L"label", {10, 10, 90, 20}, {}, 0xFF1F2329, 0);
  canvas.DrawText(L"off", {10, 30, 90, 40}, {}, 0xFFB0B5BC, 0);  // the disabled grey
  canvas.FillRoundRect({0, 50, 100, 80}, 4, 0xFF1E6FD9);         // an accent button
  canvas.DrawText(L"Next", {10, 60, 90, 70}, {}, 0xFFFFFFFF, 0);
  canvas.DrawRoundRect({0, 50, 100, 80}, 4, 0xFF0D3A75, 2);  // its focus ring
  canvas.FillRect({0, 0, 100, 100}, 0x1A000000);             // a wash over everything changes nothing beneath
  canvas.DrawText(L"after", {10, 10, 90, 20}, {}, 0xFF1F2329, 0);
  EXPECT_EQ(target.fills,
            (std::vector<ui::Argb>{colors.window, colors.highlight, (colors.highlight & 0x00FFFFFFu) | 0x1A000000u}));
  EXPECT_EQ(target.texts,
            (std::vector<ui::Argb>{colors.windowText, colors.grayText, colors.highlightText, colors.windowText}));
  EXPECT_EQ(target.lines, (std::vector<ui::Argb>{colors.highlightText}));
}

class HighContrast : public UiTest {};

TEST_F(HighContrast, TheWindowPaintsWithTheSystemsColoursWhileTheHostAsksAndRepaintsWhenItChanges) {
  uitest::TestWindow* window = Open(
      L"<Window size='300,200'><VerticalLayout><Label text='x' height='100'/>"
      L"<Button name='go' text='Go' height='40' bkcolor='ff1e6fd9'/></VerticalLayout></Window>");
  const ui::WindowHandle hwnd = window->GetHWND();
  const ui::Point body{250, 50}, button{5, 120};
  EXPECT_EQ(host_->PixelAt(hwnd, body), 0xFFFFFFFFu);
  EXPECT_EQ(host_->PixelAt(hwnd, button), 0xFF1E6FD9u);

  ui::SystemColors colors;
  colors.window = 0xFF000000;
  colors.highlight = 0xFF00FFFF;
  host_->SetHighContrast(true, colors);
  EXPECT_TRUE(host_->Window(hwnd)->NeedsPaint());
  EXPECT_EQ(host_->PixelAt(hwnd, body), 0xFF000000u);
  EXPECT_EQ(host_->PixelAt(hwnd, button), 0xFF00FFFFu);

  host_->SetHighContrast(false);
  EXPECT_EQ(host_->PixelAt(hwnd, body), 0xFFFFFFFFu);
}

}  // namespace
