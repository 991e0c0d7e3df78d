// Which resize edge or corner of a window a client point lies in, as a kHt code of
// ui/SystemConstants.h (the numbers Windows uses), or 0 when it is in none.
#pragma once

#include "ui/core/Geometry.h"

namespace ui {

int ResizeBorderHit(Point client, Size clientSize, const Rect& border);

}  // namespace ui
