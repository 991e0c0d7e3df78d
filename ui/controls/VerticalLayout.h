// Stacks its children from top to bottom; "vscrollbar"="true" scrolls them.
//
// Threads: UI thread only.
#pragma once

#include "ui/core/Container.h"

namespace ui {

class VerticalLayout : public Container {
 public:
  std::wstring_view GetClass() const override { return L"VerticalLayout"; }
  void SetPos(const Rect& rect) override;
};

}  // namespace ui
