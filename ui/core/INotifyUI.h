// Receives every notification of the controls of one window (WindowTree::AddNotifier).
//
// Threads: UI thread only.
#pragma once

#include "ui/core/TNotifyUI.h"

namespace ui {

class INotifyUI {
 public:
  virtual ~INotifyUI() = default;
  virtual void Notify(TNotifyUI& msg) = 0;
};

}  // namespace ui
