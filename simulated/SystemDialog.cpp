#include "simulated/SystemDialog.h"

#include "ui/core/CWindowWnd.h"
#include "ui/core/SystemConstants.h"

bool SystemDialog::RunModal(ui::WindowHandle owner, const std::wstring& title, int width, int height) {
  if (owner == nullptr || ui::CWindowWnd::FromHandle(owner) == nullptr) return false;
  if (Create(owner, title, ui::kWsPopup | ui::kWsVisible | ui::kWsCaption | ui::kWsSysMenu, 0,
             ui::Rect{0, 0, width, height}) == nullptr) {
    return false;
  }
  CenterWindow();
  ShowModal();
  return true;
}

intptr_t SystemDialog::MessageHandler(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled) {
  if (message == ui::kWmKeyDown && wParam == ui::kVkEscape) {
    handled = true;
    Close(0);
    return 0;
  }
  return WindowImplBase::MessageHandler(message, wParam, lParam, handled);
}
