#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "base/WindowMessage.h"
#include "ui/UiTestSupport.h"
#include "ui/controls/RichEdit.h"

using RichEditTest = uitest::UiTest;

namespace {

using uitest::TestWindow;
using uitest::UiTest;

const wchar_t* kLog =
    L"<Window size='400,200'><VerticalLayout>"
    L"<RichEdit name='log' vscrollbar='true' readonly='true' multiline='true'/>"
    L"<RichEdit name='wide' height='60' hscrollbar='true'/>"
    L"</VerticalLayout></Window>";

constexpr ui::Argb kRed = 0xFFFF0000, kBlue = 0xFF0000FF;

TEST_F(RichEditTest, RichEditKeepsParagraphsAndColours) {
  TestWindow* window = Open(kLog);
  auto* log = window->FindControl<ui::RichEdit>(L"log");
  log->AppendText(L"09:05:03.007 : ", kBlue, 225);
  log->AppendText(L"start", kBlue, 225);
  log->AppendText(L"\r\n", kBlue, 225);
  log->AppendText(L"failed\r\n", kRed, 225);
  log->AppendText(L"a\nb\rc");
  EXPECT_EQ(log->GetText(), L"09:05:03.007 : start\r\nfailed\r\na\r\nb\r\nc");
  EXPECT_EQ(log->GetParagraphCount(), 5);
  EXPECT_EQ(log->ColorAt(0), kBlue);
  EXPECT_EQ(log->ColorAt(22), kRed);
  log->SetText(L"");
  EXPECT_EQ(log->GetText(), L"");
  EXPECT_EQ(log->GetParagraphCount(), 0);
}

TEST_F(RichEditTest, RichEditFollowsTheBottomUntilTheUserScrollsUp) {
  TestWindow* window = Open(kLog);
  auto* log = window->FindControl<ui::RichEdit>(L"log");
  for (int i = 0; i < 200; ++i) log->AppendText(L"line " + std::to_wstring(i) + L"\r\n", kBlue, 225);
  log->ScrollToBottom();
  host_->RunUntilIdle();
  EXPECT_TRUE(log->IsFollowingBottom());
  const ui::Rect place = log->GetPos();
  const ui::Point inside{place.left + place.Width() / 2, place.top + place.Height() / 2};
  host_->Wheel(window->GetHWND(), inside, 120);
  EXPECT_FALSE(log->IsFollowingBottom());
  log->AppendText(L"more\r\n", kBlue, 225);
  host_->RunUntilIdle();
  EXPECT_FALSE(log->IsFollowingBottom());
  for (int i = 0; i < 5; ++i) host_->Wheel(window->GetHWND(), inside, -120);
  EXPECT_TRUE(log->IsFollowingBottom());  // scrolled back to the end
}

TEST_F(RichEditTest, RichEditShowsTheLastLineAfterScrollingToTheBottom) {
  TestWindow* window = Open(L"<Window size='300,120'><RichEdit name='log' bkcolor='ffffffff'/></Window>");
  auto* log = window->FindControl<ui::RichEdit>(L"log");
  for (int i = 0; i < 50; ++i) log->AppendText(L"xxxxxxxx\r\n", i == 49 ? kRed : kBlue, 225);
  log->ScrollToBottom();
  // The red last line lies at the bottom of the pane: count red pixels in each half.
  int redTop = 0, redBottom = 0;
  for (int y = 0; y < 120; y += 1) {
    for (int x = 0; x < 120; x += 2) {
      const uint32_t pixel = host_->PixelAt(window->GetHWND(), {x, y});
      const bool red = ((pixel >> 16) & 0xFF) > 160 && (pixel & 0xFF) < 100 && ((pixel >> 8) & 0xFF) < 100;
      (y < 60 ? redTop : redBottom) += red ? 1 : 0;
    }
  }
  EXPECT_EQ(redTop, 0);
  EXPECT_GT(redBottom, 0);
}

TEST_F(RichEditTest, RichEditTakesManyLinesFromAWorkerWithCoalescedPaints) {
  TestWindow* window = Open(kLog);
  auto* log = window->FindControl<ui::RichEdit>(L"log");
  window->onMessage = [&](uint32_t message, uintptr_t, intptr_t lParam, bool& handled) -> intptr_t {
    if (message == 752) {
      log->AppendText(L"12:00:00.000 : ", kBlue, 225);
      log->AppendText(*reinterpret_cast<const std::wstring*>(lParam), kBlue, 225);
      log->AppendText(L"\r\n", kBlue, 225);
      log->ScrollToBottom();
    }
    handled = false;
    return 0;
  };
  const ui::WindowHandle handle = window->GetHWND();
  const int paintsBefore = host_->Window(handle)->PaintCount();
  constexpr int kLines = 10000;
  const auto start = std::chrono::steady_clock::now();
  std::thread worker([&] {
    for (int i = 0; i < kLines; ++i) {
      const std::wstring text = L"Start copying the file... " + std::to_wstring(i);
      ui::SendWindowMessage(handle, 752, 0, reinterpret_cast<intptr_t>(&text));
    }
    ui::SendWindowMessage(handle, ui::kWmSysCommand, ui::kScMinimize, 0);
  });
  host_->RunModalLoop([&] { return host_->Window(handle)->IsMinimized(); });
  worker.join();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("[ measure  ] %d log lines from a worker in %.3f s, %d paints\n", kLines, seconds,
              host_->Window(handle)->PaintCount() - paintsBefore);
  EXPECT_EQ(log->GetParagraphCount(), kLines);
  EXPECT_LT(host_->Window(handle)->PaintCount() - paintsBefore, kLines / 10);
}

TEST_F(RichEditTest, WideRichEditScrollsSidewaysInsteadOfWrapping) {
  TestWindow* window = Open(kLog);
  auto* wrapped = window->FindControl<ui::RichEdit>(L"log");
  auto* wide = window->FindControl<ui::RichEdit>(L"wide");
  const std::wstring longLine(300, L'w');
  wrapped->AppendText(longLine);
  wide->AppendText(longLine);
  host_->RunUntilIdle();
  // Both show the start of the line; only the wrapped one shows more lines of it.
  auto inkRows = [&](const ui::RichEdit* edit) {
    int rows = 0;
    const ui::Rect place = edit->GetPos();
    for (int y = place.top + 2; y < place.bottom - 12; ++y) {
      bool ink = false;
      for (int x = place.left + 10; x < place.left + 200 && !ink; ++x) {
        ink = (host_->PixelAt(window->GetHWND(), {x, y}) & 0xFF) < 128;
      }
      rows += ink ? 1 : 0;
    }
    return rows;
  };
  EXPECT_GT(inkRows(wrapped), 2 * inkRows(wide));
}

}  // namespace

