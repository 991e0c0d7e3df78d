// The one interface through which the toolkit paints. The toolkit knows nothing of
// cairo, GDI or GTK: each host hands a Canvas to the window's paint handler.
//
// Threads: UI thread only. Coordinates are device pixels of the window's client area;
// the toolkit has already applied the display scale.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/core/Geometry.h"
#include "ui/core/Image.h"

namespace ui {

struct FontSpec {
  std::wstring face;  // "宋体" resolves to an installed CJK face on every host
  int size = 14;      // pixel height, already scaled
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool operator==(const FontSpec&) const = default;
};

// Text layout flags for DrawText and MeasureText.
enum TextFormat : unsigned {
  kTextLeft = 0,
  kTextCenter = 1u << 0,
  kTextRight = 1u << 1,
  kTextTop = 0,
  kTextVCenter = 1u << 2,
  kTextBottom = 1u << 3,
  kTextSingleLine = 1u << 4,
  kTextWordBreak = 1u << 5,
  kTextEndEllipsis = 1u << 6,
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual void FillRect(const Rect& rect, Argb color) = 0;
  virtual void FillRoundRect(const Rect& rect, int radius, Argb color) = 0;
  virtual void DrawRect(const Rect& rect, Argb color, int width) = 0;
  virtual void DrawRoundRect(const Rect& rect, int radius, Argb color, int width) = 0;
  virtual void DrawLine(Point from, Point to, Argb color, int width) = 0;
  // Draws source (a part of one frame) scaled into dest, with an overall opacity.
  virtual void DrawImage(const Image& image, int frame, const Rect& source, const Rect& dest, uint8_t alpha = 255) = 0;
  virtual void DrawText(std::wstring_view text, const Rect& rect, const FontSpec& font, Argb color,
                        unsigned format) = 0;
  // Size of the text laid out with the same rules; maxWidth 0 means unbounded.
  virtual Size MeasureText(std::wstring_view text, const FontSpec& font, int maxWidth, unsigned format) = 0;
  // Where a caret stands before each UTF-16 unit of the text laid out on one line, and after
  // the last: text.size() + 1 offsets from the line's start, measured in one layout (measuring
  // each prefix on its own costs time quadratic in the length). The second unit of a
  // surrogate pair gets the offset of the first.
  virtual std::vector<int> CaretOffsets(std::wstring_view text, const FontSpec& font) = 0;

  // Clips every later drawing to the intersection with rect, until the matching PopClip.
  virtual void PushClip(const Rect& rect) = 0;
  virtual void PopClip() = 0;
};

}  // namespace ui
