// A notification of a control: its type name ("click", "selectchanged", "itemclick",
// "itemselect", "textchanged", "listitemchecked", "windowinit"), the sending control and
// two values whose meaning the type gives ("listitemchecked": both hold the new check
// state, 1 or 0; "itemselect": wParam the new row index, lParam the old one).
//
// Threads: UI thread only. The sender lives at least until the dispatch has returned.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ui/core/Geometry.h"

namespace ui {

class Control;

struct TNotifyUI {
  std::wstring type;
  Control* sender = nullptr;
  uintptr_t wParam = 0;
  intptr_t lParam = 0;
  Point mouse;  // where the mouse was, for notifications caused by it

  bool Is(std::wstring_view typeName) const { return type == typeName; }
  // The sender's "name" and "userdata"; empty without a sender.
  std::wstring SenderName() const;
  std::wstring SenderUserData() const;
};

}  // namespace ui
