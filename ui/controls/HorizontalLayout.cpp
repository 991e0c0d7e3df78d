#include "ui/controls/HorizontalLayout.h"

namespace ui {

void HorizontalLayout::SetPos(const Rect& rect) {
  Control::SetPos(rect);
  LayoutStack(false);
}

}  // namespace ui
