// The canvas of the Windows host: GDI drawing into a 32-bit DIB (the window's back
// buffer). Opaque colours go straight to GDI; translucent shapes and text are drawn in
// white into a scratch bitmap, turned into a premultiplied coverage mask of the colour
// and blended with AlphaBlend, which honours the clip. Images are premultiplied and go
// through AlphaBlend as they are. Text uses DrawTextW, so the system shapes complex
// scripts and picks fallback fonts. Windows build only.
//
// The target's alpha bytes carry no meaning: GDI clears them where it draws, and the
// host presents the buffer with BitBlt onto an opaque window, which ignores them.
//
// Threads: UI thread only; one canvas per paint.
#pragma once

#include "ui/win32/WindowsHeaders.h"

#include <memory>
#include <vector>

#include "ui/core/Canvas.h"
#include "ui/win32/DibSurface.h"
#include "ui/win32/FontCacheGdi.h"

namespace ui {

class CanvasGdi final : public Canvas {
 public:
  CanvasGdi(DibSurface& target, FontCacheGdi& fonts);
  ~CanvasGdi() override;  // drops the clips still pushed
  CanvasGdi(const CanvasGdi&) = delete;
  CanvasGdi& operator=(const CanvasGdi&) = delete;

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

 private:
  // Draws once: straight onto the target when color is opaque, else in white into the
  // scratch bitmap (same coordinates as the target) and blended over bounds.
  template <typename Draw>
  void Paint(const Rect& bounds, Argb color, Draw&& draw);
  DibSurface* Scratch(Size size);
  void DrawTextOn(HDC dc, std::wstring_view text, const Rect& rect, HFONT font, COLORREF color, unsigned format);

  DibSurface& target_;
  FontCacheGdi& fonts_;
  std::unique_ptr<DibSurface> scratch_;
  std::vector<bool> clips_;  // per push: whether SaveDC succeeded
};

}  // namespace ui
