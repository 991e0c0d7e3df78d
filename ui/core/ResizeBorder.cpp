#include "ui/core/ResizeBorder.h"

#include "ui/core/SystemConstants.h"

namespace ui {

int ResizeBorderHit(Point client, Size clientSize, const Rect& border) {
  const bool left = client.x < border.left;
  const bool right = client.x >= clientSize.cx - border.right;
  const bool top = client.y < border.top;
  const bool bottom = client.y >= clientSize.cy - border.bottom;
  if (top && left) return kHtTopLeft;
  if (top && right) return kHtTopRight;
  if (bottom && left) return kHtBottomLeft;
  if (bottom && right) return kHtBottomRight;
  if (left) return kHtLeft;
  if (right) return kHtRight;
  if (top) return kHtTop;
  if (bottom) return kHtBottom;
  return 0;
}

}  // namespace ui
