#include "ui/win32/WindowClassRegistry.h"

namespace ui {

WindowClassRegistry::WindowClassRegistry(HINSTANCE instance, WNDPROC procedure)
    : instance_(instance), procedure_(procedure) {}

WindowClassRegistry::~WindowClassRegistry() {
  // Fails quietly for a class that still has windows; the process end removes it.
  for (const auto& [name, atom] : registered_) UnregisterClassW(name.c_str(), instance_);
}

bool WindowClassRegistry::Ensure(const std::wstring& name) {
  if (registered_.count(name) != 0) return true;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  // The toolkit draws no frame: the system's drop shadow marks the window's edge.
  windowClass.style = CS_DBLCLKS | CS_DROPSHADOW;
  windowClass.lpfnWndProc = procedure_;
  windowClass.hInstance = instance_;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(1));  // null when the program has none
  windowClass.lpszClassName = name.c_str();
  const ATOM atom = RegisterClassExW(&windowClass);
  if (atom == 0) {
    // Another registry of this process (an earlier host) still holds it: same procedure.
    if (GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    return GetClassInfoExW(instance_, name.c_str(), &existing) != 0 && existing.lpfnWndProc == procedure_;
  }
  registered_.emplace(name, atom);
  return true;
}

}  // namespace ui
