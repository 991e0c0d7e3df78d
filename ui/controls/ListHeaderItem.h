// One column of a list header: its title ("text", usually with "resourcetext"), its
// "width", and "checkable"="true" for the column in which rows show a check box.
//
// Threads: UI thread only.
#pragma once

#include "ui/controls/Label.h"

namespace ui {

class ListHeaderItem : public Label {
 public:
  ListHeaderItem();
  std::wstring_view GetClass() const override { return L"ListHeaderItem"; }

  bool IsCheckable() const { return checkable_; }
  void SetCheckable(bool on);

  AttributeResult ApplyAttribute(std::wstring_view name, std::wstring_view value) override;

 protected:
  Argb CurrentTextColor() const override;

 private:
  bool checkable_ = false;
};

}  // namespace ui