namespace {

TEST_F(RichEditTest, RichEditThumbDragReachesTheStartAndTheEnd) {
  TestWindow* window = Open(L"<Window size='300,120'><RichEdit name='log'/></Window>");
  auto* log = window->FindControl<ui::RichEdit>(L"log");
  for (int i = 0; i < 100; ++i) log->AppendText(L"line\r\n", i == 0 ? kRed : kBlue, 225);
  log->ScrollToBottom();
  host_->RunUntilIdle();
  auto* events = host_->Window(window->GetHWND());
  const ui::Rect place = log->GetPos();
  const int barX = place.right - 4;
  auto redInTopHalf = [&] {
    int red = 0;
    for (int y = place.top; y < place.top + 40; ++y) {
      for (int x = place.left; x < place.left + 60; x += 2) {
        const uint32_t p = host_->PixelAt(window->GetHWND(), {x, y});
        red += (((p >> 16) & 0xFF) > 160 && (p & 0xFF) < 100) ? 1 : 0;
      }
    }
    return red;
  };
  EXPECT_EQ(redInTopHalf(), 0);
  events->Events().OnMouse({ui::MouseAction::Down, ui::MouseButton::Left, {barX, place.bottom - 3}});
  events->Events().OnMouse({ui::MouseAction::Move, ui::MouseButton::None, {barX, place.top - 500}});
  events->Events().OnMouse({ui::MouseAction::Up, ui::MouseButton::Left, {barX, place.top - 500}});
  host_->RunUntilIdle();
  EXPECT_FALSE(log->IsFollowingBottom());
  EXPECT_GT(redInTopHalf(), 0);  // the first, red line is in view
  events->Events().OnMouse({ui::MouseAction::Down, ui::MouseButton::Left, {barX, place.top + 3}});
  events->Events().OnMouse({ui::MouseAction::Move, ui::MouseButton::None, {barX, place.bottom + 500}});
  events->Events().OnMouse({ui::MouseAction::Up, ui::MouseButton::Left, {barX, place.bottom + 500}});
  host_->RunUntilIdle();
  EXPECT_TRUE(log->IsFollowingBottom());
}

}  // namespace
