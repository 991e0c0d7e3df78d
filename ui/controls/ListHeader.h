// The header of a list: a row of ListHeaderItem columns. The rows of the list lay their
// own text columns and the check box under these columns. Without columns it is hidden.
//
// Threads: UI thread only.
#pragma once

#include "ui/controls/HorizontalLayout.h"

namespace ui {

class ListHeaderItem;

class ListHeader : public HorizontalLayout {
 public:
  ListHeader();
  std::wstring_view GetClass() const override { return L"ListHeader"; }

  ListHeaderItem* GetColumn(int index) const;
  bool AddFromLayout(std::unique_ptr<Control> child) override;
  Size EstimateSize(Size available) override;
  // Not in the accessible tree: the list's children are its rows (List.h).
  bool IsAccessiblyShown() const override { return false; }

 protected:
  void OnChildAdded(Control* child) override;
  void PaintBorder(Canvas& canvas) override;
};

}  // namespace ui
