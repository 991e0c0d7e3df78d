#include "shell/MainWindowHandle.h"

ui::WindowHandle& ProcessMainWindow() {
  // Never destroyed: workers may still read it while the process ends.
  static auto* const handle = new ui::WindowHandle(nullptr);
  return *handle;
}
