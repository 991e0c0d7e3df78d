// A list with a header of columns and scrolling rows. Rows come from a row template file
// of the skin (AddRow("listitemex.xml"), or the list's "rowtemplate") or are plain rows
// of text columns. One row at a time is selected; rows may carry a check box (the
// header's "checkable" column).
//
// Layout: <List rowtemplate="..." itemheight="30"><ListHeader><ListHeaderItem .../>
// </ListHeader></List>; ListRow elements inside a List are rows.
//
// Notifications: rows send "listitemchecked" and "itemclick" (ListRow.h); the list sends
// "itemselect" (wParam the new index, lParam the old one) when a click changes the
// selection, never for SelectRow without notify.
//
// Keyboard: the list takes the focus (Tab, or a click on a row). In a list without a
// check column the arrow keys, Home and End choose a row as a click on it would
// ("itemclick", then "itemselect"). In a list with a check column they move a focus mark
// over the rows instead, and Space toggles the marked row's check as a click on its
// check box does.
//
// Threads: UI thread only.
#pragma once

#include <memory>
#include <string>

#include "ui/controls/VerticalLayout.h"

namespace ui {

class ListHeader;
class ListRow;

class List : public VerticalLayout {
 public:
  List();
  std::wstring_view GetClass() const override { return L"List"; }

  ListHeader* GetHeader() const { return header_; }

  // A new row at the end: from the template file (the list's "rowtemplate" when empty),
  // or a plain row when there is neither.
  ListRow* AddRow(std::wstring_view templateFile = {});
  ListRow* AddRow(std::unique_ptr<ListRow> row);
  // Removes every row (the header stays) and clears the selection.
  void RemoveAll() override;
  int GetRowCount() const;
  ListRow* GetRow(int index) const;
  int IndexOfRow(const ListRow* row) const;
  int GetCurSel() const { return selected_; }
  // Selects a row (-1: none) and scrolls it into view; "itemselect" only with notify.
  bool SelectRow(int index, bool notify = false);
  int GetItemHeight() const { return itemHeight_; }
  // The row under the keyboard's focus mark in a list with a check column; -1 for none.
  int GetFocusedRow() const { return focusedRow_; }

  bool IsFocusable() const override { return IsEnabled(); }
  bool DoEvent(UiEvent& event) override;

  // The column's span across a row, after the header's columns.
  Rect ColumnRect(int column, const Rect& row) const;
  int CheckColumn() const;  // the checkable column, or -1

  AttributeResult ApplyAttribute(std::wstring_view name, std::wstring_view value) override;
  bool AddFromLayout(std::unique_ptr<Control> child) override;

 protected:
  friend class ListRow;
  void OnRowPressed(ListRow* row, Point point);
  void PaintBorder(Canvas& canvas) override;

 private:
  void EnsureVisible(int index);
  bool HandleKey(const UiEvent& event);
  // A click on the row (on its check box with toggleCheck), from mouse or keyboard.
  void ClickRow(ListRow* row, bool toggleCheck);

  ListHeader* header_ = nullptr;
  VerticalLayout* body_ = nullptr;
  std::wstring rowTemplate_;
  int itemHeight_ = 30;
  int selected_ = -1;
  int focusedRow_ = -1;
};

}  // namespace ui
