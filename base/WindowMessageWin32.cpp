#include <windows.h>

#include "base/WindowMessage.h"

namespace ui {

intptr_t SendWindowMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  // SendMessageW to a destroyed window fails at once with 0.
  if (window == nullptr) return 0;
  return static_cast<intptr_t>(SendMessageW(window, message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam)));
}

intptr_t RunOnWindowThread(WindowHandle window, const std::function<intptr_t()>& work) {
  if (window == nullptr || !IsWindow(window)) return 0;
  return work();
}

}  // namespace ui
