// Sees key messages of a window (kWmKeyDown, kWmKeyUp, kWmSysKeyDown, kWmSysKeyUp with
// the virtual key as wParam) before the window's handlers and its controls. Setting
// handled swallows the message.
//
// Threads: UI thread only.
#pragma once

#include <cstdint>

namespace ui {

class IMessageFilterUI {
 public:
  virtual ~IMessageFilterUI() = default;
  virtual intptr_t MessageHandler(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled) = 0;
};

}  // namespace ui
