#include "ui/core/TNotifyUI.h"

#include "ui/core/Control.h"

namespace ui {

std::wstring TNotifyUI::SenderName() const {
  return sender != nullptr ? sender->GetName() : std::wstring();
}

std::wstring TNotifyUI::SenderUserData() const {
  return sender != nullptr ? sender->GetUserData() : std::wstring();
}

}  // namespace ui
