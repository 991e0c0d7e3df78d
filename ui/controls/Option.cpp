#include "ui/controls/Option.h"

#include <algorithm>

#include "ui/core/AttributeParsing.h"
#include "ui/core/Drawing.h"
#include "ui/core/SystemConstants.h"
#include "ui/core/Theme.h"
#include "ui/core/WindowTree.h"

namespace ui {

void Option::SetSelected(bool selected, bool notify) {
  if (selected_ == selected) return;
  selected_ = selected;
  if (selected_ && !group_.empty()) {
    if (WindowTree* tree = GetTree()) {
      for (Control* member : tree->GroupMembers(group_)) {
        auto* other = static_cast<Option*>(member);
        if (other != this && other->selected_) {
          other->selected_ = false;
          other->Invalidate();
          other->RaiseAccessibilityEvent(AccessibleEvent::Toggled);
        }
      }
    }
  }
  Invalidate();
  RaiseAccessibilityEvent(AccessibleEvent::Toggled);
  if (selected_ && !group_.empty()) RaiseAccessibilityEvent(AccessibleEvent::SelectionChanged);
  if (notify) Notify(L"selectchanged");
}

void Option::SetGroup(std::wstring group) {
  if (group == group_) return;
  WindowTree* tree = GetTree();
  if (tree != nullptr && !group_.empty()) tree->LeaveGroup(group_, this);
  group_ = std::move(group);
  if (tree != nullptr && !group_.empty()) {
    tree->JoinGroup(group_, this);
    if (selected_) {
      selected_ = false;  // selecting again clears the others of the new group
      SetSelected(true, false);
    }
  }
  Invalidate();
}

void Option::SetMark(Mark mark) {
  mark_ = mark;
  Invalidate();
}

void Option::OnAttached() {
  if (group_.empty()) return;
  GetTree()->JoinGroup(group_, this);
  if (selected_) {
    selected_ = false;
    SetSelected(true, false);
  }
}

void Option::OnDetaching() {
  if (!group_.empty()) GetTree()->LeaveGroup(group_, this);
}

bool Option::Activate() {
  if (!Button::Activate()) return false;
  if (!group_.empty()) {
    SetSelected(true);
  } else {
    SetSelected(!selected_);
  }
  return true;
}

AccessibleRole Option::GetAccessibleRole() const {
  const AccessibleRole role = Button::GetAccessibleRole();
  if (role != AccessibleRole::PushButton) return role;
  const Mark mark = EffectiveMark();
  if (mark == Mark::Check) return AccessibleRole::CheckBox;
  return mark == Mark::Radio || !group_.empty() ? AccessibleRole::RadioButton : AccessibleRole::CheckBox;
}

uint32_t Option::GetAccessibleStates() const {
  return Button::GetAccessibleStates() | kAccCheckable | (selected_ ? kAccChecked : 0u);
}

AccessibleAction Option::GetDefaultAction() const {
  return group_.empty() ? AccessibleAction::Toggle : AccessibleAction::Select;
}

bool Option::DoEvent(UiEvent& event) {
  if (event.type == UiEventType::KeyDown && event.key == kVkReturn) return false;
  return Button::DoEvent(event);
}

Option::Mark Option::EffectiveMark() const {
  if (mark_ != Mark::Auto) return mark_;
  if (!normalImage_.empty() || !selectedImage_.empty() || !bkImage_.empty()) return Mark::None;
  return group_.empty() ? Mark::Check : Mark::Radio;
}

AttributeResult Option::ApplyAttribute(std::wstring_view name, std::wstring_view value) {
  auto is = [&](std::wstring_view wanted) { return NameEquals(name, wanted); };
  auto color = [&](std::optional<Argb>& target) { return ApplyColor(value, target); };
  if (is(L"group")) {
    SetGroup(std::wstring(value));
    return AttributeResult::Applied;
  }
  if (is(L"selected")) {
    auto flag = ParseBool(value);
    if (!flag) return AttributeResult::BadValue;
    SetSelected(*flag, false);
    return AttributeResult::Applied;
  }
  if (is(L"selectedimage")) {
    selectedImage_ = std::wstring(value);
    Invalidate();
    return AttributeResult::Applied;
  }
  if (is(L"selectedbkcolor")) return color(selectedBkColor_);
  if (is(L"selectedtextcolor")) return color(selectedTextColor_);
  if (is(L"mark")) {
    if (NameEquals(value, L"auto")) {
      SetMark(Mark::Auto);
    } else if (NameEquals(value, L"radio")) {
      SetMark(Mark::Radio);
    } else if (NameEquals(value, L"check")) {
      SetMark(Mark::Check);
    } else if (NameEquals(value, L"none")) {
      SetMark(Mark::None);
    } else {
      return AttributeResult::BadValue;
    }
    return AttributeResult::Applied;
  }
  return Button::ApplyAttribute(name, value);
}

void Option::PaintBackground(Canvas& canvas) {
  const int radius = Scaled(borderRound_);
  if (selected_ && selectedBkColor_) {
    canvas.FillRoundRect(rect_, radius, *selectedBkColor_);
  } else if (bkColor_) {
    canvas.FillRoundRect(rect_, radius, *bkColor_);
  }
  if (IsHot() && hotBkColor_ && !(selected_ && selectedBkColor_)) canvas.FillRoundRect(rect_, radius, *hotBkColor_);
  if (!bkImage_.empty()) DrawSkinImage(canvas, bkImage_, ScalePercent(), rect_);
}

void Option::PaintContent(Canvas& canvas, const Rect& dirty) {
  if (!(selected_ && DrawSkinImage(canvas, selectedImage_, ScalePercent(), rect_))) PaintStateImage(canvas);
  const Mark mark = EffectiveMark();
  if (mark != Mark::None) {
    const int side = Scaled(theme::kMarkSize);
    const int top = rect_.top + (rect_.Height() - side) / 2;
    const Rect box{rect_.left + Scaled(1), top, rect_.left + Scaled(1) + side, top + side};
    if (mark == Mark::Radio) {
      DrawRadioMark(canvas, box, selected_, IsEnabled(), IsHot(), ScalePercent());
    } else {
      DrawCheckMark(canvas, box, selected_, IsEnabled(), IsHot(), ScalePercent());
    }
  }
  Label::PaintContent(canvas, dirty);
}

void Option::PaintBorder(Canvas& canvas) {
  const WindowTree* tree = GetTree();
  if (IsFocused() && tree != nullptr && tree->IsFocusVisible()) {
    canvas.DrawRoundRect(rect_, Scaled(theme::kCornerRadius), focusBorderColor_.value_or(theme::kAccent),
                         std::max(1, Scaled(1)));
    return;
  }
  Control::PaintBorder(canvas);
}

Rect Option::TextInsets() const {
  Rect insets = Button::TextInsets();
  if (EffectiveMark() != Mark::None) insets.left = std::max(insets.left, Scaled(theme::kMarkSize + 4));
  return insets;
}

Argb Option::CurrentTextColor() const {
  if (IsEnabled() && selected_ && selectedTextColor_) return *selectedTextColor_;
  if (IsEnabled() && IsHot() && hotTextColor_) return *hotTextColor_;
  return Label::CurrentTextColor();
}

}  // namespace ui
