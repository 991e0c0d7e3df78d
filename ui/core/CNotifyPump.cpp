#include "ui/core/CNotifyPump.h"

#include "ui/core/Control.h"

namespace ui {

bool CNotifyPump::AddVirtualWnd(std::wstring name, CNotifyPump* pump) {
  if (name.empty() || pump == nullptr) return false;
  return virtualWnds_.emplace(std::move(name), pump).second;
}

bool CNotifyPump::RemoveVirtualWnd(std::wstring_view name) {
  auto it = virtualWnds_.find(name);
  if (it == virtualWnds_.end()) return false;
  virtualWnds_.erase(it);
  return true;
}

void CNotifyPump::NotifyPump(TNotifyUI& msg) {
  if (msg.sender != nullptr) {
    const std::wstring name = msg.sender->GetVirtualWnd();
    if (!name.empty()) {
      if (auto it = virtualWnds_.find(name); it != virtualWnds_.end()) {
        it->second->LoopDispatch(msg);
        return;
      }
    }
  }
  LoopDispatch(msg);
}

bool CNotifyPump::LoopDispatch(TNotifyUI& msg) {
  auto it = handlers_.find(msg.type);
  if (it == handlers_.end()) return false;
  it->second(msg);
  return true;
}

void CNotifyPump::OnNotify(std::wstring type, Handler handler) {
  handlers_[std::move(type)] = std::move(handler);
}

}  // namespace ui
