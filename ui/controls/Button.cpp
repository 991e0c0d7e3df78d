#include "ui/controls/Button.h"

#include <algorithm>

#include "ui/core/AttributeParsing.h"
#include "ui/core/Drawing.h"
#include "ui/core/SystemConstants.h"
#include "ui/core/Theme.h"
#include "ui/core/WindowTree.h"

namespace ui {

Button::Button() {
  align_ = kTextCenter | kTextVCenter;
}

bool Button::Activate() {
  if (!IsEnabled()) return false;
  Notify(L"click");
  return true;
}

AccessibleRole Button::GetAccessibleRole() const {
  const AccessibleRole role = Label::GetAccessibleRole();
  return role == AccessibleRole::StaticText || role == AccessibleRole::None ? AccessibleRole::PushButton : role;
}

bool Button::DoDefaultAction() {
  return IsShownInTree() && Activate();
}

bool Button::IsHot() const {
  const WindowTree* tree = GetTree();
  return tree != nullptr && tree->GetHover() == this && IsEnabled();
}

bool Button::IsPushed() const {
  const WindowTree* tree = GetTree();
  return tree != nullptr && tree->GetCapture() == this && tree->GetHover() == this && IsEnabled();
}

bool Button::UsesFlatLook() const {
  return !bkColor_ && normalImage_.empty() && bkImage_.empty() && glyph_.empty();
}

AttributeResult Button::ApplyAttribute(std::wstring_view name, std::wstring_view value) {
  auto is = [&](std::wstring_view wanted) { return NameEquals(name, wanted); };
  auto image = [&](std::wstring& target) {
    target = std::wstring(value);
    Invalidate();
    return AttributeResult::Applied;
  };
  auto color = [&](std::optional<Argb>& target) { return ApplyColor(value, target); };
  if (is(L"normalimage")) return image(normalImage_);
  if (is(L"hotimage")) return image(hotImage_);
  if (is(L"pushedimage")) return image(pushedImage_);
  if (is(L"focusedimage")) return image(focusedImage_);
  if (is(L"disabledimage")) return image(disabledImage_);
  if (is(L"hotbkcolor")) return color(hotBkColor_);
  if (is(L"pushedbkcolor")) return color(pushedBkColor_);
  if (is(L"disabledbkcolor")) return color(disabledBkColor_);
  if (is(L"hottextcolor")) return color(hotTextColor_);
  if (is(L"pushedtextcolor")) return color(pushedTextColor_);
  if (is(L"hotbordercolor")) return color(hotBorderColor_);
  if (is(L"focusbordercolor")) return color(focusBorderColor_);
  if (is(L"glyph")) {
    static constexpr std::wstring_view kGlyphs[] = {L"close",    L"minimize", L"maximize", L"restore",
                                                    L"language", L"about",    L"search"};
    if (!value.empty() && std::find(std::begin(kGlyphs), std::end(kGlyphs), value) == std::end(kGlyphs)) {
      return AttributeResult::BadValue;
    }
    return image(glyph_);
  }
  return Label::ApplyAttribute(name, value);
}

bool Button::DoEvent(UiEvent& event) {
  switch (event.type) {
    case UiEventType::MouseEnter:
    case UiEventType::MouseLeave:
    case UiEventType::ButtonDown:
    case UiEventType::DoubleClick:
    case UiEventType::SetFocus:
    case UiEventType::KillFocus:
      Invalidate();
      return true;
    case UiEventType::MouseMove:
      return true;
    case UiEventType::ButtonUp:
      Invalidate();
      if (event.button == MouseButton::Left && rect_.Contains(event.position)) Activate();
      return true;
    case UiEventType::KeyDown:
      if (event.key == kVkReturn || event.key == kVkSpace) {
        Activate();
        return true;
      }
      return false;
    default:
      return false;
  }
}

bool Button::PaintStateImage(Canvas& canvas) {
  const int scale = ScalePercent();
  if (!IsEnabled() && DrawSkinImage(canvas, disabledImage_, scale, rect_)) return true;
  if (IsPushed() && DrawSkinImage(canvas, pushedImage_, scale, rect_)) return true;
  if (IsHot() && DrawSkinImage(canvas, hotImage_, scale, rect_)) return true;
  if (IsFocused() && DrawSkinImage(canvas, focusedImage_, scale, rect_)) return true;
  return DrawSkinImage(canvas, normalImage_, scale, rect_);
}

void Button::PaintBackground(Canvas& canvas) {
  const int radius = borderRound_ > 0 ? Scaled(borderRound_) : 0;
  if (UsesFlatLook()) {
    const Argb fill = !IsEnabled() ? disabledBkColor_.value_or(theme::kButtonDisabled)
                      : IsPushed() ? pushedBkColor_.value_or(theme::kButtonPressed)
                      : IsHot()    ? hotBkColor_.value_or(theme::kButtonHot)
                                   : theme::kButton;
    canvas.FillRoundRect(rect_, radius > 0 ? radius : Scaled(theme::kCornerRadius), fill);
    return;
  }
  if (!glyph_.empty() && !bkColor_) {
    // Caption buttons: no fill at rest, a light wash under the mouse, red for close.
    const bool close = glyph_ == L"close";
    if (IsPushed()) {
      canvas.FillRoundRect(rect_, radius, close ? theme::kCloseHot : theme::kCaptionPressed);
    } else if (IsHot()) {
      canvas.FillRoundRect(rect_, radius, close ? theme::kCloseHot : hotBkColor_.value_or(theme::kCaptionHot));
    }
    return;
  }
  std::optional<Argb> fill = bkColor_;
  if (!IsEnabled() && disabledBkColor_) fill = disabledBkColor_;
  if (IsPushed() && (pushedBkColor_ || hotBkColor_)) fill = pushedBkColor_ ? pushedBkColor_ : hotBkColor_;
  if (IsHot() && !IsPushed() && hotBkColor_) fill = hotBkColor_;
  if (fill) {
    if (radius > 0) {
      canvas.FillRoundRect(rect_, radius, *fill);
    } else {
      canvas.FillRect(rect_, *fill);
    }
  }
  if (!bkImage_.empty()) DrawSkinImage(canvas, bkImage_, ScalePercent(), rect_);
}

void Button::PaintContent(Canvas& canvas, const Rect& dirty) {
  PaintStateImage(canvas);
  if (!glyph_.empty()) {
    Argb color = CurrentTextColor();
    if (glyph_ == L"close" && (IsHot() || IsPushed())) color = theme::kCloseGlyphHot;
    DrawGlyph(canvas, glyph_, rect_, color, ScalePercent());
  }
  Label::PaintContent(canvas, dirty);
}

void Button::PaintBorder(Canvas& canvas) {
  const int radius = borderRound_ > 0 ? Scaled(borderRound_) : (UsesFlatLook() ? Scaled(theme::kCornerRadius) : 0);
  const int width = std::max(1, Scaled(1));
  const WindowTree* tree = GetTree();
  if (IsFocused() && tree != nullptr && tree->IsFocusVisible()) {
    // A caption button sits on the accent colour: its ring takes the glyph's colour.
    const Argb ring = focusBorderColor_.value_or(glyph_.empty() ? theme::kAccent : CurrentTextColor());
    canvas.DrawRoundRect(rect_, radius, ring, std::max(2, Scaled(2)));
    return;
  }
  if (UsesFlatLook()) {
    canvas.DrawRoundRect(rect_, radius,
                         !IsEnabled() ? theme::kBorderDisabled
                         : IsHot()    ? hotBorderColor_.value_or(theme::kAccent)
                                      : borderColor_.value_or(theme::kBorder),
                         width);
    return;
  }
  if (IsHot() && hotBorderColor_ && borderSize_ > 0) {
    canvas.DrawRoundRect(rect_, radius, *hotBorderColor_, std::max(1, Scaled(borderSize_)));
    return;
  }
  Control::PaintBorder(canvas);
}

Argb Button::CurrentTextColor() const {
  if (!IsEnabled()) return Label::CurrentTextColor();
  if (IsPushed() && pushedTextColor_) return *pushedTextColor_;
  if (IsHot() && hotTextColor_) return *hotTextColor_;
  if (!glyph_.empty() && !textColor_) return theme::kTextMuted;
  return Label::CurrentTextColor();
}

}  // namespace ui
