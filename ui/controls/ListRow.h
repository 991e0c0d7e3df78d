// One row of a List. A row built from a template file holds that file's controls, and
// its column n is the label named "label" + n (hidden until the row has that column).
// In a list, a row control shows one row's ListItem at a time and is filled anew as the
// list scrolls; what is set on it (columns, check, user data) goes into that item. A plain row keeps its column texts
// itself and draws them under the header's columns, with a check box in the header's checkable column. A row's radio or
// check options follow its selection.
//
// The row takes the mouse for everything in it: a press sends "listitemchecked" (both
// values the new check state) when it falls on the check box, then "itemclick", then
// selects the row ("itemselect" from the list). The sender of both is the row, so its
// name and user data tell the page which list and which entry it is.
//
// Threads: UI thread only.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ui/controls/HorizontalLayout.h"

namespace ui {

class List;
struct ListItem;

class ListRow : public HorizontalLayout {
 public:
  std::wstring_view GetClass() const override { return L"ListRow"; }

  List* GetOwner() const;
  int GetIndex() const;  // its position in the list; -1 when in none

  // Text and tooltip of column n; shows that column's label when the row has one.
  void SetColumnText(int column, std::wstring text);
  std::wstring GetColumnText(int column) const;
  bool IsChecked() const { return checked_; }
  void SetChecked(bool checked);  // no notification
  bool IsSelected() const { return selected_; }
  // Also into the shown item; through a Control pointer only the control keeps it.
  void SetUserData(std::wstring data);

  AttributeResult ApplyAttribute(std::wstring_view name, std::wstring_view value) override;
  Size EstimateSize(Size available) override;
  bool DoEvent(UiEvent& event) override;
  bool TakesChildMouse() const override { return true; }
  bool AcceptsMouse() const override { return true; }

  // A list item named by its columns, which speaks for its parts; a spare control that
  // shows no row is not in the tree. Its action is a click on it, or on its check box in a
  // list with a check column (as Space there).
  AccessibleRole GetAccessibleRole() const override { return AccessibleRole::ListItem; }
  std::wstring GetAccessibleName() const override;
  uint32_t GetAccessibleStates() const override;
  AccessibleAction GetDefaultAction() const override;
  bool DoDefaultAction() override;
  bool IsAccessiblyShown() const override { return IsVisible() && index_ >= 0; }
  bool ExposesAccessibleChildren() const override { return false; }

 protected:
  friend class List;
  void SetSelectedByList(bool selected);
  // Shows an item: its columns, check and user data.
  void Show(const ListItem& item);
  void PaintBackground(Canvas& canvas) override;
  void PaintContent(Canvas& canvas, const Rect& dirty) override;

 private:
  // The item of the owning list that this control shows, when it shows one.
  ListItem* BoundItem() const;
  void ShowColumn(int column, std::wstring text);
  void HideColumn(int column);

  std::vector<std::wstring> columns_;
  int index_ = -1;  // the row of the list it shows; -1: none
  int shownColumns_ = 0;
  bool checked_ = false;
  bool selected_ = false;
  std::optional<Argb> hotBkColor_;
  std::optional<Argb> selectedBkColor_;
  std::optional<Argb> textColor_;
};

}  // namespace ui
