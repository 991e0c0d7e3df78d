#include "ui/core/Drawing.h"

#include <algorithm>

#include "ui/core/ImageCache.h"
#include "ui/core/Theme.h"

namespace ui {

namespace {

int ScaleBy(int units, int percent) {
  return (units * percent + 50) / 100;
}

Point At(const Rect& r, double fx, double fy) {
  return {r.left + static_cast<int>(r.Width() * fx + 0.5), r.top + static_cast<int>(r.Height() * fy + 0.5)};
}

Rect CenteredSquare(const Rect& rect, int side) {
  const int x = rect.left + (rect.Width() - side) / 2;
  const int y = rect.top + (rect.Height() - side) / 2;
  return {x, y, x + side, y + side};
}

}  // namespace

bool DrawSkinImage(Canvas& canvas, std::wstring_view name, int scalePercent, const Rect& dest, uint8_t alpha) {
  if (name.empty() || dest.IsEmpty()) return false;
  LoadedImage loaded = ImageCache::Instance().Get(name, scalePercent);
  if (!loaded) return false;
  canvas.DrawImage(*loaded.image, 0, {0, 0, loaded.image->width, loaded.image->height}, dest, alpha);
  return true;
}

void DrawNineSlice(Canvas& canvas, const Image& image, const Rect& sc, const Rect& dc, const Rect& dest) {
  const int w = image.width, h = image.height;
  const int xs[4] = {0, sc.left, w - sc.right, w};
  const int ys[4] = {0, sc.top, h - sc.bottom, h};
  const int xd[4] = {dest.left, dest.left + dc.left, dest.right - dc.right, dest.right};
  const int yd[4] = {dest.top, dest.top + dc.top, dest.bottom - dc.bottom, dest.bottom};
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) {
      const Rect source{xs[col], ys[row], xs[col + 1], ys[row + 1]};
      const Rect target{xd[col], yd[row], xd[col + 1], yd[row + 1]};
      if (!source.IsEmpty() && !target.IsEmpty()) canvas.DrawImage(image, 0, source, target);
    }
  }
}

void DrawCheckMark(Canvas& canvas, const Rect& box, bool checked, bool enabled, bool hot, int scalePercent) {
  const int radius = std::max(2, ScaleBy(3, scalePercent));
  const int line = std::max(1, ScaleBy(1, scalePercent));
  if (checked) {
    canvas.FillRoundRect(box, radius, enabled ? (hot ? theme::kAccentHot : theme::kAccent) : theme::kTextDisabled);
    const int stroke = std::max(2, ScaleBy(2, scalePercent));
    const Point a = At(box, 0.24, 0.52), b = At(box, 0.43, 0.70), c = At(box, 0.77, 0.32);
    canvas.DrawLine(a, b, theme::kBody, stroke);
    canvas.DrawLine(b, c, theme::kBody, stroke);
  } else {
    canvas.FillRoundRect(box, radius, enabled ? theme::kBody : theme::kButtonDisabled);
    canvas.DrawRoundRect(box, radius, !enabled ? theme::kBorderDisabled : hot ? theme::kAccent : theme::kBorder, line);
  }
}

void DrawRadioMark(Canvas& canvas, const Rect& box, bool selected, bool enabled, bool hot, int scalePercent) {
  const int radius = box.Width() / 2;
  const int line = std::max(1, ScaleBy(1, scalePercent));
  const Argb ring = !enabled ? theme::kBorderDisabled : (selected || hot) ? theme::kAccent : theme::kBorder;
  canvas.FillRoundRect(box, radius, enabled ? theme::kBody : theme::kButtonDisabled);
  canvas.DrawRoundRect(box, radius, ring, selected ? std::max(line, ScaleBy(2, scalePercent) - 1) : line);
  if (selected) {
    const int dot = std::max(4, box.Width() / 2);
    canvas.FillRoundRect(CenteredSquare(box, dot - (dot - box.Width()) % 2), dot / 2,
                         enabled ? theme::kAccent : theme::kTextDisabled);
  }
}

