#include "ui/win32/CanvasGdi.h"

#include <algorithm>
#include <cstring>

#include "ui/win32/GdiObject.h"
#include "ui/win32/GdiSelection.h"

namespace ui {

namespace {

constexpr int kUnboundedWidth = 0x3FFFFFFF;

COLORREF ToColorRef(Argb color) {
  return RGB((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF);
}

unsigned Channel(uint32_t pixel, int shift) {
  return (pixel >> shift) & 0xFFu;
}

UINT DrawTextFlags(unsigned format) {
  UINT flags = DT_NOPREFIX;  // "&" is text, not a mnemonic
  if (format & kTextCenter) {
    flags |= DT_CENTER;
  } else if (format & kTextRight) {
    flags |= DT_RIGHT;
  }
  if (format & kTextSingleLine) {
    flags |= DT_SINGLELINE;
    if (format & kTextVCenter) {
      flags |= DT_VCENTER;
    } else if (format & kTextBottom) {
      flags |= DT_BOTTOM;
    }
  }
  if (format & kTextWordBreak) flags |= DT_WORDBREAK;
  if (format & kTextEndEllipsis) flags |= DT_END_ELLIPSIS;
  return flags;
}

int TextHeight(HDC dc, std::wstring_view text, int width, UINT flags) {
  RECT box{0, 0, width, 0};
  flags &= ~static_cast<UINT>(DT_END_ELLIPSIS | DT_VCENTER | DT_BOTTOM);
  ::DrawTextW(dc, text.data(), static_cast<int>(text.size()), &box, flags | DT_CALCRECT);
  return box.bottom - box.top;
}

}  // namespace

CanvasGdi::CanvasGdi(DibSurface& target, FontCacheGdi& fonts) : target_(target), fonts_(fonts) {}

CanvasGdi::~CanvasGdi() {
  while (!clips_.empty()) PopClip();
}

DibSurface* CanvasGdi::Scratch(Size size) {
  if (!scratch_) scratch_ = std::make_unique<DibSurface>();
  return scratch_->Reserve(size) ? scratch_.get() : nullptr;
}

template <typename Draw>
void CanvasGdi::Paint(const Rect& bounds, Argb color, Draw&& draw) {
  const unsigned alpha = color >> 24;
  if (alpha == 0 || bounds.IsEmpty()) return;
  if (alpha == 255) {
    draw(target_.Dc(), ToColorRef(color));
    return;
  }
  RECT clip{};
  if (GetClipBox(target_.Dc(), &clip) == ERROR) return;
  const Rect area = bounds.Intersect({clip.left, clip.top, clip.right, clip.bottom})
                        .Intersect({0, 0, target_.Width(), target_.Height()});
  if (area.IsEmpty()) return;
  DibSurface* scratch = Scratch({area.Width(), area.Height()});
  if (scratch == nullptr) return;
  scratch->Fill({0, 0, area.Width(), area.Height()}, 0);

  HDC dc = scratch->Dc();
  POINT origin{};
  SetViewportOrgEx(dc, -area.left, -area.top, &origin);
  draw(dc, RGB(255, 255, 255));
  SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
  GdiFlush();

  // White on black is the coverage; ClearType text covers the channels unevenly.
  const unsigned red = Channel(color, 16), green = Channel(color, 8), blue = Channel(color, 0);
  for (int y = 0; y < area.Height(); ++y) {
    uint32_t* row = scratch->Row(y);
    for (int x = 0; x < area.Width(); ++x) {
      const uint32_t pixel = row[x];
      const unsigned cover = (Channel(pixel, 16) + Channel(pixel, 8) + Channel(pixel, 0)) / 3;
      const unsigned a = (alpha * cover + 127) / 255;
      row[x] =
          (a << 24) | (((red * a + 127) / 255) << 16) | (((green * a + 127) / 255) << 8) | ((blue * a + 127) / 255);
    }
  }
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  GdiAlphaBlend(target_.Dc(), area.left, area.top, area.Width(), area.Height(), dc, 0, 0, area.Width(), area.Height(),
                blend);
}

void CanvasGdi::FillRect(const Rect& rect, Argb color) {
  Paint(rect, color, [&](HDC dc, COLORREF rgb) {
    GdiObject<HBRUSH> brush(CreateSolidBrush(rgb));
    const RECT box{rect.left, rect.top, rect.right, rect.bottom};
    ::FillRect(dc, &box, brush.Get());
  });
}

void CanvasGdi::FillRoundRect(const Rect& rect, int radius, Argb color) {
  if (radius <= 0) {
    FillRect(rect, color);
    return;
  }
  Paint(rect, color, [&](HDC dc, COLORREF rgb) {
    GdiObject<HBRUSH> brush(CreateSolidBrush(rgb));
    // An outline of the same colour: without a pen the extent of the fill differs between
    // systems (the right and bottom edge).
    GdiObject<HPEN> pen(CreatePen(PS_INSIDEFRAME, 1, rgb));
    GdiSelection brushIn(dc, brush.Get());
    GdiSelection penIn(dc, pen.Get());
    RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, 2 * radius, 2 * radius);
  });
}

void CanvasGdi::DrawRect(const Rect& rect, Argb color, int width) {
  if (width <= 0 || rect.IsEmpty()) return;
  width = std::min({width, (rect.Width() + 1) / 2, (rect.Height() + 1) / 2});
  // Four bands that do not overlap, so a translucent frame has one even tone.
  FillRect({rect.left, rect.top, rect.right, rect.top + width}, color);
  FillRect({rect.left, rect.bottom - width, rect.right, rect.bottom}, color);
  FillRect({rect.left, rect.top + width, rect.left + width, rect.bottom - width}, color);
  FillRect({rect.right - width, rect.top + width, rect.right, rect.bottom - width}, color);
}

void CanvasGdi::DrawRoundRect(const Rect& rect, int radius, Argb color, int width) {
  if (radius <= 0) {
    DrawRect(rect, color, width);
    return;
  }
  if (width <= 0) return;
  Paint(rect, color, [&](HDC dc, COLORREF rgb) {
    GdiObject<HPEN> pen(CreatePen(PS_INSIDEFRAME, width, rgb));  // the outline stays inside rect
    GdiSelection penIn(dc, pen.Get());
    GdiSelection brushIn(dc, GetStockObject(NULL_BRUSH));
    RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, 2 * radius, 2 * radius);
  });
}

