// A list with a header of columns and scrolling rows. The rows are data (ListItem): the
// list builds row controls only for the rows in view and a few beyond, from the row
// template of the skin (the list's "rowtemplate") or as plain rows of text columns, and
// fills them anew as the view scrolls. One row at a time is selected; rows may carry a
// check box (the header's "checkable" column). All rows have the height of the first
// built one (its fixed height, else "itemheight").
//
// Layout: <List rowtemplate="..." itemheight="30"><ListHeader><ListHeaderItem .../>
// </ListHeader></List>; ListRow elements inside a List are rows (their columns, check
// state and user data).
//
// Notifications: rows send "listitemchecked" and "itemclick" (ListRow.h); the list sends
// "itemselect" (wParam the new index, lParam the old one) when a click changes the
// selection, never for SelectRow without notify.
//
// Keyboard: the list takes the focus (Tab, or a click on a row). In a list without a
// check column the arrow keys, Home, End, Page Up and Page Down choose a row as a click
// on it would ("itemclick", then "itemselect"). In a list with a check column they move a
// focus mark over the rows instead, and Space toggles the marked row's check as a click
// on its check box does.
//
// Threads: UI thread only.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/controls/VerticalLayout.h"

namespace ui {

class ListHeader;
class ListRow;

// One row's data: column n's text (a template row shows the label "label" + n for each
// column given), its user data and its check.
struct ListItem {
  std::vector<std::wstring> columns;
  std::wstring userData;
  bool checked = false;
};

class List : public VerticalLayout {
 public:
  // Called whenever a row control takes a row, after the list filled in the row's data:
  // for the name, style and parts a row shows beyond its columns.
  using RowBinder = std::function<void(ListRow& row, int index)>;

  List();
  std::wstring_view GetClass() const override { return L"List"; }

  ListHeader* GetHeader() const { return header_; }

  // A new row at the end; gives its index.
  int AddItem(ListItem item);
  // A new row at the end and the control that shows it (see GetRow).
  ListRow* AddRow();
  const ListItem* GetItem(int index) const;
  void SetRowBinder(RowBinder binder);
  // The row template file for the rows built from now on ("rowtemplate"); empty: plain rows.
  void SetRowTemplate(std::wstring file);
  // Removes every row (the header stays) and clears the selection.
  void RemoveAll() override;
  int GetRowCount() const { return static_cast<int>(items_.size()); }
  // The control that shows row index; when none does, one without a place is filled for it
  // (built when no control is free). It shows that row until the list lays its rows out
  // and finds the row out of view. Columns, check and user data set on it go into the
  // row's data; the rest (name, style) stays with the control: set it in the binder.
  ListRow* GetRow(int index);
  // The row a control shows; -1 when it shows none of this list.
  int IndexOfRow(const ListRow* row) const;
  int GetCurSel() const { return selected_; }
  // Selects a row (-1: none) and scrolls it into view; "itemselect" only with notify.
  bool SelectRow(int index, bool notify = false);
  int GetItemHeight() const { return itemHeight_; }
  // The row under the keyboard's focus mark in a list with a check column; -1 for none.
  int GetFocusedRow() const { return focusedRow_; }
  // How many row controls exist (shown and kept for reuse).
  int GetBuiltRowCount() const;

  bool IsFocusable() const override { return IsEnabled(); }
  bool IsInput() const override { return IsEnabled(); }
  bool DoEvent(UiEvent& event) override;

  // The tree shows the row controls that show a row (those in view and the few beyond),
  // not a node per row of data: a node is a control, and a list of 10,000 ports keeps
  // about twenty. The keys and SelectRow scroll the chosen row into view, so it is always
  // there; the rows' coming and going is a ChildrenChanged of the list. The header is
  // left out, as each row's name carries its columns and the children are the rows only.
  AccessibleRole GetAccessibleRole() const override { return AccessibleRole::List; }
  std::wstring GetAccessibleName() const override;  // "accname", else the label before it

  // The column's span across a row, after the header's columns.
  Rect ColumnRect(int column, const Rect& row) const;
  int CheckColumn() const;  // the checkable column, or -1

  AttributeResult ApplyAttribute(std::wstring_view name, std::wstring_view value) override;
  bool AddFromLayout(std::unique_ptr<Control> child) override;

 protected:
  friend class ListRow;
  void OnRowPressed(ListRow* row, Point point);
  void PaintBorder(Canvas& canvas) override;
  ListItem* MutableItem(int index);

 private:
  class Body;
  friend class Body;

  void EnsureVisible(int index);
  bool HandleKey(const UiEvent& event);
  // A click on the row (on its check box with toggleCheck), from mouse or keyboard.
  void ClickRow(ListRow* row, bool toggleCheck);
  // A row control from the pool, or a new one.
  ListRow* TakeRowControl();
  ListRow* BuildRowControl();
  void Bind(ListRow& row, int index);
  // Binds and places the rows in view of the body's rectangle; the scroll position is
  // clamped to the rows first.
  void PlaceRows(const Rect& view, int scroll);
  int RowHeight();
  int RowsPerPage();

  ListHeader* header_ = nullptr;
  Body* body_ = nullptr;
  std::vector<ListItem> items_;
  RowBinder binder_;
  std::wstring rowTemplate_;
  int itemHeight_ = 30;
  int selected_ = -1;
  int focusedRow_ = -1;
  int pendingVisible_ = -1;   // to scroll into view once the rows are laid out
  unsigned generation_ = 0;   // counts RemoveAll, so a click can tell its row went
  bool layoutAsked_ = false;  // rows were added since the rows were last placed
};

}  // namespace ui
