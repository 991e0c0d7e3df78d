#include "ui/core/Container.h"

#include <algorithm>

#include "ui/core/AttributeParsing.h"
#include "ui/core/WindowTree.h"

namespace ui {

Container::Container() = default;

Container::~Container() {
  // Children go first, while this container is still whole.
  children_.clear();
}

Control* Container::GetChildAt(int index) const {
  if (index < 0 || index >= GetChildCount()) return nullptr;
  return children_[index].get();
}

int Container::IndexOf(const Control* child) const {
  for (size_t i = 0; i < children_.size(); ++i) {
    if (children_[i].get() == child) return static_cast<int>(i);
  }
  return -1;
}

Control* Container::Add(std::unique_ptr<Control> child) {
  return AddAt(std::move(child), GetChildCount());
}

Control* Container::AddAt(std::unique_ptr<Control> child, int index) {
  if (!child) return nullptr;
  Control* added = child.get();
  index = std::clamp(index, 0, GetChildCount());
  added->SetParent(this);
  children_.insert(children_.begin() + index, std::move(child));
  added->AttachTree(GetTree());
  OnChildAdded(added);
  NeedUpdate();
  RaiseAccessibilityEvent(AccessibleEvent::ChildrenChanged);
  return added;
}

bool Container::AddFromLayout(std::unique_ptr<Control> child) {
  return Add(std::move(child)) != nullptr;
}

bool Container::Remove(Control* child) {
  const int index = IndexOf(child);
  if (index < 0) return false;
  std::unique_ptr<Control> removed = std::move(children_[index]);
  children_.erase(children_.begin() + index);
  WindowTree* tree = GetTree();
  removed->AttachTree(nullptr);
  removed->SetParent(nullptr);
  if (tree != nullptr) tree->ReleaseLater(std::move(removed));
  NeedUpdate();
  RaiseAccessibilityEvent(AccessibleEvent::ChildrenChanged);
  return true;
}

void Container::RemoveAll() {
  std::vector<std::unique_ptr<Control>> removed = std::move(children_);
  children_.clear();
  WindowTree* tree = GetTree();
  for (auto& child : removed) {
    child->AttachTree(nullptr);
    child->SetParent(nullptr);
    if (tree != nullptr) tree->ReleaseLater(std::move(child));
  }
  vbar_.SetPos(0);
  NeedUpdate();
  if (!removed.empty()) RaiseAccessibilityEvent(AccessibleEvent::ChildrenChanged);
}

void Container::SetInset(const Rect& inset) {
  inset_ = inset;
  NeedUpdate();
}

void Container::SetChildPadding(int padding) {
  childPadding_ = std::max(0, padding);
  NeedUpdate();
}

void Container::EnableScroll(bool on) {
  scrollable_ = on;
  if (!on) vbar_.SetPos(0);
  NeedUpdate();
}

void Container::SetScrollPos(int pos) {
  if (!vbar_.SetPos(pos)) return;
  SetPos(rect_);
  Invalidate();
}

AttributeResult Container::ApplyAttribute(std::wstring_view name, std::wstring_view value) {
  if (NameEquals(name, L"inset")) {
    auto rect = ParseRect(value);
    if (!rect) return AttributeResult::BadValue;
    SetInset(*rect);
    return AttributeResult::Applied;
  }
  if (NameEquals(name, L"childpadding")) {
    auto number = ParseInt(value);
    if (!number) return AttributeResult::BadValue;
    SetChildPadding(*number);
    return AttributeResult::Applied;
  }
  if (NameEquals(name, L"vscrollbar")) {
    auto flag = ParseBool(value);
    if (!flag) return AttributeResult::BadValue;
    EnableScroll(*flag);
    return AttributeResult::Applied;
  }
  if (NameEquals(name, L"childalign") || NameEquals(name, L"childvalign")) {
    const bool across = NameEquals(name, L"childalign");
    if (NameEquals(value, across ? L"left" : L"top")) {
      childAlign_ &= across ? ~(kTextCenter | kTextRight) : ~(kTextVCenter | kTextBottom);
    } else if (NameEquals(value, across ? L"center" : L"vcenter")) {
      childAlign_ = (childAlign_ & (across ? ~kTextRight : ~kTextBottom)) | (across ? kTextCenter : kTextVCenter);
    } else if (NameEquals(value, across ? L"right" : L"bottom")) {
      childAlign_ = (childAlign_ & (across ? ~kTextCenter : ~kTextVCenter)) | (across ? kTextRight : kTextBottom);
    } else {
      return AttributeResult::BadValue;
    }
    NeedUpdate();
    return AttributeResult::Applied;
  }
  return Control::ApplyAttribute(name, value);
}

Rect Container::InnerRect() const {
  return rect_.Deflate(Scaled(inset_));
}

Control* Container::FindControlAt(Point point) {
  if (!IsVisible() || !rect_.Contains(point)) return nullptr;
  if (vbar_.IsShown() && vbar_.Track().Contains(point)) return this;
  if (InnerRect().Contains(point)) {
    for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
      if (Control* found = (*it)->FindControlAt(point)) return found;
    }
  }
  return this;
}

void Container::SetPos(const Rect& rect) {
  Control::SetPos(rect);
  const Rect inner = InnerRect();
  for (auto& child : children_) {
    if (child->IsVisible()) child->SetPos(inner.Deflate(Scaled(child->GetPadding())));
  }
}

