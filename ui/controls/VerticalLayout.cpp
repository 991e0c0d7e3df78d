#include "ui/controls/VerticalLayout.h"

namespace ui {

void VerticalLayout::SetPos(const Rect& rect) {
  Control::SetPos(rect);
  LayoutStack(true);
}

}  // namespace ui
