#include "ui/win32/DibSurface.h"

#include <algorithm>

namespace ui {

DibSurface::DibSurface() : dc_(CreateCompatibleDC(nullptr)) {}

DibSurface::~DibSurface() {
  if (dc_ == nullptr) return;
  if (originalBitmap_ != nullptr) SelectObject(dc_, originalBitmap_);
  DeleteDC(dc_);
}

bool DibSurface::Reserve(Size size) {
  if (dc_ == nullptr) return false;
  size.cx = std::max(size.cx, 1);
  size.cy = std::max(size.cy, 1);
  if (bitmap_ && size.cx <= size_.cx && size.cy <= size_.cy) return true;
  // Grow in both directions at once, so a window resized by dragging reallocates rarely.
  size.cx = std::max(size.cx, size_.cx);
  size.cy = std::max(size.cy, size_.cy);

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = size.cx;
  info.bmiHeader.biHeight = -size.cy;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  GdiObject<HBITMAP> bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || bits == nullptr) return false;

  HGDIOBJ previous = SelectObject(dc_, bitmap.Get());
  if (originalBitmap_ == nullptr) originalBitmap_ = previous;
  bitmap_ = std::move(bitmap);  // the old bitmap is no longer selected, so it may go
  pixels_ = static_cast<uint32_t*>(bits);
  size_ = size;
  return true;
}

void DibSurface::Fill(const Rect& rect, uint32_t value) {
  const Rect area = rect.Intersect({0, 0, size_.cx, size_.cy});
  if (area.IsEmpty()) return;
  GdiFlush();
  for (int y = area.top; y < area.bottom; ++y) std::fill(Row(y) + area.left, Row(y) + area.right, value);
}

}  // namespace ui
