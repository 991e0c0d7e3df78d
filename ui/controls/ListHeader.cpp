#include "ui/controls/ListHeader.h"

#include <algorithm>

#include "ui/controls/ListHeaderItem.h"
#include "ui/core/Theme.h"

namespace ui {

namespace {
constexpr int kDefaultHeight = 30;
}

ListHeader::ListHeader() {
  bkColor_ = theme::kHeader;
  SetInternVisible(false);
}

ListHeaderItem* ListHeader::GetColumn(int index) const {
  return dynamic_cast<ListHeaderItem*>(GetChildAt(index));
}

bool ListHeader::AddFromLayout(std::unique_ptr<Control> child) {
  if (dynamic_cast<ListHeaderItem*>(child.get()) == nullptr) return false;
  return Add(std::move(child)) != nullptr;
}

void ListHeader::OnChildAdded(Control*) {
  SetInternVisible(true);
}

Size ListHeader::EstimateSize(Size available) {
  Size size = HorizontalLayout::EstimateSize(available);
  if (size.cy == 0) size.cy = Scaled(kDefaultHeight);
  return size;
}

void ListHeader::PaintBorder(Canvas& canvas) {
  const int line = std::max(1, Scaled(1));
  canvas.FillRect({rect_.left, rect_.bottom - line, rect_.right, rect_.bottom}, borderColor_.value_or(theme::kBorder));
}

}  // namespace ui
