// Paints through another canvas with the system's high-contrast colours in place of the
// skin's. Fills that are white or light grey become the window colour, any other (the
// accent, tints of selection, dark washes) the highlight; text, lines and frames take
// the text colour that belongs to the fill beneath them (the last fill painted under
// their centre), so text on a selected row or the caption band stays readable. Light
// grey text (the disabled look) becomes the system's grey text. Images are drawn as
// they are. Alpha is kept, so washes and shadows stay washes.
//
// Threads: UI thread only; one per paint.
#pragma once

#include <vector>

#include "ui/core/Canvas.h"
#include "ui/core/Host.h"

namespace ui {

class HighContrastCanvas final : public Canvas {
 public:
  HighContrastCanvas(Canvas& target, const SystemColors& colors) : target_(target), colors_(colors) {}

  void FillRect(const Rect& rect, Argb color) override;
  void FillRoundRect(const Rect& rect, int radius, Argb color) override;
  void DrawRect(const Rect& rect, Argb color, int width) override;
  void DrawRoundRect(const Rect& rect, int radius, Argb color, int width) override;
  void DrawLine(Point from, Point to, Argb color, int width) override;
  void DrawImage(const Image& image, int frame, const Rect& source, const Rect& dest, uint8_t alpha) override;
  void DrawText(std::wstring_view text, const Rect& rect, const FontSpec& font, Argb color, unsigned format) override;
  Size MeasureText(std::wstring_view text, const FontSpec& font, int maxWidth, unsigned format) override;
  std::vector<int> CaretOffsets(std::wstring_view text, const FontSpec& font) override;
  void PushClip(const Rect& rect) override;
  void PopClip() override;

  // The colours it paints a skin colour with (tests).
  Argb FillColor(Argb skin) const;
  Argb ForegroundColor(Argb skin, Point at) const;

 private:
  struct Fill {
    Rect rect;
    bool highlight = false;
  };
  Argb MapFill(const Rect& rect, Argb color);

  Canvas& target_;
  SystemColors colors_;
  std::vector<Fill> fills_;
};

}  // namespace ui
