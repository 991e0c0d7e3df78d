#include "ui/controls/ListRow.h"

#include <algorithm>

#include "ui/controls/Label.h"
#include "ui/controls/List.h"
#include "ui/controls/Option.h"
#include "ui/core/AttributeParsing.h"
#include "ui/core/Drawing.h"
#include "ui/core/Theme.h"
#include "ui/core/WindowTree.h"

namespace ui {

namespace {

void ForEachOption(Control* control, const auto& action) {
  for (int i = 0; i < control->GetChildCount(); ++i) {
    Control* child = control->GetChildAt(i);
    if (auto* option = dynamic_cast<Option*>(child)) action(option);
    ForEachOption(child, action);
  }
}

Label* ColumnLabel(const ListRow& row, int column) {
  const std::wstring name = L"label" + std::to_wstring(column);
  for (int i = 0; i < row.GetChildCount(); ++i) {
    if (auto* label = row.GetChildAt(i)->FindSubControl<Label>(name)) return label;
  }
  return nullptr;
}

}  // namespace

List* ListRow::GetOwner() const {
  Control* body = GetParent();
  return body != nullptr ? dynamic_cast<List*>(body->GetParent()) : nullptr;
}

int ListRow::GetIndex() const {
  const List* owner = GetOwner();
  return owner != nullptr ? owner->IndexOfRow(this) : -1;
}

ListItem* ListRow::BoundItem() const {
  List* owner = index_ >= 0 ? GetOwner() : nullptr;
  return owner != nullptr ? owner->MutableItem(index_) : nullptr;
}

void ListRow::SetColumnText(int column, std::wstring text) {
  if (column < 0) return;
  if (ListItem* item = BoundItem()) {
    if (static_cast<int>(item->columns.size()) <= column) item->columns.resize(column + 1);
    item->columns[column] = text;
  }
  ShowColumn(column, std::move(text));
}

void ListRow::ShowColumn(int column, std::wstring text) {
  shownColumns_ = std::max(shownColumns_, column + 1);
  if (Label* label = ColumnLabel(*this, column)) {
    label->SetToolTip(text);
    label->SetText(std::move(text));
    label->SetVisible(true);
    return;
  }
  if (static_cast<int>(columns_.size()) <= column) columns_.resize(column + 1);
  columns_[column] = std::move(text);
  Invalidate();
}

void ListRow::HideColumn(int column) {
  if (Label* label = ColumnLabel(*this, column)) {
    label->SetToolTip({});
    label->SetText({});
    label->SetVisible(false);
  }
}

std::wstring ListRow::GetColumnText(int column) const {
  if (column < 0) return {};
  if (Label* label = ColumnLabel(*this, column)) return label->GetText();
  return column < static_cast<int>(columns_.size()) ? columns_[column] : std::wstring();
}

void ListRow::SetChecked(bool checked) {
  if (ListItem* item = BoundItem()) item->checked = checked;
  if (checked_ == checked) return;
  checked_ = checked;
  Invalidate();
  if (index_ >= 0) RaiseAccessibilityEvent(AccessibleEvent::Toggled);
}

namespace {

void AppendShownTexts(const Control& control, std::wstring& out) {
  for (int i = 0; i < control.GetChildCount(); ++i) {
    const Control* child = control.GetChildAt(i);
    if (!child->IsVisible()) continue;
    const std::wstring text = child->GetChildCount() == 0 ? child->GetText() : std::wstring();
    if (!text.empty()) out += (out.empty() ? L"" : L", ") + text;
    AppendShownTexts(*child, out);
  }
}

}  // namespace

std::wstring ListRow::GetAccessibleName() const {
  if (!GetRawAccessibleName().empty()) return HorizontalLayout::GetAccessibleName();
  // The columns it draws itself, then those its template's labels show.
  std::wstring name;
  const List* owner = GetOwner();
  const int checkColumn = owner != nullptr ? owner->CheckColumn() : -1;
  for (size_t column = 0; column < columns_.size(); ++column) {
    if (columns_[column].empty() || static_cast<int>(column) == checkColumn) continue;
    name += (name.empty() ? L"" : L", ") + columns_[column];
  }
  AppendShownTexts(*this, name);
  return name;
}

uint32_t ListRow::GetAccessibleStates() const {
  uint32_t states = (HorizontalLayout::GetAccessibleStates() & ~kAccFocusable) | kAccSelectable;
  if (selected_) states |= kAccSelected;
  const List* owner = GetOwner();
  if (owner == nullptr) return states;
  if (!owner->IsEnabled()) states |= kAccDisabled;
  const bool checkList = owner->CheckColumn() >= 0;
  if (checkList) states |= kAccCheckable | (checked_ ? kAccChecked : 0u);
  // The row the list's keys act on holds the focus while the list has it.
  if (owner->IsFocused() && index_ == (checkList ? owner->GetFocusedRow() : owner->GetCurSel())) states |= kAccFocused;
  return states;
}

AccessibleAction ListRow::GetDefaultAction() const {
  const List* owner = GetOwner();
  return owner != nullptr && owner->CheckColumn() >= 0 ? AccessibleAction::Toggle : AccessibleAction::Select;
}

bool ListRow::DoDefaultAction() {
  List* owner = GetOwner();
  if (owner == nullptr || index_ < 0 || !owner->IsEnabled() || !owner->IsShownInTree()) return false;
  owner->ClickRow(this, owner->CheckColumn() >= 0);
  return true;
}

void ListRow::SetUserData(std::wstring data) {
  if (ListItem* item = BoundItem()) item->userData = data;
  HorizontalLayout::SetUserData(std::move(data));
}

void ListRow::Show(const ListItem& item) {
  const int count = static_cast<int>(item.columns.size());
  const int before = shownColumns_;
  columns_.clear();
  shownColumns_ = 0;
  for (int column = 0; column < std::max(count, before); ++column) {
    if (column < count) {
      ShowColumn(column, item.columns[column]);
    } else {
      HideColumn(column);
    }
  }
  if (checked_ != item.checked) {
    checked_ = item.checked;
    Invalidate();
  }
  HorizontalLayout::SetUserData(item.userData);
}

void ListRow::SetSelectedByList(bool selected) {
  selected_ = selected;
  ForEachOption(this, [&](Option* option) { option->SetSelected(selected, false); });
  Invalidate();
}

AttributeResult ListRow::ApplyAttribute(std::wstring_view name, std::wstring_view value) {
  auto color = [&](std::optional<Argb>& target) { return ApplyColor(value, target); };
  if (NameEquals(name, L"hotbkcolor")) return color(hotBkColor_);
  if (NameEquals(name, L"selectedbkcolor")) return color(selectedBkColor_);
  if (NameEquals(name, L"textcolor")) return color(textColor_);
  if (NameEquals(name, L"checked")) {
    auto flag = ParseBool(value);
    if (!flag) return AttributeResult::BadValue;
    SetChecked(*flag);
    return AttributeResult::Applied;
  }
  return HorizontalLayout::ApplyAttribute(name, value);
}

Size ListRow::EstimateSize(Size available) {
  Size size = HorizontalLayout::EstimateSize(available);
  if (size.cy == 0) {
    const List* owner = GetOwner();
    size.cy = Scaled(owner != nullptr ? owner->GetItemHeight() : 30);
  }
  return size;
}

bool ListRow::DoEvent(UiEvent& event) {
  switch (event.type) {
    case UiEventType::ButtonDown:
    case UiEventType::DoubleClick:
      if (event.button == MouseButton::Left && IsEnabled()) {
        if (List* owner = GetOwner()) owner->OnRowPressed(this, event.position);
      }
      return true;
    case UiEventType::MouseEnter:
    case UiEventType::MouseLeave:
      Invalidate();
      return true;
    case UiEventType::MouseMove:
    case UiEventType::ButtonUp:
      return true;
    default:
      return false;
  }
}

void ListRow::PaintBackground(Canvas& canvas) {
  HorizontalLayout::PaintBackground(canvas);
  const WindowTree* tree = GetTree();
  if (selected_) {
    canvas.FillRect(rect_, selectedBkColor_.value_or(theme::kRowSelected));
  } else if (tree != nullptr && tree->GetHover() == this) {
    canvas.FillRect(rect_, hotBkColor_.value_or(theme::kRowHot));
  }
}

void ListRow::PaintContent(Canvas& canvas, const Rect& dirty) {
  HorizontalLayout::PaintContent(canvas, dirty);
  const List* owner = GetOwner();
  if (owner == nullptr) return;
  // The keyboard's mark in a list of check boxes.
  if (const WindowTree* tree = GetTree();
      tree != nullptr && tree->IsFocusVisible() && owner->IsFocused() && owner->GetFocusedRow() == GetIndex()) {
    canvas.DrawRect(rect_, theme::kAccent, std::max(1, Scaled(1)));
  }
  const int checkColumn = owner->CheckColumn();
  if (checkColumn >= 0) {
    const Rect cell = owner->ColumnRect(checkColumn, rect_);
    const int side = Scaled(theme::kMarkSize);
    const int left = cell.left + (cell.Width() - side) / 2;
    const int top = cell.top + (cell.Height() - side) / 2;
    const WindowTree* tree = GetTree();
    DrawCheckMark(canvas, {left, top, left + side, top + side}, checked_, IsEnabled(),
                  tree != nullptr && tree->GetHover() == this, ScalePercent());
  }
  const FontSpec font = Font();
  const Argb color = IsEnabled() ? textColor_.value_or(theme::kText) : theme::kTextDisabled;
  for (size_t column = 0; column < columns_.size(); ++column) {
    if (columns_[column].empty() || static_cast<int>(column) == checkColumn) continue;
    const Rect cell = owner->ColumnRect(static_cast<int>(column), rect_).Deflate({Scaled(8), 0, Scaled(8), 0});
    canvas.DrawText(columns_[column], cell, font, color, kTextSingleLine | kTextVCenter | kTextEndEllipsis);
  }
}

}  // namespace ui
