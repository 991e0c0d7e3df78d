#include <gtest/gtest.h>

#include <cairo.h>

#include <filesystem>

#include "ui/UiTestSupport.h"
#include "ui/cairo/CanvasCairo.h"
#include "ui/controls/List.h"
#include "ui/controls/ListRow.h"
#include "ui/controls/RichEdit.h"

namespace {

using uitest::TestWindow;
using uitest::UiTest;

// Pixels of a white surface that text turned dark.
int InkOf(const std::wstring& text, const ui::FontSpec& font) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 300, 40);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  {
    ui::CanvasCairo canvas(cr);
    canvas.DrawText(text, {0, 0, 300, 40}, font, 0xFF000000, ui::kTextSingleLine | ui::kTextVCenter);
  }
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  int ink = 0;
  const unsigned char* data = cairo_image_surface_get_data(surface);
  for (int i = 0; i < 300 * 40; ++i) ink += data[i * 4] < 128 ? 1 : 0;
  cairo_surface_destroy(surface);
  return ink;
}

TEST(UiCanvasCairo, ThaiAndChineseTextShowWithTheSongtiFace) {
  const ui::FontSpec font{L"宋体", 16};
  EXPECT_GT(InkOf(L"ภาษาไทย", font), 20);
  EXPECT_GT(InkOf(L"打印机驱动", font), 20);
  // Unshaped boxes would give every character the same ink; real glyphs differ.
  EXPECT_NE(InkOf(L"一", font), InkOf(L"繁", font));
}

TEST(UiCanvasCairo, MeasuringWrapsAtTheWidth) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
  cairo_t* cr = cairo_create(surface);
  {
    ui::CanvasCairo canvas(cr);
    const ui::FontSpec font{L"宋体", 14};
    const ui::Size line = canvas.MeasureText(L"Start copying the file...", font, 0, ui::kTextSingleLine);
    EXPECT_GT(line.cx, 100);
    const ui::Size wrapped = canvas.MeasureText(L"Start copying the file...", font, line.cx / 2, ui::kTextWordBreak);
    EXPECT_LE(wrapped.cx, line.cx / 2);
    EXPECT_GE(wrapped.cy, 2 * line.cy);
  }
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}

// One layout gives every caret place; they agree with measuring each prefix on its own.
TEST(UiCanvasCairo, CaretOffsetsMatchThePrefixWidths) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
  cairo_t* cr = cairo_create(surface);
  {
    ui::CanvasCairo canvas(cr);
    const ui::FontSpec font{L"宋体", 14};
    const std::wstring text = L"COM1: 打印机 ภาษา";
    const std::vector<int> offsets = canvas.CaretOffsets(text, font);
    ASSERT_EQ(offsets.size(), text.size() + 1);
    EXPECT_EQ(offsets.front(), 0);
    for (size_t i = 1; i <= text.size(); ++i) {
      EXPECT_GE(offsets[i], offsets[i - 1]) << i;
      if (text[i - 1] < 0x80) {
        const int prefix = canvas.MeasureText(std::wstring_view(text).substr(0, i), font, 0, ui::kTextSingleLine).cx;
        EXPECT_NEAR(offsets[i], prefix, 1) << i;
      }
    }
    EXPECT_EQ(offsets.back(), canvas.MeasureText(text, font, 0, ui::kTextSingleLine).cx);
    EXPECT_EQ(canvas.CaretOffsets(L"", font), std::vector<int>{0});
    // A unit the encoder replaces, and line breaks shown as spaces, keep the count.
    const std::wstring odd{L'a', static_cast<wchar_t>(0xD800), L'\n', L'b'};
    EXPECT_EQ(canvas.CaretOffsets(odd, font).size(), odd.size() + 1);
  }
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}

class UiRender : public UiTest, public ::testing::WithParamInterface<int> {
 protected:
  int Scale() const override { return GetParam(); }
};

// Every control in one window, at each display scale; the pictures land in the test's
// temporary folder for a look by eye.
TEST_P(UiRender, AWindowRendersToPngAtEachScale) {
  TestWindow* window = Open(
      L"<Window size='360,240' caption='0,0,0,36' shadowsize='6' shadowcorner='8,8,8,8' sizebox='4,4,6,6'>"
      L"<Font id='0' size='13' default='true'/><Font id='2' size='16'/>"
      L"<VerticalLayout>"
      L" <HorizontalLayout height='36' inset='10,0,0,0'><Label text='打印机 ภาษาไทย Wizard' font='2'/>"
      L"  <Button name='btnLan' width='36' glyph='language'/><Button name='btnAbout' width='36' glyph='about'/>"
      L"  <Button name='minbtn' width='36' glyph='minimize'/><Button name='closebtn' width='36' glyph='close'/>"
      L" </HorizontalLayout>"
      L" <HorizontalLayout height='30' inset='10,4,10,0' childpadding='10'>"
      L"  <Option text='USB' group='g' selected='true' textpadding='20,0,0,0' width='70'/>"
      L"  <CheckBox text='Default' selected='true' textpadding='20,0,0,0' width='90'/>"
      L"  <Edit text='192.168.1.100'/></HorizontalLayout>"
      L" <List name='l' inset='10,6,10,0'><ListHeader><ListHeaderItem width='30' checkable='true'/>"
      L"  <ListHeaderItem text='Printer'/></ListHeader></List>"
      L" <RichEdit name='log' height='50' padding='10,4,10,4'/>"
      L" <HorizontalLayout height='40' inset='10,5,10,5' childpadding='8'><Control/>"
      L"  <Button text='Back' width='80'/><Button text='Next' width='80' bkcolor='ff2b7de9' hotbkcolor='ff1f6ed6'"
      L"   textcolor='ffffffff' borderround='4'/><Button text='Cancel' width='80' enabled='false'/>"
      L" </HorizontalLayout></VerticalLayout></Window>");
  auto* list = window->FindControl<ui::List>(L"l");
  list->AddRow()->SetColumnText(1, L"Quorvel-A4(300)");
  list->AddRow()->SetColumnText(1, L"Quorvel-A4(203)");
  list->GetRow(0)->SetChecked(true);
  list->SelectRow(1);
  window->FindControl<ui::RichEdit>(L"log")->AppendText(L"09:05:03.007 : Start copying the file...\r\n", 0xFF0000FF,
                                                        225);
  window->FindControl<ui::RichEdit>(L"log")->AppendText(L"09:05:03.210 : Failed\r\n", 0xFFFF0000, 225);

  const auto path =
      std::filesystem::temp_directory_path() / ("quorvel-ui-render-" + std::to_string(GetParam()) + ".png");
  ASSERT_TRUE(host_->RenderToPng(window->GetHWND(), path.string()));
  cairo_surface_t* png = cairo_image_surface_create_from_png(path.string().c_str());
  ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
  const int expected = (372 * GetParam() + 50) / 100;  // 360 plus the shadow on both sides
  EXPECT_NEAR(cairo_image_surface_get_width(png), expected, 2);
  cairo_surface_destroy(png);
  // The shadow band is translucent, the body opaque white.
  EXPECT_LT(host_->PixelAt(window->GetHWND(), {1, 100}) >> 24, 0x80u);
  EXPECT_EQ(host_->PixelAt(window->GetHWND(), {window->Tree().Scaled(200), window->Tree().Scaled(74)}), 0xFFFFFFFFu);
}

INSTANTIATE_TEST_SUITE_P(UiScales, UiRender, ::testing::Values(100, 125, 150));

}  // namespace
