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

namespace {

// Rows built beyond each edge of the view, so that a wheel step mostly finds them filled.
constexpr int kMarginRows = 4;

}  // namespace

// The scrolled part of the list: its scroll bar spans every row, its children are the
// row controls, of which those in view are placed and shown.
class List::Body : public Container {
 public:
  explicit Body(List& list) : list_(list) {}
  std::wstring_view GetClass() const override { return L"ListBody"; }

  Rect View() const { return InnerRect(); }
  void ResetScroll() { vbar_.SetPos(0); }
  void Relayout() {
    SetPos(rect_);
    Invalidate();
  }

  void SetPos(const Rect& rect) override {
    Control::SetPos(rect);
    const Rect view = InnerRect();
    const int height = list_.RowHeight();
    if (scrollable_) {
      vbar_.SetRange(list_.GetRowCount() * height, view.Height());
      vbar_.SetTrack({rect_.right - Scaled(8), view.top, rect_.right, view.bottom});
      const int wanted = list_.pendingVisible_;
      if (wanted >= 0 && wanted < list_.GetRowCount() && view.Height() > 0) {
        const int top = wanted * height;
        if (top < vbar_.Pos()) {
          vbar_.SetPos(top);
        } else if (top + height > vbar_.Pos() + view.Height()) {
          vbar_.SetPos(top + height - view.Height());
        }
      }
    }
    if (view.Height() > 0) list_.pendingVisible_ = -1;
    list_.PlaceRows(view, scrollable_ ? vbar_.Pos() : 0);
  }

 private:
  List& list_;
};

List::List() {
  header_ = Add(std::make_unique<ListHeader>());
  body_ = Add(std::make_unique<Body>(*this));
  body_->EnableScroll(true);
}

int List::AddItem(ListItem item) {
  items_.push_back(std::move(item));
  // One layout for many rows added at once.
  if (!layoutAsked_) {
    layoutAsked_ = true;
    NeedUpdate();
  }
  return GetRowCount() - 1;
}

ListRow* List::AddRow() {
  return GetRow(AddItem({}));
}

const ListItem* List::GetItem(int index) const {
  return index >= 0 && index < GetRowCount() ? &items_[index] : nullptr;
}

ListItem* List::MutableItem(int index) {
  return index >= 0 && index < GetRowCount() ? &items_[index] : nullptr;
}

void List::SetRowBinder(RowBinder binder) {
  binder_ = std::move(binder);
  // The rows shown so far were bound without it.
  for (int i = 0; i < body_->GetChildCount(); ++i) static_cast<ListRow*>(body_->GetChildAt(i))->index_ = -1;
  NeedUpdate();
}

void List::SetRowTemplate(std::wstring file) {
  if (file == rowTemplate_) return;
  rowTemplate_ = std::move(file);
  // Controls of the old template go; the rows are built anew when next shown.
  body_->Container::RemoveAll();
  NeedUpdate();
}

std::wstring List::GetAccessibleName() const {
  if (!GetRawAccessibleName().empty()) return VerticalLayout::GetAccessibleName();
  return NameFromLabelBefore(*this);
}

void List::RemoveAll() {
  const bool hadRows = !items_.empty();
  items_.clear();
  selected_ = -1;
  focusedRow_ = -1;
  pendingVisible_ = -1;
  ++generation_;
  // The controls stay for the next rows.
  for (int i = 0; i < body_->GetChildCount(); ++i) static_cast<ListRow*>(body_->GetChildAt(i))->index_ = -1;
  body_->ResetScroll();
  NeedUpdate();
  if (hadRows) RaiseAccessibilityEvent(AccessibleEvent::ChildrenChanged);
}

int List::GetBuiltRowCount() const {
  return body_->GetChildCount();
}

