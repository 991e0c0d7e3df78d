// A 32-bit top-down DIB section selected into its own memory DC: the back buffer of a
// host window, and the scratch surface in which the GDI canvas prepares blended shapes.
// Pixels are 0xAARRGGBB words, row after row without padding. Windows build only.
//
// GDI leaves the alpha byte of what it draws at 0; callers that need alpha set it
// themselves. Call GdiFlush() before reading pixels that GDI has drawn.
//
// Threads: the thread that uses it (the UI thread for windows).
#pragma once

#include "ui/win32/WindowsHeaders.h"

#include <cstdint>

#include "ui/core/Geometry.h"
#include "ui/win32/GdiObject.h"

namespace ui {

class DibSurface {
 public:
  DibSurface();
  ~DibSurface();
  DibSurface(const DibSurface&) = delete;
  DibSurface& operator=(const DibSurface&) = delete;

  // Makes the bitmap at least this large, keeping it when it already is; its content is
  // then undefined. False when the system refuses the memory.
  bool Reserve(Size size);

  HDC Dc() const { return dc_; }
  int Width() const { return size_.cx; }
  int Height() const { return size_.cy; }
  uint32_t* Row(int y) { return pixels_ + static_cast<size_t>(y) * static_cast<size_t>(size_.cx); }
  const uint32_t* Row(int y) const { return pixels_ + static_cast<size_t>(y) * static_cast<size_t>(size_.cx); }
  uint32_t Pixel(int x, int y) const { return Row(y)[x]; }
  // Fills the part of rect that lies on the bitmap, straight into memory (no clipping).
  void Fill(const Rect& rect, uint32_t value);

 private:
  HDC dc_ = nullptr;
  HGDIOBJ originalBitmap_ = nullptr;
  GdiObject<HBITMAP> bitmap_;
  uint32_t* pixels_ = nullptr;
  Size size_;
};

}  // namespace ui