bool DrawGlyph(Canvas& canvas, std::wstring_view glyph, const Rect& rect, Argb color, int scalePercent) {
  const int side = std::max(6, ScaleBy(10, scalePercent));
  // Thin outlines stay one pixel up to 150 %; the close and minimise strokes grow first.
  const int stroke = std::max(1, (scalePercent + 40) / 100);
  const int bold = std::max(1, ScaleBy(1, scalePercent));
  const Rect g = CenteredSquare(rect, side);
  if (glyph == L"close") {
    canvas.DrawLine({g.left, g.top}, {g.right - 1, g.bottom - 1}, color, bold);
    canvas.DrawLine({g.right - 1, g.top}, {g.left, g.bottom - 1}, color, bold);
  } else if (glyph == L"minimize") {
    const int y = g.top + side / 2;
    canvas.DrawLine({g.left, y}, {g.right - 1, y}, color, bold);
  } else if (glyph == L"maximize") {
    canvas.DrawRect(g, color, stroke);
  } else if (glyph == L"restore") {
    const int d = side / 4;
    canvas.DrawRect({g.left, g.top + d, g.right - d, g.bottom}, color, stroke);
    canvas.DrawLine({g.left + d, g.top}, {g.right - 1, g.top}, color, stroke);
    canvas.DrawLine({g.right - 1, g.top}, {g.right - 1, g.bottom - d - 1}, color, stroke);
  } else if (glyph == L"language") {
    const Rect globe = CenteredSquare(rect, side + ScaleBy(2, scalePercent));
    canvas.DrawRoundRect(globe, globe.Width() / 2, color, stroke);
    const int narrow = globe.Width() / 4;
    canvas.DrawRoundRect({globe.left + narrow, globe.top, globe.right - narrow, globe.bottom}, globe.Width() / 2, color,
                         stroke);
    const int y = globe.top + globe.Height() / 2;
    canvas.DrawLine({globe.left, y}, {globe.right - 1, y}, color, stroke);
  } else if (glyph == L"about") {
    const Rect circle = CenteredSquare(rect, side + ScaleBy(4, scalePercent));
    canvas.DrawRoundRect(circle, circle.Width() / 2, color, stroke);
    // The stem and its dot share one centre line with the circle.
    const int x = bold % 2 == 1 ? circle.left + (circle.Width() - 1) / 2 : circle.left + circle.Width() / 2;
    const int dot = bold + 2;
    const int dotTop = circle.top + circle.Height() * 21 / 100;
    canvas.FillRect({x - dot / 2, dotTop, x - dot / 2 + dot, dotTop + dot}, color);
    canvas.DrawLine({x, circle.top + circle.Height() * 47 / 100}, {x, circle.top + circle.Height() * 74 / 100}, color,
                    bold);
  } else if (glyph == L"search") {
    const int lens = side * 3 / 4;
    const Rect circle{g.left, g.top, g.left + lens, g.top + lens};
    canvas.DrawRoundRect(circle, lens / 2, color, stroke);
    canvas.DrawLine({circle.right - stroke, circle.bottom - stroke}, {g.right, g.bottom}, color, stroke + 1);
  } else {
    return false;
  }
  return true;
}

void DrawSoftShadow(Canvas& canvas, const Rect& body, int width) {
  // Rings whose opacity grows towards the body read as a soft, flat shadow.
  for (int i = width; i >= 1; --i) {
    const int alpha = 34 * (width - i + 1) * (width - i + 1) / (width * width);
    const Rect ring{body.left - i, body.top - i + 1, body.right + i, body.bottom + i + 1};
    canvas.DrawRoundRect(ring, i + 2, (static_cast<Argb>(alpha) << 24) | (theme::kShadow & 0xFFFFFF), 1);
  }
}

}  // namespace ui
