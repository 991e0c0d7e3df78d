#include "ui/core/ScrollBar.h"

#include <algorithm>

#include "ui/core/Theme.h"

namespace ui {

void ScrollBar::SetRange(int content, int view) {
  content_ = std::max(0, content);
  view_ = std::max(0, view);
  pos_ = std::clamp(pos_, 0, MaxPos());
}

int ScrollBar::MaxPos() const {
  return std::max(0, content_ - view_);
}

bool ScrollBar::SetPos(int pos) {
  pos = std::clamp(pos, 0, MaxPos());
  if (pos == pos_) return false;
  pos_ = pos;
  return true;
}

Rect ScrollBar::Thumb() const {
  if (!IsShown()) return {};
  const int length = vertical_ ? track_.Height() : track_.Width();
  const int thickness = vertical_ ? track_.Width() : track_.Height();
  const int shortest = std::min(thickness * 3, length);
  const int thumb = std::clamp(static_cast<int>(static_cast<long long>(length) * view_ / content_), shortest, length);
  const int offset = MaxPos() > 0 ? static_cast<int>(static_cast<long long>(length - thumb) * pos_ / MaxPos()) : 0;
  if (vertical_) return {track_.left, track_.top + offset, track_.right, track_.top + offset + thumb};
  return {track_.left + offset, track_.top, track_.left + offset + thumb, track_.bottom};
}

void ScrollBar::Paint(Canvas& canvas, bool hot) const {
  if (!IsShown()) return;
  Rect thumb = Thumb();
  // The thumb is slimmer than its track until the mouse is near, like a modern overlay bar.
  const int thickness = vertical_ ? track_.Width() : track_.Height();
  const int inset = hot || dragging_ ? thickness / 6 : thickness / 4;
  thumb = vertical_ ? Rect{thumb.left + inset, thumb.top + 1, thumb.right - inset, thumb.bottom - 1}
                    : Rect{thumb.left + 1, thumb.top + inset, thumb.right - 1, thumb.bottom - inset};
  const int radius = (vertical_ ? thumb.Width() : thumb.Height()) / 2;
  canvas.FillRoundRect(thumb, radius, hot || dragging_ ? theme::kScrollThumbHot : theme::kScrollThumb);
}

bool ScrollBar::OnButtonDown(Point point) {
  if (!IsShown() || !track_.Contains(point)) return false;
  const Rect thumb = Thumb();
  if (thumb.Contains(point)) {
    dragging_ = true;
    dragOffset_ = vertical_ ? point.y - thumb.top : point.x - thumb.left;
    return true;
  }
  const bool before = vertical_ ? point.y < thumb.top : point.x < thumb.left;
  SetPos(pos_ + (before ? -view_ : view_));
  return true;
}

bool ScrollBar::OnMouseMove(Point point) {
  if (!dragging_) return false;
  const Rect thumb = Thumb();
  const int length = vertical_ ? track_.Height() : track_.Width();
  const int thumbLength = vertical_ ? thumb.Height() : thumb.Width();
  const int free = length - thumbLength;
  if (free <= 0) return true;
  const int offset = (vertical_ ? point.y - track_.top : point.x - track_.left) - dragOffset_;
  SetPos(static_cast<int>(static_cast<long long>(std::clamp(offset, 0, free)) * MaxPos() / free));
  return true;
}

}  // namespace ui
