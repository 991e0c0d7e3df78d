#include "ui/controls/TabLayout.h"

#include "ui/core/AttributeParsing.h"
#include "ui/core/WindowTree.h"

namespace ui {

namespace {
constexpr int kAnimationTimer = 1;
}

void TabLayout::OnChildAdded(Control* child) {
  child->SetInternVisible(IndexOf(child) == selected_);
  // A tab layout inside another is no page of its own: its panels are the pages.
  if (dynamic_cast<TabLayout*>(child) == nullptr) child->SetAccessibleRole(AccessibleRole::TabPage);
}

namespace {

Control* FirstInput(Control& control) {
  if (!control.IsVisible()) return nullptr;
  if (control.IsInput() && control.IsFocusable() && control.IsEnabled()) return &control;
  if (control.TakesChildMouse()) return nullptr;
  for (int i = 0; i < control.GetChildCount(); ++i) {
    if (Control* found = FirstInput(*control.GetChildAt(i))) return found;
  }
  return nullptr;
}

}  // namespace

bool TabLayout::SelectItem(int index) {
  if (index < 0 || index >= GetChildCount()) return false;
  if (index == selected_) return true;
  FinishAnimation();
  const int previous = selected_;
  selected_ = index;
  for (int i = 0; i < GetChildCount(); ++i) GetChildAt(i)->SetInternVisible(i == selected_);
  WindowTree* tree = GetTree();
  if (animate_ && tree != nullptr && previous >= 0 && previous < GetChildCount()) {
    animFrom_ = previous;
    animFrame_ = 0;
    direction_ = index > previous ? 1 : -1;
    GetChildAt(previous)->SetInternVisible(true);
    tree->SetTimer(this, kAnimationTimer, kFrameMs);
  }
  if (tree != nullptr) {
    // The shown panel's first input takes the focus; without one, focus inside a panel
    // that went away would take keys it no longer shows.
    if (tree->GetFocus() != nullptr && !tree->GetFocus()->IsShownInTree()) tree->SetFocus(nullptr);
    FocusShownPanel();
  }
  NeedUpdate();
  RaiseAccessibilityEvent(AccessibleEvent::ChildrenChanged);
  return true;
}

void TabLayout::FocusShownPanel() {
  WindowTree* tree = GetTree();
  Control* panel = GetChildAt(selected_);
  if (tree == nullptr || panel == nullptr || !IsShownInTree()) return;
  for (Control* c = tree->GetFocus(); c != nullptr; c = c->GetParent()) {
    if (c == panel) return;
  }
  if (Control* input = FirstInput(*panel)) tree->SetFocus(input);
}

void TabLayout::FinishAnimation() {
  if (animFrom_ < 0) return;
  if (WindowTree* tree = GetTree()) tree->KillTimer(this, kAnimationTimer);
  if (Control* from = GetChildAt(animFrom_); from != nullptr && animFrom_ != selected_) from->SetInternVisible(false);
  animFrom_ = -1;
  NeedUpdate();
}

AttributeResult TabLayout::ApplyAttribute(std::wstring_view name, std::wstring_view value) {
  if (NameEquals(name, L"selectedid")) {
    auto index = ParseInt(value);
    if (!index || *index < 0) return AttributeResult::BadValue;
    selected_ = *index;
    for (int i = 0; i < GetChildCount(); ++i) GetChildAt(i)->SetInternVisible(i == selected_);
    return AttributeResult::Applied;
  }
  if (NameEquals(name, L"animation")) {
    auto flag = ParseBool(value);
    if (!flag) return AttributeResult::BadValue;
    animate_ = *flag;
    return AttributeResult::Applied;
  }
  return Container::ApplyAttribute(name, value);
}

void TabLayout::SetPos(const Rect& rect) {
  Control::SetPos(rect);
  const Rect inner = InnerRect();
  int shiftNew = 0, shiftOld = 0;
  if (animFrom_ >= 0) {
    // Ease out: quick at first, settling gently.
    const double t = static_cast<double>(animFrame_) / kAnimationFrames;
    const double eased = 1.0 - (1.0 - t) * (1.0 - t) * (1.0 - t);
    shiftNew = static_cast<int>(direction_ * (1.0 - eased) * inner.Width());
    shiftOld = shiftNew - direction_ * inner.Width();
  }
  for (int i = 0; i < GetChildCount(); ++i) {
    Control* child = GetChildAt(i);
    const int shift = i == selected_ ? shiftNew : (i == animFrom_ ? shiftOld : 0);
    child->SetPos(inner.Deflate(Scaled(child->GetPadding())).Offset(shift, 0));
  }
}

bool TabLayout::DoEvent(UiEvent& event) {
  if (event.type == UiEventType::Timer && event.timerId == kAnimationTimer) {
    if (++animFrame_ >= kAnimationFrames) {
      FinishAnimation();
    } else {
      SetPos(rect_);
    }
    Invalidate();
    return true;
  }
  return Container::DoEvent(event);
}

}  // namespace ui