void CanvasGdi::DrawLine(Point from, Point to, Argb color, int width) {
  if (width <= 0) return;
  const Rect bounds{std::min(from.x, to.x) - width, std::min(from.y, to.y) - width, std::max(from.x, to.x) + width + 1,
                    std::max(from.y, to.y) + width + 1};
  Paint(bounds, color, [&](HDC dc, COLORREF rgb) {
    LOGBRUSH brush{BS_SOLID, rgb, 0};
    GdiObject<HPEN> pen(width == 1 ? CreatePen(PS_SOLID, 1, rgb)
                                   : ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT, static_cast<DWORD>(width),
                                                  &brush, 0, nullptr));
    GdiSelection penIn(dc, pen.Get());
    MoveToEx(dc, from.x, from.y, nullptr);
    LineTo(dc, to.x, to.y);
  });
}

void CanvasGdi::DrawImage(const Image& image, int frame, const Rect& source, const Rect& dest, uint8_t alpha) {
  if (alpha == 0 || frame < 0 || static_cast<size_t>(frame) >= image.frames.size() || dest.IsEmpty() ||
      source.IsEmpty()) {
    return;
  }
  const std::vector<uint32_t>& pixels = image.frames[static_cast<size_t>(frame)].pixels;
  if (pixels.size() < static_cast<size_t>(image.width) * static_cast<size_t>(image.height)) return;
  const Rect part = source.Intersect({0, 0, image.width, image.height});
  if (part.IsEmpty()) return;
  // A source reaching past the image keeps its scale: only the part on the image is drawn.
  const auto scaleX = [&](int x) { return dest.left + (x - source.left) * dest.Width() / source.Width(); };
  const auto scaleY = [&](int y) { return dest.top + (y - source.top) * dest.Height() / source.Height(); };
  const Rect target{scaleX(part.left), scaleY(part.top), scaleX(part.right), scaleY(part.bottom)};
  if (target.IsEmpty()) return;

  DibSurface* scratch = Scratch({part.Width(), part.Height()});
  if (scratch == nullptr) return;
  GdiFlush();
  for (int y = 0; y < part.Height(); ++y) {
    const uint32_t* from = pixels.data() + static_cast<size_t>(part.top + y) * static_cast<size_t>(image.width) +
                           static_cast<size_t>(part.left);
    std::memcpy(scratch->Row(y), from, static_cast<size_t>(part.Width()) * sizeof(uint32_t));
  }
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
  GdiAlphaBlend(target_.Dc(), target.left, target.top, target.Width(), target.Height(), scratch->Dc(), 0, 0,
                part.Width(), part.Height(), blend);
}