ListRow* List::BuildRowControl() {
  std::unique_ptr<ListRow> row;
  if (!rowTemplate_.empty()) {
    if (WindowTree* tree = GetTree()) {
      std::unique_ptr<Control> built = LayoutBuilder(*tree).BuildTemplate(rowTemplate_);
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
  return body_->Add(std::move(row));
}

ListRow* List::TakeRowControl() {
  for (int i = 0; i < body_->GetChildCount(); ++i) {
    auto* row = static_cast<ListRow*>(body_->GetChildAt(i));
    if (row->index_ < 0) return row;
  }
  return BuildRowControl();
}

void List::Bind(ListRow& row, int index) {
  row.index_ = index;
  row.Show(items_[index]);
  row.SetSelectedByList(index == selected_);
  if (binder_) binder_(row, index);
}

ListRow* List::GetRow(int index) {
  if (index < 0 || index >= GetRowCount()) return nullptr;
  for (int i = 0; i < body_->GetChildCount(); ++i) {
    auto* row = static_cast<ListRow*>(body_->GetChildAt(i));
    if (row->index_ == index) return row;
  }
  // Not shown yet: a control without a place, placed at the next layout if the row is in view then.
  ListRow* spare = TakeRowControl();
  spare->SetPos({});
  Bind(*spare, index);
  NeedUpdate();
  return spare;
}

int List::IndexOfRow(const ListRow* row) const {
  // Only a control of this list is read: a pointer from an older notification may be gone.
  return body_->IndexOf(row) >= 0 ? row->index_ : -1;
}

int List::RowHeight() {
  if (body_->GetChildCount() == 0 && GetRowCount() > 0) Bind(*TakeRowControl(), 0);
  if (body_->GetChildCount() > 0) {
    Control* row = body_->GetChildAt(0);
    const Rect margin = Scaled(row->GetPadding());
    const int height = row->ClampSize({0, row->EstimateSize({body_->View().Width(), body_->View().Height()}).cy}).cy;
    if (height > 0) return height + margin.top + margin.bottom;
  }
  return Scaled(itemHeight_);
}

int List::RowsPerPage() {
  return std::max(1, body_->View().Height() / std::max(1, RowHeight()));
}

void List::PlaceRows(const Rect& view, int scroll) {
  layoutAsked_ = false;
  const int count = GetRowCount();
  const int height = std::max(1, RowHeight());
  const int first = std::max(0, scroll / height - kMarginRows);
  const int last = std::min(count, (scroll + view.Height()) / height + 1 + kMarginRows);
  std::vector<ListRow*> placed(static_cast<size_t>(std::max(0, last - first)), nullptr);
  std::vector<ListRow*> free;
  bool rowsChanged = false;
  for (int i = 0; i < body_->GetChildCount(); ++i) {
    auto* row = static_cast<ListRow*>(body_->GetChildAt(i));
    const int index = row->index_;
    if (index >= first && index < last && placed[index - first] == nullptr) {
      placed[index - first] = row;
    } else {
      free.push_back(row);
    }
  }
  for (int index = first; index < last; ++index) {
    ListRow*& row = placed[index - first];
    if (row == nullptr) {
      if (free.empty()) {
        row = BuildRowControl();
      } else {
        row = free.back();
        free.pop_back();
      }
      Bind(*row, index);
      rowsChanged = true;
    }
    const Rect margin = Scaled(row->GetPadding());
    const int top = view.top - scroll + index * height;
    row->SetPos({view.left + margin.left, top + margin.top, view.right - margin.right, top + height - margin.bottom});
  }
  // Spare controls stay shown but take no room: hiding one would lay the window out anew.
  for (ListRow* row : free) {
    rowsChanged = rowsChanged || row->index_ >= 0;
    row->index_ = -1;
    row->SetPos({});
  }
  if (rowsChanged) RaiseAccessibilityEvent(AccessibleEvent::ChildrenChanged);
}

bool List::SelectRow(int index, bool notify) {
  if (index < -1 || index >= GetRowCount()) return false;
  const int previous = selected_;
  if (previous == index) return true;
  selected_ = index;
  for (int i = 0; i < body_->GetChildCount(); ++i) {
    auto* row = static_cast<ListRow*>(body_->GetChildAt(i));
    if (row->index_ == previous || row->index_ == index) row->SetSelectedByList(row->index_ == index);
  }
  if (index >= 0) EnsureVisible(index);
  for (int i = 0; i < body_->GetChildCount(); ++i) {
    if (auto* row = static_cast<ListRow*>(body_->GetChildAt(i)); row->index_ == index) {
      row->RaiseAccessibilityEvent(AccessibleEvent::SelectionChanged);
    }
  }
  if (notify) Notify(L"itemselect", static_cast<uintptr_t>(index), previous);
  return true;
}

void List::EnsureVisible(int index) {
  pendingVisible_ = index;
  // Before the first layout the row is scrolled to when the list gets its place.
  if (!body_->GetPos().IsEmpty()) body_->Relayout();
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
  const int index = IndexOfRow(row);
  if (tree == nullptr || index < 0) return;
  const unsigned generation = generation_;
  if (toggleCheck) {
    const bool checked = !row->IsChecked();
    row->SetChecked(checked);
    tree->SendNotify(row, L"listitemchecked", checked ? 1 : 0, checked ? 1 : 0);
  }
  // A handler may have rebuilt the list; a row that left it says no more.
  if (generation != generation_ || IndexOfRow(row) != index) return;
  tree->SendNotify(row, L"itemclick");
  if (generation == generation_) SelectRow(index, true);
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
    case kVkPrior:
      to = from < 0 ? 0 : from - RowsPerPage();
      break;
    case kVkNext:
      to = from < 0 ? 0 : from + RowsPerPage();
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
    focusedRow_ = to;
    EnsureVisible(to);
    body_->Invalidate();
  } else {
    EnsureVisible(to);
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
    SetRowTemplate(std::wstring(value));
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
  if (auto* row = dynamic_cast<ListRow*>(child.get())) {
    AddItem({row->columns_, row->GetUserData(), row->IsChecked()});
    return true;
  }
  return false;
}

}  // namespace ui
