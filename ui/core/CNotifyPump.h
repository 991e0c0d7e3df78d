// Routes notifications by type name to handlers (the notify map), and on to virtual
// windows: when a control's "virtualwnd" (its own or an ancestor's) names a pump added
// with AddVirtualWnd, that pump's map handles the control's notifications instead.
//
// Threads: UI thread only.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "ui/core/TNotifyUI.h"

namespace ui {

class CNotifyPump {
 public:
  CNotifyPump() = default;
  virtual ~CNotifyPump() = default;
  CNotifyPump(const CNotifyPump&) = delete;
  CNotifyPump& operator=(const CNotifyPump&) = delete;

  // False when the name is taken. The pump must outlive its registration.
  bool AddVirtualWnd(std::wstring name, CNotifyPump* pump);
  bool RemoveVirtualWnd(std::wstring_view name);
  // The sender's virtual window when one is registered here, else this pump's own map.
  void NotifyPump(TNotifyUI& msg);
  // This pump's own handler for the type; true when one ran.
  bool LoopDispatch(TNotifyUI& msg);

 protected:
  using Handler = std::function<void(TNotifyUI&)>;
  // The notify map: one handler per type name; a later one replaces the earlier.
  void OnNotify(std::wstring type, Handler handler);

 private:
  std::map<std::wstring, Handler, std::less<>> handlers_;
  std::map<std::wstring, CNotifyPump*, std::less<>> virtualWnds_;
};

}  // namespace ui
