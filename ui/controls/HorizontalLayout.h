// Stacks its children from left to right.
//
// Threads: UI thread only.
#pragma once

#include "ui/core/Container.h"

namespace ui {

class HorizontalLayout : public Container {
 public:
  std::wstring_view GetClass() const override { return L"HorizontalLayout"; }
  void SetPos(const Rect& rect) override;
};

}  // namespace ui
