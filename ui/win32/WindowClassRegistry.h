// The window classes of the Windows host: one per toolkit class name ("MainWnd",
// "PopAbout" ...), registered on first use and unregistered when the registry goes.
// Windows build only.
//
// Threads: UI thread only.
#pragma once

#include "ui/win32/WindowsHeaders.h"

#include <map>
#include <string>

namespace ui {

class WindowClassRegistry {
 public:
  WindowClassRegistry(HINSTANCE instance, WNDPROC procedure);
  ~WindowClassRegistry();
  WindowClassRegistry(const WindowClassRegistry&) = delete;
  WindowClassRegistry& operator=(const WindowClassRegistry&) = delete;

  // Registers name unless it is registered already; false when the system refuses.
  bool Ensure(const std::wstring& name);
  HINSTANCE Instance() const { return instance_; }

 private:
  HINSTANCE instance_;
  WNDPROC procedure_;
  std::map<std::wstring, ATOM> registered_;  // only those this registry must unregister
};

}  // namespace ui
