// The Canvas of the Linux build, on cairo with pango for text. The headless host paints
// into an image surface with it, the GTK host into the cairo context of a draw signal.
//
// Threads: UI thread only; one canvas lives for one paint.
//
// Text: pango shapes every script. A face is completed by a fallback list so that CJK
// and Thai both show even when the face itself (such as "宋体") is not installed.
// Images: the premultiplied pixels of an Image are handed to cairo as they are (no copy).
#pragma once

#include <cairo.h>
#include <pango/pangocairo.h>

#include "ui/core/Canvas.h"

namespace ui {

class CanvasCairo final : public Canvas {
 public:
  // Does not own the context; its current transformation is the device-pixel space.
  explicit CanvasCairo(cairo_t* cr);
  ~CanvasCairo() override;
  CanvasCairo(const CanvasCairo&) = delete;
  CanvasCairo& operator=(const CanvasCairo&) = delete;

  void FillRect(const Rect& rect, Argb color) override;
  void FillRoundRect(const Rect& rect, int radius, Argb color) override;
  void DrawRect(const Rect& rect, Argb color, int width) override;
  void DrawRoundRect(const Rect& rect, int radius, Argb color, int width) override;
  void DrawLine(Point from, Point to, Argb color, int width) override;
  void DrawImage(const Image& image, int frame, const Rect& source, const Rect& dest, uint8_t alpha = 255) override;
  void DrawText(std::wstring_view text, const Rect& rect, const FontSpec& font, Argb color, unsigned format) override;
  Size MeasureText(std::wstring_view text, const FontSpec& font, int maxWidth, unsigned format) override;
  std::vector<int> CaretOffsets(std::wstring_view text, const FontSpec& font) override;
  void PushClip(const Rect& rect) override;
  void PopClip() override;

  // The families tried after the requested face, in this order.
  static const char* FallbackFamilies();
  // Starts loading the font configuration on a thread of its own, so the first text
  // of the first window does not wait for it (tens of milliseconds). Call it first
  // thing at start-up; calling it again does nothing.
  static void PrepareFonts();

 private:
  PangoLayout* PrepareLayout(std::wstring_view text, const FontSpec& font, int width, unsigned format);
  void SetColor(Argb color);
  void RoundRectPath(const Rect& rect, double inset, int radius);

  cairo_t* cr_;
  PangoLayout* layout_ = nullptr;
  int clipDepth_ = 0;
};

}  // namespace ui
