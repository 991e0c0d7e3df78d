#include "ui/cairo/CanvasCairo.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <map>
#include <mutex>
#include <thread>
#include <tuple>
#include <utility>

#include "base/WideText.h"

namespace ui {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Pango font descriptions by font; few distinct fonts exist, so they are kept for the
// life of the process.
PangoFontDescription* DescriptionOf(const FontSpec& font) {
  using Key = std::tuple<std::wstring, int, bool, bool>;
  static std::map<Key, PangoFontDescription*> cache;
  const Key key{font.face, font.size, font.bold, font.italic};
  if (auto it = cache.find(key); it != cache.end()) return it->second;
  PangoFontDescription* description = pango_font_description_new();
  std::string families = WideToUtf8(font.face);
  if (!families.empty()) families += ',';
  families += CanvasCairo::FallbackFamilies();
  pango_font_description_set_family(description, families.c_str());
  pango_font_description_set_absolute_size(description, std::max(1, font.size) * PANGO_SCALE);
  pango_font_description_set_weight(description, font.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(description, font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  cache.emplace(key, description);
  return description;
}

std::string TextForLayout(std::wstring_view text, unsigned format) {
  std::string utf8 = WideToUtf8(text);
  if (format & kTextSingleLine)
    std::replace_if(
        utf8.begin(), utf8.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return utf8;
}

}  // namespace

const char* CanvasCairo::FallbackFamilies() {
  return "WenQuanYi Micro Hei,Noto Sans CJK SC,Loma,Noto Sans Thai,Unifont,sans";
}

void CanvasCairo::PrepareFonts() {
  static std::once_flag started;
  std::call_once(started, [] {
    // The font configuration and its caches are shared by the process (the font map
    // itself is per thread), so loading a font set here warms them for the UI thread.
    std::thread([] {
      PangoFontMap* map = pango_cairo_font_map_new();
      PangoContext* context = pango_font_map_create_context(map);
      const std::string families = std::string("sans,") + FallbackFamilies();
      PangoFontDescription* description = pango_font_description_from_string(families.c_str());
      pango_font_description_set_absolute_size(description, 14 * PANGO_SCALE);
      if (PangoFontset* fonts = pango_font_map_load_fontset(map, context, description, pango_language_get_default())) {
        g_object_unref(fonts);
      }
      pango_font_description_free(description);
      g_object_unref(context);
      g_object_unref(map);
    }).detach();
  });
}

CanvasCairo::CanvasCairo(cairo_t* cr) : cr_(cr) {}

CanvasCairo::~CanvasCairo() {
  while (clipDepth_ > 0) PopClip();
  if (layout_ != nullptr) g_object_unref(layout_);
}

void CanvasCairo::SetColor(Argb color) {
  cairo_set_source_rgba(cr_, ((color >> 16) & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0, (color & 0xFF) / 255.0,
                        ((color >> 24) & 0xFF) / 255.0);
}

void CanvasCairo::RoundRectPath(const Rect& rect, double inset, int radius) {
  const double left = rect.left + inset, top = rect.top + inset;
  const double right = rect.right - inset, bottom = rect.bottom - inset;
  const double r = std::min<double>({static_cast<double>(radius), (right - left) / 2, (bottom - top) / 2});
  cairo_new_sub_path(cr_);
  if (r <= 0) {
    cairo_rectangle(cr_, left, top, right - left, bottom - top);
    return;
  }
  cairo_arc(cr_, right - r, top + r, r, -kPi / 2, 0);
  cairo_arc(cr_, right - r, bottom - r, r, 0, kPi / 2);
  cairo_arc(cr_, left + r, bottom - r, r, kPi / 2, kPi);
  cairo_arc(cr_, left + r, top + r, r, kPi, 3 * kPi / 2);
  cairo_close_path(cr_);
}

void CanvasCairo::FillRect(const Rect& rect, Argb color) {
  if (rect.IsEmpty()) return;
  SetColor(color);
  cairo_rectangle(cr_, rect.left, rect.top, rect.Width(), rect.Height());
  cairo_fill(cr_);
}

void CanvasCairo::FillRoundRect(const Rect& rect, int radius, Argb color) {
  if (rect.IsEmpty()) return;
  SetColor(color);
  RoundRectPath(rect, 0, radius);
  cairo_fill(cr_);
}

void CanvasCairo::DrawRect(const Rect& rect, Argb color, int width) {
  DrawRoundRect(rect, 0, color, width);
}

void CanvasCairo::DrawRoundRect(const Rect& rect, int radius, Argb color, int width) {
  if (rect.IsEmpty() || width <= 0) return;
  SetColor(color);
  cairo_set_line_width(cr_, width);
  // The stroke lies inside the rectangle, so borders never spill into neighbours.
  RoundRectPath(rect, width / 2.0, std::max(0, radius - width / 2));
  cairo_stroke(cr_);
}

void CanvasCairo::DrawLine(Point from, Point to, Argb color, int width) {
  if (width <= 0) return;
  SetColor(color);
  cairo_set_line_width(cr_, width);
  const bool straight = from.x == to.x || from.y == to.y;
  // Points name pixels; odd widths run through pixel centres to stay sharp.
  const double shift = (width % 2 == 1) ? 0.5 : 0.0;
  cairo_set_line_cap(cr_, straight ? CAIRO_LINE_CAP_SQUARE : CAIRO_LINE_CAP_ROUND);
  cairo_move_to(cr_, from.x + shift, from.y + shift);
  cairo_line_to(cr_, to.x + shift, to.y + shift);
  cairo_stroke(cr_);
  cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
}

void CanvasCairo::DrawImage(const Image& image, int frame, const Rect& source, const Rect& dest, uint8_t alpha) {
  if (image.frames.empty() || source.IsEmpty() || dest.IsEmpty() || alpha == 0) return;
  const ImageFrame& pixels = image.frames[std::clamp(frame, 0, static_cast<int>(image.frames.size()) - 1)];
  if (pixels.pixels.size() < static_cast<size_t>(image.width) * image.height) return;
  const Rect src = source.Intersect({0, 0, image.width, image.height});
  if (src.IsEmpty()) return;
  // cairo only reads a source surface, so the shared pixels are lent without a copy.
  auto* data = reinterpret_cast<unsigned char*>(const_cast<uint32_t*>(pixels.pixels.data()));
  cairo_surface_t* whole =
      cairo_image_surface_create_for_data(data, CAIRO_FORMAT_ARGB32, image.width, image.height, image.width * 4);
  // A sub-surface pads with its own edge pixels, so scaled slices do not bleed.
  cairo_surface_t* part = cairo_surface_create_for_rectangle(whole, src.left, src.top, src.Width(), src.Height());
  cairo_save(cr_);
  cairo_rectangle(cr_, dest.left, dest.top, dest.Width(), dest.Height());
  cairo_clip(cr_);
  cairo_translate(cr_, dest.left, dest.top);
  const double sx = static_cast<double>(dest.Width()) / src.Width();
  const double sy = static_cast<double>(dest.Height()) / src.Height();
  cairo_scale(cr_, sx, sy);
  cairo_set_source_surface(cr_, part, 0, 0);
  cairo_pattern_t* pattern = cairo_get_source(cr_);
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
  cairo_pattern_set_filter(pattern, (sx == 1.0 && sy == 1.0) ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
  if (alpha == 255) {
    cairo_paint(cr_);
  } else {
    cairo_paint_with_alpha(cr_, alpha / 255.0);
  }
  cairo_restore(cr_);
  cairo_surface_destroy(part);
  cairo_surface_destroy(whole);
}

PangoLayout* CanvasCairo::PrepareLayout(std::wstring_view text, const FontSpec& font, int width, unsigned format) {
  if (layout_ == nullptr) {
    layout_ = pango_cairo_create_layout(cr_);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    pango_cairo_context_set_font_options(pango_layout_get_context(layout_), options);
    cairo_font_options_destroy(options);
    pango_layout_context_changed(layout_);
  } else {
    pango_cairo_update_layout(cr_, layout_);
  }
  const std::string utf8 = TextForLayout(text, format);
  pango_layout_set_text(layout_, utf8.data(), static_cast<int>(utf8.size()));
  pango_layout_set_font_description(layout_, DescriptionOf(font));
  PangoAttrList* attributes = pango_attr_list_new();
  if (font.underline) pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
  pango_layout_set_attributes(layout_, attributes);
  pango_attr_list_unref(attributes);
  pango_layout_set_single_paragraph_mode(layout_, (format & kTextSingleLine) != 0);
  pango_layout_set_width(layout_, width > 0 ? width * PANGO_SCALE : -1);
  pango_layout_set_wrap(layout_, PANGO_WRAP_WORD_CHAR);
  pango_layout_set_ellipsize(layout_,
                             width > 0 && (format & kTextEndEllipsis) ? PANGO_ELLIPSIZE_END : PANGO_ELLIPSIZE_NONE);
  PangoAlignment alignment = PANGO_ALIGN_LEFT;
  if (format & kTextCenter) alignment = PANGO_ALIGN_CENTER;
  if (format & kTextRight) alignment = PANGO_ALIGN_RIGHT;
  pango_layout_set_alignment(layout_, alignment);
  return layout_;
}

void CanvasCairo::DrawText(std::wstring_view text, const Rect& rect, const FontSpec& font, Argb color,
                           unsigned format) {
  if (text.empty() || rect.IsEmpty()) return;
  const bool wraps = (format & kTextWordBreak) && !(format & kTextSingleLine);
  const bool ellipsis = (format & kTextEndEllipsis) != 0;
  const int width = (wraps || ellipsis) ? rect.Width() : 0;
  PangoLayout* layout = PrepareLayout(text, font, width, format);
  PangoRectangle logical{};
  pango_layout_get_pixel_extents(layout, nullptr, &logical);
  double x = rect.left;
  if (width == 0) {
    if (format & kTextCenter) x += (rect.Width() - logical.width) / 2.0;
    if (format & kTextRight) x += rect.Width() - logical.width;
    x -= logical.x;
  }
  double y = rect.top;
  if (format & kTextVCenter) y += (rect.Height() - logical.height) / 2.0;
  if (format & kTextBottom) y += rect.Height() - logical.height;
  cairo_save(cr_);
  cairo_rectangle(cr_, rect.left, rect.top, rect.Width(), rect.Height());
  cairo_clip(cr_);
  SetColor(color);
  cairo_move_to(cr_, std::round(x), std::round(y));
  pango_cairo_show_layout(cr_, layout);
  cairo_restore(cr_);
}

Size CanvasCairo::MeasureText(std::wstring_view text, const FontSpec& font, int maxWidth, unsigned format) {
  const bool wraps = (format & kTextWordBreak) && !(format & kTextSingleLine);
  PangoLayout* layout = PrepareLayout(text, font, wraps ? maxWidth : 0, format & ~kTextEndEllipsis);
  PangoRectangle logical{};
  pango_layout_get_pixel_extents(layout, nullptr, &logical);
  int cx = logical.width;
  if (maxWidth > 0) cx = std::min(cx, maxWidth);
  return {cx, logical.height};
}

std::vector<int> CanvasCairo::CaretOffsets(std::wstring_view text, const FontSpec& font) {
  std::vector<int> offsets(text.size() + 1, 0);
  if (text.empty()) return offsets;
  // Byte index in the layout's UTF-8 of each unit, as WideToUtf8 encodes it.
  std::vector<int> bytes(text.size() + 1, 0);
  int at = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    bytes[i] = at;
    char32_t c = static_cast<char32_t>(text[i]);
    if (sizeof(wchar_t) == 2 && c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      bytes[++i] = at;
      at += 4;
      continue;
    }
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = 0xFFFD;
    at += c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
  }
  PangoLayout* layout = PrepareLayout(text, font, 0, kTextSingleLine);
  PangoRectangle logical{};
  pango_layout_get_extents(layout, nullptr, &logical);
  // One walk over the clusters; a caret inside a cluster stands at its start.
  std::vector<std::pair<int, int>> clusters;  // first byte, x in pango units
  PangoLayoutIter* iter = pango_layout_get_iter(layout);
  do {
    PangoRectangle extents{};
    pango_layout_iter_get_cluster_extents(iter, nullptr, &extents);
    clusters.emplace_back(pango_layout_iter_get_index(iter), extents.x - logical.x);
  } while (pango_layout_iter_next_cluster(iter));
  pango_layout_iter_free(iter);
  std::sort(clusters.begin(), clusters.end());
  for (size_t i = 0; i < text.size(); ++i) {
    auto cluster = std::upper_bound(clusters.begin(), clusters.end(), std::pair{bytes[i], INT_MAX});
    offsets[i] = cluster == clusters.begin() ? 0 : PANGO_PIXELS(std::prev(cluster)->second);
  }
  offsets[text.size()] = PANGO_PIXELS_CEIL(logical.width);
  return offsets;
}

void CanvasCairo::PushClip(const Rect& rect) {
  cairo_save(cr_);
  cairo_rectangle(cr_, rect.left, rect.top, std::max(0, rect.Width()), std::max(0, rect.Height()));
  cairo_clip(cr_);
  ++clipDepth_;
}

void CanvasCairo::PopClip() {
  if (clipDepth_ == 0) return;
  cairo_restore(cr_);
  --clipDepth_;
}

}  // namespace ui
