#include "ui/core/HighContrastCanvas.h"

#include <algorithm>

namespace ui {

namespace {

int Channel(Argb color, int shift) {
  return static_cast<int>((color >> shift) & 0xFF);
}

Argb WithAlphaOf(Argb rgb, Argb alphaSource) {
  return (alphaSource & 0xFF000000u) | (rgb & 0x00FFFFFFu);
}

// Near white and without a tint: the body, plain buttons, headers.
bool IsPlainLight(Argb color) {
  const int r = Channel(color, 16), g = Channel(color, 8), b = Channel(color, 0);
  const int high = std::max({r, g, b}), low = std::min({r, g, b});
  return low >= 0xD8 && high - low < 0x12;
}

// The disabled look: a light grey.
bool IsLightGrey(Argb color) {
  const int r = Channel(color, 16), g = Channel(color, 8), b = Channel(color, 0);
  const int high = std::max({r, g, b}), low = std::min({r, g, b});
  return high - low < 0x18 && low >= 0x90 && high < 0xE0;
}

Point Centre(const Rect& rect) {
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

}  // namespace

Argb HighContrastCanvas::FillColor(Argb skin) const {
  return WithAlphaOf(IsPlainLight(skin) ? colors_.window : colors_.highlight, skin);
}

Argb HighContrastCanvas::ForegroundColor(Argb skin, Point at) const {
  bool onHighlight = false;
  for (auto it = fills_.rbegin(); it != fills_.rend(); ++it) {
    if (it->rect.Contains(at)) {
      onHighlight = it->highlight;
      break;
    }
  }
  if (onHighlight) return WithAlphaOf(colors_.highlightText, skin);
  return WithAlphaOf(IsLightGrey(skin) ? colors_.grayText : colors_.windowText, skin);
}

Argb HighContrastCanvas::MapFill(const Rect& rect, Argb color) {
  const Argb mapped = FillColor(color);
  // Washes that let the colour beneath show do not change what lies under text.
  if ((color >> 24) >= 0x80) fills_.push_back({rect, !IsPlainLight(color)});
  return mapped;
}

void HighContrastCanvas::FillRect(const Rect& rect, Argb color) {
  target_.FillRect(rect, MapFill(rect, color));
}

void HighContrastCanvas::FillRoundRect(const Rect& rect, int radius, Argb color) {
  target_.FillRoundRect(rect, radius, MapFill(rect, color));
}

void HighContrastCanvas::DrawRect(const Rect& rect, Argb color, int width) {
  target_.DrawRect(rect, ForegroundColor(color, Centre(rect)), width);
}

void HighContrastCanvas::DrawRoundRect(const Rect& rect, int radius, Argb color, int width) {
  target_.DrawRoundRect(rect, radius, ForegroundColor(color, Centre(rect)), width);
}

void HighContrastCanvas::DrawLine(Point from, Point to, Argb color, int width) {
  target_.DrawLine(from, to, ForegroundColor(color, {(from.x + to.x) / 2, (from.y + to.y) / 2}), width);
}

void HighContrastCanvas::DrawImage(const Image& image, int frame, const Rect& source, const Rect& dest, uint8_t alpha) {
  target_.DrawImage(image, frame, source, dest, alpha);
}

void HighContrastCanvas::DrawText(std::wstring_view text, const Rect& rect, const FontSpec& font, Argb color,
                                  unsigned format) {
  target_.DrawText(text, rect, font, ForegroundColor(color, Centre(rect)), format);
}

Size HighContrastCanvas::MeasureText(std::wstring_view text, const FontSpec& font, int maxWidth, unsigned format) {
  return target_.MeasureText(text, font, maxWidth, format);
}

std::vector<int> HighContrastCanvas::CaretOffsets(std::wstring_view text, const FontSpec& font) {
  return target_.CaretOffsets(text, font);
}

void HighContrastCanvas::PushClip(const Rect& rect) {
  target_.PushClip(rect);
}

void HighContrastCanvas::PopClip() {
  target_.PopClip();
}

}  // namespace ui