void Container::LayoutStack(bool vertical) {
  const Rect inner = InnerRect();
  const int gap = Scaled(childPadding_);
  const int mainAvailable = vertical ? inner.Height() : inner.Width();
  const int crossAvailable = vertical ? inner.Width() : inner.Height();
  const int scroll = vertical && scrollable_ ? vbar_.Pos() : 0;

  struct Item {
    Control* control;
    Rect margin;
    int main;
    int cross;
    bool stretch;
  };
  std::vector<Item> items;
  int fixedTotal = 0;
  int stretchCount = 0;
  for (auto& child : children_) {
    if (!child->IsVisible()) continue;
    const Rect margin = Scaled(child->GetPadding());
    const Size wanted = child->EstimateSize({inner.Width(), inner.Height()});
    int main = vertical ? wanted.cy : wanted.cx;
    const int cross = vertical ? wanted.cx : wanted.cy;
    const bool stretch = main <= 0;
    if (!stretch) {
      const Size clamped = child->ClampSize(vertical ? Size{0, main} : Size{main, 0});
      main = vertical ? clamped.cy : clamped.cx;
      fixedTotal += main;
    } else {
      ++stretchCount;
    }
    fixedTotal += vertical ? margin.top + margin.bottom : margin.left + margin.right;
    items.push_back({child.get(), margin, main, cross, stretch});
  }
  if (items.size() > 1) fixedTotal += gap * static_cast<int>(items.size() - 1);

  // The children without a size share the rest; one held by its minimum or maximum
  // leaves the difference to those after it.
  int left = std::max(0, mainAvailable - fixedTotal);
  int count = stretchCount;
  for (Item& item : items) {
    if (!item.stretch) continue;
    const int share = count > 0 ? left / count : 0;
    const Size clamped = item.control->ClampSize(vertical ? Size{0, share} : Size{share, 0});
    item.main = std::max(0, vertical ? clamped.cy : clamped.cx);
    left = std::max(0, left - item.main);
    --count;
  }

  int position = (vertical ? inner.top : inner.left) - scroll;
  const int start = position;
  for (const Item& item : items) {
    const int marginBefore = vertical ? item.margin.top : item.margin.left;
    const int marginAfter = vertical ? item.margin.bottom : item.margin.right;
    const int crossMarginBefore = vertical ? item.margin.left : item.margin.top;
    const int crossMarginAfter = vertical ? item.margin.right : item.margin.bottom;
    const int crossRoom = crossAvailable - crossMarginBefore - crossMarginAfter;
    int cross = crossRoom;
    if (item.cross > 0) {
      const Size clamped = item.control->ClampSize(vertical ? Size{item.cross, 0} : Size{0, item.cross});
      cross = vertical ? clamped.cx : clamped.cy;
    } else {
      const Size clamped = item.control->ClampSize(vertical ? Size{cross, 0} : Size{0, cross});
      cross = vertical ? clamped.cx : clamped.cy;
    }
    int crossOffset = 0;
    const unsigned centre = vertical ? kTextCenter : kTextVCenter;
    const unsigned end = vertical ? kTextRight : kTextBottom;
    if (childAlign_ & centre) crossOffset = (crossRoom - cross) / 2;
    if (childAlign_ & end) crossOffset = crossRoom - cross;
    const int crossStart = (vertical ? inner.left : inner.top) + crossMarginBefore + crossOffset;
    const int mainStart = position + marginBefore;
    const Rect placed = vertical ? Rect{crossStart, mainStart, crossStart + cross, mainStart + item.main}
                                 : Rect{mainStart, crossStart, mainStart + item.main, crossStart + cross};
    item.control->SetPos(placed);
    position = mainStart + item.main + marginAfter + gap;
  }
  const int content = items.empty() ? 0 : position - gap - start;

  if (vertical && scrollable_) {
    const int before = vbar_.Pos();
    vbar_.SetRange(content, inner.Height());
    const int thickness = Scaled(8);
    vbar_.SetTrack({rect_.right - thickness, inner.top, rect_.right, inner.bottom});
    if (vbar_.Pos() != before) LayoutStack(vertical);  // the range shrank under the position
  }
}

void Container::PaintContent(Canvas& canvas, const Rect& dirty) {
  const Rect inner = InnerRect();
  const Rect clip = inner.Intersect(dirty);
  if (!clip.IsEmpty() && !children_.empty()) {
    canvas.PushClip(clip);
    for (auto& child : children_) {
      if (child->IsVisible() && !child->GetPos().Intersect(clip).IsEmpty()) child->Paint(canvas, clip);
    }
    canvas.PopClip();
  }
  if (vbar_.IsShown()) {
    WindowTree* tree = GetTree();
    const bool hot = tree != nullptr && (tree->GetHover() == this || tree->GetCapture() == this);
    vbar_.Paint(canvas, hot);
  }
}

bool Container::DoEvent(UiEvent& event) {
  if (!vbar_.IsShown()) return false;
  switch (event.type) {
    case UiEventType::Wheel:
      SetScrollPos(vbar_.Pos() - event.wheelDelta * Scaled(40) / 120);
      return true;
    case UiEventType::ButtonDown:
    case UiEventType::DoubleClick:
      if (vbar_.OnButtonDown(event.position)) {
        SetPos(rect_);
        Invalidate();
        return true;
      }
      return false;
    case UiEventType::MouseMove:
      if (vbar_.OnMouseMove(event.position)) {
        SetPos(rect_);
        Invalidate();
        return true;
      }
      return false;
    case UiEventType::ButtonUp:
      vbar_.OnButtonUp();
      Invalidate();
      return true;
    case UiEventType::MouseEnter:
    case UiEventType::MouseLeave:
      Invalidate();
      return true;
    default:
      return false;
  }
}

}  // namespace ui