void CanvasGdi::DrawTextOn(HDC dc, std::wstring_view text, const Rect& rect, HFONT font, COLORREF color,
                           unsigned format) {
  GdiSelection fontIn(dc, font);
  SetTextColor(dc, color);
  SetBkMode(dc, TRANSPARENT);
  const UINT flags = DrawTextFlags(format);
  RECT box{rect.left, rect.top, rect.right, rect.bottom};
  // DrawTextW aligns vertically only single lines; wrapped text is placed here.
  if (!(format & kTextSingleLine) && (format & (kTextVCenter | kTextBottom))) {
    const int height = TextHeight(dc, text, rect.Width(), flags);
    const int top = (format & kTextVCenter) ? rect.top + (rect.Height() - height) / 2 : rect.bottom - height;
    box.top = std::max(rect.top, top);
  }
  ::DrawTextW(dc, text.data(), static_cast<int>(text.size()), &box, flags);
}

namespace {

// One GDI font shows one script: a CJK face such as "宋体" has no Thai letters, so Thai
// text takes a face that has them, as the system's own dialogs do.
FontSpec FaceForText(std::wstring_view text, const FontSpec& font) {
  const bool thai = std::any_of(text.begin(), text.end(), [](wchar_t c) { return c >= 0x0E00 && c <= 0x0E7F; });
  if (!thai) return font;
  FontSpec thaiFont = font;
  thaiFont.face = L"Tahoma";
  return thaiFont;
}

}  // namespace

void CanvasGdi::DrawText(std::wstring_view text, const Rect& rect, const FontSpec& font, Argb color, unsigned format) {
  if (text.empty()) return;
  HFONT handle = fonts_.Get(FaceForText(text, font));
  Paint(rect, color, [&](HDC dc, COLORREF rgb) { DrawTextOn(dc, text, rect, handle, rgb, format); });
}

Size CanvasGdi::MeasureText(std::wstring_view text, const FontSpec& font, int maxWidth, unsigned format) {
  if (text.empty()) text = L"";  // DrawTextW wants a string even for no characters
  HDC dc = target_.Dc();
  GdiSelection fontIn(dc, fonts_.Get(FaceForText(text, font)));
  UINT flags = DrawTextFlags(format) | DT_CALCRECT;
  flags &= ~static_cast<UINT>(DT_END_ELLIPSIS | DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM);
  RECT box{0, 0, maxWidth > 0 ? maxWidth : kUnboundedWidth, 0};
  ::DrawTextW(dc, text.data(), static_cast<int>(text.size()), &box, flags);
  int width = box.right - box.left;
  if (maxWidth > 0) width = std::min(width, maxWidth);  // an ellipsis or a cut keeps it inside
  return {width, box.bottom - box.top};
}

std::vector<int> CanvasGdi::CaretOffsets(std::wstring_view text, const FontSpec& font) {
  std::vector<int> offsets(text.size() + 1, 0);
  if (text.empty()) return offsets;
  HDC dc = target_.Dc();
  GdiSelection fontIn(dc, fonts_.Get(FaceForText(text, font)));
  SIZE size{};
  // The extents of every prefix in one call: offsets[i + 1] is the width of the first i + 1 units.
  if (!::GetTextExtentExPointW(dc, text.data(), static_cast<int>(text.size()), 0, nullptr, offsets.data() + 1, &size)) {
    return std::vector<int>(text.size() + 1, 0);
  }
  for (size_t i = 1; i < text.size(); ++i) {
    if (text[i] >= 0xDC00 && text[i] <= 0xDFFF && text[i - 1] >= 0xD800 && text[i - 1] <= 0xDBFF) {
      offsets[i] = offsets[i - 1];
    }
  }
  return offsets;
}

void CanvasGdi::PushClip(const Rect& rect) {
  HDC dc = target_.Dc();
  const bool saved = SaveDC(dc) != 0;
  clips_.push_back(saved);  // each pop undoes its own push, even one that failed
  if (saved) IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
}

void CanvasGdi::PopClip() {
  if (clips_.empty()) return;  // an unbalanced pop must not undo the host's own state
  const bool saved = clips_.back();
  clips_.pop_back();
  if (saved) RestoreDC(target_.Dc(), -1);
}

}  // namespace ui
