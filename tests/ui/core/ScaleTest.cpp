#include <gtest/gtest.h>

#include <cairo.h>

#include "ui/UiTestSupport.h"
#include "ui/controls/Button.h"
#include "ui/controls/Label.h"

using DisplayScaleTest = uitest::UiTest;

namespace {

using uitest::TestWindow;
using uitest::UiTest;

const wchar_t* kScaled =
    L"<Window size='200,100' mininfo='150,80' shadowsize='4'><Font id='1' size='12'/><Font id='2' size='20' "
    L"default='true'/>"
    L"<VerticalLayout inset='10,10,10,10'><Button name='b' height='30' font='1' padding='0,5,0,0'/><Label name='l'/>"
    L"</VerticalLayout></Window>";

class UiScale150 : public UiTest {
 protected:
  int Scale() const override { return 150; }
};

TEST_F(UiScale150, SizesPaddingsAndFontsFollowTheDisplayScale) {
  TestWindow* window = Open(kScaled);
  // 200 x 100 plus a shadow of 4 on each side, all times 1.5.
  EXPECT_EQ(window->GetHostWindow()->ClientSize(), (ui::Size{312, 162}));
  const ui::Rect button = window->FindControl(L"b")->GetPos();
  EXPECT_EQ(button.top, 6 + 15 + 8);  // shadow, inset and padding, scaled
  EXPECT_EQ(button.Height(), 45);
  EXPECT_EQ(window->Tree().GetFont(1).size, 18);
  EXPECT_EQ(window->Tree().GetFont(-1).size, 30);
  // The minimum size reaches the host scaled as well.
  auto* host = host_->Window(window->GetHWND());
  host->SetBounds({0, 0, 100, 100});
  EXPECT_EQ(host->ClientSize(), (ui::Size{237, 132}));
}

// Moved to a monitor at 200 %: the host reports the scale and then gives the window the
// suggested size; everything is measured and painted again at the new scale.
TEST_F(DisplayScaleTest, AnotherMonitorsScaleLaysTheWindowOutAndPaintsItAgain) {
  TestWindow* window = Open(kScaled);
  auto* host = host_->Window(window->GetHWND());
  host_->RunUntilIdle();
  ASSERT_FALSE(host->NeedsPaint());
  host->Events().OnScaleChanged(200);
  host->SetBounds({0, 0, 416, 216});
  host_->RunUntilIdle();
  EXPECT_EQ(window->Tree().Scale(), 200);
  const ui::Rect button = window->FindControl(L"b")->GetPos();
  EXPECT_EQ(button.top, 8 + 20 + 10);
  EXPECT_EQ(button.Height(), 60);
  EXPECT_EQ(window->Tree().GetFont(1).size, 24);
  EXPECT_GE(host->PaintCount(), 2);
}

TEST_F(UiScale150, OutsizedNumbersAreRefusedAndTheLargestAllowedStillLayOut) {
  // Each of these once overflowed the scaling or the layout's sums (found by fuzzing).
  testing::internal::CaptureStderr();
  TestWindow* window = Open(
      L"<Window size='900,700' mininfo='999999999,999999999'><VerticalLayout childpadding='100000'"
      L" inset='-100000,-100000,100000,100000'><Label name='big' width='100000' height='100000'"
      L" padding='100000,100000,100000,100000'/><Button name='huge' height='999999999'/>"
      L"<Label height='-100000'/></VerticalLayout></Window>");
  const std::string report = testing::internal::GetCapturedStderr();
  EXPECT_NE(report.find("bad value \"999999999,999999999\" for attribute \"mininfo\""), std::string::npos) << report;
  EXPECT_NE(report.find("bad value \"999999999\" for attribute \"height\""), std::string::npos) << report;
  EXPECT_EQ(window->FindControl(L"big")->GetFixedHeight(), 100000);
  EXPECT_EQ(window->FindControl(L"huge")->GetFixedHeight(), 0);
}

TEST_F(DisplayScaleTest, TheLanguageFontReplacesTheDefaultOfControlsWithoutTheirOwn) {
  TestWindow* window = Open(kScaled);
  window->Tree().SetDefaultFont({L"宋体", 20, false});
  EXPECT_EQ(window->Tree().GetFont(-1).size, 20);
  window->Tree().SetDefaultFont({L"宋体", 14, false});
  EXPECT_EQ(window->Tree().GetFont(-1).size, 14);
  EXPECT_EQ(window->Tree().GetFont(1).size, 12);  // a layout font stays
  window->FindControl(L"l")->SetFont(2);
  EXPECT_EQ(window->Tree().GetFont(window->FindControl(L"l")->GetFont()).size, 20);
}

TEST_F(DisplayScaleTest, SharedStylesAndFontsServeLaterWindows) {
  Open(
      L"<Window size='100,100'><Style name='colorbtn_style' value=\"textcolor='ff0000ff'\" shared='true'/>"
      L"<Font id='22' size='22' shared='true'/><Control/></Window>");
  TestWindow* popup = Open(
      L"<Window size='100,100'><VerticalLayout><Button name='b' style='colorbtn_style' font='22'/>"
      L"</VerticalLayout></Window>");
  auto* button = popup->FindControl<ui::Button>(L"b");
  EXPECT_EQ(button->GetTextColor(), 0xFF0000FFu);
  EXPECT_EQ(popup->Tree().GetFont(22).size, 22);
  testing::internal::CaptureStderr();
  EXPECT_FALSE(button->ApplyStyle(L"no_such_style"));
  EXPECT_NE(testing::internal::GetCapturedStderr().find("style \"no_such_style\": no such style"), std::string::npos);
}

std::string GradientPng() {
  // 24 x 24: opaque red corners around a transparent middle, a stand-in shadow.
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 24, 24);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgba(cr, 1, 0, 0, 1);
  cairo_paint(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
  cairo_rectangle(cr, 8, 8, 8, 8);
  cairo_fill(cr);
  cairo_destroy(cr);
  return uitest::PngOf(surface);
}

TEST_F(DisplayScaleTest, TheShadowImageFramesTheBodyAndItsMiddleStaysTheBody) {
  ui::SkinFiles::AddMemoryFile("main/shadow.png", GradientPng());
  TestWindow* window = Open(
      L"<Window size='100,60' shadowsize='6' shadowimage='main/shadow.png' shadowcorner='8,8,8,8' bkcolor='ff00ff00'>"
      L"<Control/></Window>");
  EXPECT_EQ(host_->PixelAt(window->GetHWND(), {1, 1}), 0xFFFF0000u);    // a corner of the image
  EXPECT_EQ(host_->PixelAt(window->GetHWND(), {56, 2}), 0xFFFF0000u);   // the stretched top edge
  EXPECT_EQ(host_->PixelAt(window->GetHWND(), {56, 36}), 0xFF00FF00u);  // the body's own colour
  // Without the image the painter draws a soft shadow of its own.
  TestWindow* plain = Open(L"<Window size='100,60' shadowsize='6'><Control/></Window>");
  const uint32_t outer = host_->PixelAt(plain->GetHWND(), {0, 30});
  const uint32_t inner = host_->PixelAt(plain->GetHWND(), {5, 30});
  EXPECT_LT(outer >> 24, inner >> 24);
  EXPECT_GT(inner >> 24, 0u);
}

TEST_F(DisplayScaleTest, FixedSizeWindowsHaveNoResizeBorder) {
  TestWindow* window = Open(
      L"<Window size='200,100' mininfo='200,100' maxinfo='200,100' sizebox='4,4,4,4' "
      L"caption='0,0,0,30'><Control/></Window>");
  EXPECT_FALSE(window->Tree().IsResizable());
  EXPECT_FALSE(host_->Window(window->GetHWND())->Params().resizable);
  EXPECT_EQ(window->Tree().HitTest({1, 50}), ui::kHtClient);
  EXPECT_EQ(window->Tree().HitTest({100, 10}), ui::kHtCaption);
}

}  // namespace
