#include "ui/controls/Label.h"

#include "ui/core/AttributeParsing.h"
#include "ui/core/Theme.h"
#include "ui/core/WindowTree.h"

namespace ui {

Label::Label() = default;

void Label::SetTextColor(Argb color) {
  textColor_ = color;
  Invalidate();
}

void Label::SetTextPadding(const Rect& padding) {
  textPadding_ = padding;
  NeedUpdate();
}

void Label::SetAutoCalcWidth(bool on) {
  autoCalcWidth_ = on;
  NeedUpdate();
}

unsigned Label::GetTextFormat() const {
  unsigned format = align_;
  if (wordBreak_) {
    format |= kTextWordBreak;
  } else {
    format |= kTextSingleLine;
    if (endEllipsis_) format |= kTextEndEllipsis;
  }
  return format;
}

AttributeResult Label::ApplyAttribute(std::wstring_view name, std::wstring_view value) {
  auto is = [&](std::wstring_view wanted) { return NameEquals(name, wanted); };
  auto flag = [&](bool& target, bool layout) {
    auto parsed = ParseBool(value);
    if (!parsed) return AttributeResult::BadValue;
    target = *parsed;
    if (layout) {
      NeedUpdate();
    } else {
      Invalidate();
    }
    return AttributeResult::Applied;
  };
  auto color = [&](std::optional<Argb>& target) { return ApplyColor(value, target); };
  if (is(L"textcolor")) return color(textColor_);
  if (is(L"disabledtextcolor")) return color(disabledTextColor_);
  if (is(L"textpadding")) {
    auto rect = ParseRect(value);
    if (!rect) return AttributeResult::BadValue;
    SetTextPadding(*rect);
    return AttributeResult::Applied;
  }
  if (is(L"align")) {
    unsigned horizontal;
    if (NameEquals(value, L"left")) {
      horizontal = kTextLeft;
    } else if (NameEquals(value, L"center")) {
      horizontal = kTextCenter;
    } else if (NameEquals(value, L"right")) {
      horizontal = kTextRight;
    } else {
      return AttributeResult::BadValue;
    }
    align_ = (align_ & ~(kTextCenter | kTextRight)) | horizontal;
    Invalidate();
    return AttributeResult::Applied;
  }
  if (is(L"valign")) {
    unsigned vertical;
    if (NameEquals(value, L"top")) {
      vertical = kTextTop;
    } else if (NameEquals(value, L"vcenter") || NameEquals(value, L"center")) {
      vertical = kTextVCenter;
    } else if (NameEquals(value, L"bottom")) {
      vertical = kTextBottom;
    } else {
      return AttributeResult::BadValue;
    }
    align_ = (align_ & ~(kTextVCenter | kTextBottom)) | vertical;
    Invalidate();
    return AttributeResult::Applied;
  }
  if (is(L"wordbreak") || is(L"multiline")) return flag(wordBreak_, false);
  if (is(L"endellipsis")) return flag(endEllipsis_, false);
  if (is(L"autocalcwidth")) return flag(autoCalcWidth_, true);
  return Control::ApplyAttribute(name, value);
}

Size Label::EstimateSize(Size available) {
  Size size = Control::EstimateSize(available);
  if (autoCalcWidth_ && GetTree() != nullptr) {
    const Rect padding = TextInsets();
    const Size text = GetTree()->MeasureText(GetText(), Font(), 0, kTextSingleLine);
    size.cx = text.cx + padding.left + padding.right;
  }
  return size;
}

Rect Label::TextInsets() const {
  return Scaled(textPadding_);
}

Rect Label::TextRect() const {
  return rect_.Deflate(TextInsets());
}

Argb Label::CurrentTextColor() const {
  if (!IsEnabled()) return disabledTextColor_.value_or(theme::kTextDisabled);
  return textColor_.value_or(theme::kText);
}

void Label::PaintContent(Canvas& canvas, const Rect&) {
  PaintText(canvas);
}

void Label::PaintText(Canvas& canvas) {
  const std::wstring text = GetText();
  if (text.empty()) return;
  canvas.DrawText(text, TextRect(), Font(), CurrentTextColor(), GetTextFormat());
}

}  // namespace ui
