#include "ui/controls/ListHeaderItem.h"

#include "ui/core/AttributeParsing.h"
#include "ui/core/Theme.h"

namespace ui {

ListHeaderItem::ListHeaderItem() {
  textPadding_ = {8, 0, 8, 0};
}

void ListHeaderItem::SetCheckable(bool on) {
  checkable_ = on;
  Invalidate();
}

AttributeResult ListHeaderItem::ApplyAttribute(std::wstring_view name, std::wstring_view value) {
  if (NameEquals(name, L"checkable")) {
    auto flag = ParseBool(value);
    if (!flag) return AttributeResult::BadValue;
    SetCheckable(*flag);
    return AttributeResult::Applied;
  }
  return Label::ApplyAttribute(name, value);
}

Argb ListHeaderItem::CurrentTextColor() const {
  return textColor_.value_or(theme::kTextMuted);
}

}  // namespace ui
