#include "ui/controls/List.h"

#include <algorithm>

#include "base/WideText.h"
#include "ui/controls/LayoutBuilder.h"
#include "ui/controls/ListHeader.h"
#include "ui/controls/ListHeaderItem.h"
#include "ui/controls/ListRow.h"
#include "ui/core/AttributeParsing.h"
#include "ui/core/SystemConstants.h"
#include "ui/core/Theme.h"
#include "ui/core/WindowTree.h"

namespace ui {

List::List() {
  header_ = Add(std::make_unique<ListHeader>());
  body_ = Add(std::make_unique<VerticalLayout>());
  body_->EnableScroll(true);
}

ListRow* List::AddRow(std::wstring_view templateFile) {
  const std::wstring file = templateFile.empty() ? rowTemplate_ : std::wstring(templateFile);
  std::unique_ptr<ListRow> row;
  if (!file.empty()) {
    if (WindowTree* tree = GetTree()) {
      std::unique_ptr<Control> built = LayoutBuilder(*tree).BuildTemplate(file);
      if (dynamic_cast<ListRow*>(built.get()) != nullptr) {
        row.reset(static_cast<ListRow*>(built.release()));
      } else if (built) {
        row = std::make_unique<ListRow>();
        row->Add(std::move(built));
      }
    } else {
      ReportSkinProblem("list \"" + WideToUtf8(GetName()) + "\"", "rows from a template need the list in a window");
    }
  }
  if (!row) row = std::make_unique<ListRow>();
  return AddRow(std::move(row));
}

ListRow* List::AddRow(std::unique_ptr<ListRow> row) {
  return body_->Add(std::move(row));
}

void List::RemoveAll() {
  selected_ = -1;
  focusedRow_ = -1;
  body_->RemoveAll();
}

int List::GetRowCount() const {
  return body_->GetChildCount();
}

ListRow* List::GetRow(int index) const {
  return static_cast<ListRow*>(body_->GetChildAt(index));
}

int List::IndexOfRow(const ListRow* row) const {
  return body_->IndexOf(row);
}

bool List::SelectRow(int index, bool notify) {
  if (index < -1 || index >= GetRowCount()) return false;
  const int previous = selected_;
  if (previous == index) return true;
  if (ListRow* old = GetRow(previous)) old->SetSelectedByList(false);
  selected_ = index;
  if (ListRow* row = GetRow(index)) {
    row->SetSelectedByList(true);
    EnsureVisible(index);
  }
  if (notify) Notify(L"itemselect", static_cast<uintptr_t>(index), previous);
  return true;
}

void List::EnsureVisible(int index) {
  const ListRow* row = GetRow(index);
  if (row == nullptr || row->GetPos().IsEmpty()) return;
  const Rect view = body_->GetPos();
  const Rect place = row->GetPos();
  if (place.top < view.top) {
    body_->SetScrollPos(body_->GetScrollPos() - (view.top - place.top));
  } else if (place.bottom > view.bottom) {
    body_->SetScrollPos(body_->GetScrollPos() + (place.bottom - view.bottom));
  }
}

int List::CheckColumn() const {
  for (int i = 0; i < header_->GetChildCount(); ++i) {
    if (const ListHeaderItem* column = header_->GetColumn(i); column != nullptr && column->IsCheckable()) return i;
  }
  return -1;
}

Rect List::ColumnRect(int column, const Rect& row) const {
  const int count = header_->GetChildCount();
  if (column < 0 || column >= count) return {};
  if (header_->IsShownInTree() && !header_->GetChildAt(column)->GetPos().IsEmpty()) {
    const Rect& title = header_->GetChildAt(column)->GetPos();
    return {title.left, row.top, title.right, row.bottom};
  }
  // Without a laid-out header: fixed widths, and the rest shared by the others.
  int fixed = 0, flexible = 0;
  for (int i = 0; i < count; ++i) {
    const int width = Scaled(header_->GetChildAt(i)->GetFixedWidth());
    fixed += width;
    flexible += width == 0 ? 1 : 0;
  }
  const int share = flexible > 0 ? std::max(0, row.Width() - fixed) / flexible : 0;
  int left = row.left;
  for (int i = 0; i < count; ++i) {
    const int fixedWidth = Scaled(header_->GetChildAt(i)->GetFixedWidth());
    const int width = fixedWidth > 0 ? fixedWidth : share;
    if (i == column) return {left, row.top, left + width, row.bottom};
    left += width;
  }
  return {};
}

void List::OnRowPressed(ListRow* row, Point point) {
  const int checkColumn = CheckColumn();
  const bool onCheck = checkColumn >= 0 && ColumnRect(checkColumn, row->GetPos()).Contains(point);
  // The keyboard goes on from the row the mouse chose.
  if (checkColumn >= 0) focusedRow_ = IndexOfRow(row);
  SetFocus();
  ClickRow(row, onCheck);
}

void List::ClickRow(ListRow* row, bool toggleCheck) {
  WindowTree* tree = GetTree();
  if (tree == nullptr) return;
  if (toggleCheck) {
    const bool checked = !row->IsChecked();
    row->SetChecked(checked);
    tree->SendNotify(row, L"listitemchecked", checked ? 1 : 0, checked ? 1 : 0);
  }
  // A handler may have rebuilt the list; a row that left it says no more.
  if (IndexOfRow(row) < 0) return;
  tree->SendNotify(row, L"itemclick");
  const int index = IndexOfRow(row);
  if (index >= 0) SelectRow(index, true);
}

bool List::DoEvent(UiEvent& event) {
  switch (event.type) {
    case UiEventType::SetFocus:
    case UiEventType::KillFocus:
      Invalidate();
      return true;
    case UiEventType::KeyDown:
      return HandleKey(event);
    default:
      return VerticalLayout::DoEvent(event);
  }
}

bool List::HandleKey(const UiEvent& event) {
  const int count = GetRowCount();
  const bool checkList = CheckColumn() >= 0;
  if (checkList && event.key == kVkSpace) {
    if (ListRow* row = GetRow(focusedRow_)) ClickRow(row, true);
    return true;
  }
  const int from = checkList ? focusedRow_ : selected_;
  int to = from;
  switch (event.key) {
    case kVkUp:
      to = from < 0 ? 0 : from - 1;
      break;
    case kVkDown:
      to = from < 0 ? 0 : from + 1;
      break;
    case kVkHome:
      to = 0;
      break;
    case kVkEnd:
      to = count - 1;
      break;
    default:
      return false;
  }
  to = std::clamp(to, 0, count - 1);
  if (count == 0 || to == from) return true;
  if (checkList) {
    if (ListRow* old = GetRow(focusedRow_)) old->Invalidate();
    focusedRow_ = to;
    EnsureVisible(to);
    GetRow(to)->Invalidate();
  } else {
    ClickRow(GetRow(to), false);
  }
  return true;
}

void List::PaintBorder(Canvas& canvas) {
  VerticalLayout::PaintBorder(canvas);
  const WindowTree* tree = GetTree();
  if (IsFocused() && tree != nullptr && tree->IsFocusVisible()) {
    canvas.DrawRoundRect(rect_, Scaled(theme::kCornerRadius), theme::kAccent, std::max(2, Scaled(2)));
  }
}

AttributeResult List::ApplyAttribute(std::wstring_view name, std::wstring_view value) {
  if (NameEquals(name, L"rowtemplate")) {
    rowTemplate_ = std::wstring(value);
    return AttributeResult::Applied;
  }
  if (NameEquals(name, L"itemheight")) {
    auto height = ParseInt(value);
    if (!height || *height <= 0) return AttributeResult::BadValue;
    itemHeight_ = *height;
    NeedUpdate();
    return AttributeResult::Applied;
  }
  if (NameEquals(name, L"header")) {
    auto shown = ParseBool(value);
    if (!shown) return AttributeResult::BadValue;
    header_->SetVisible(*shown);
    return AttributeResult::Applied;
  }
  if (NameEquals(name, L"vscrollbar")) {
    auto flag = ParseBool(value);
    if (!flag) return AttributeResult::BadValue;
    body_->EnableScroll(*flag);
    return AttributeResult::Applied;
  }
  return VerticalLayout::ApplyAttribute(name, value);
}

bool List::AddFromLayout(std::unique_ptr<Control> child) {
  if (auto* header = dynamic_cast<ListHeader*>(child.get())) {
    // The layout's header takes the place of the empty one.
    const int index = IndexOf(header_);
    Remove(header_);
    header_ = header;
    AddAt(std::move(child), index);
    return true;
  }
  if (dynamic_cast<ListRow*>(child.get()) != nullptr) {
    std::unique_ptr<ListRow> row(static_cast<ListRow*>(child.release()));
    return AddRow(std::move(row)) != nullptr;
  }
  return false;
}

}  // namespace ui
