// The Windows host's answer to whether the system asks for high contrast, and its colours.
#include "ui/win32/HostWin32.h"

namespace ui {

namespace {

Argb SystemColor(int index) {
  const COLORREF color = GetSysColor(index);
  return 0xFF000000u | (static_cast<Argb>(GetRValue(color)) << 16) | (static_cast<Argb>(GetGValue(color)) << 8) |
         GetBValue(color);
}

}  // namespace

bool HostWin32::IsHighContrast() const {
  HIGHCONTRASTW setting{};
  setting.cbSize = sizeof(setting);
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(setting), &setting, 0) != FALSE &&
         (setting.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

SystemColors HostWin32::HighContrastColors() const {
  SystemColors colors;
  colors.window = SystemColor(COLOR_WINDOW);
  colors.windowText = SystemColor(COLOR_WINDOWTEXT);
  colors.highlight = SystemColor(COLOR_HIGHLIGHT);
  colors.highlightText = SystemColor(COLOR_HIGHLIGHTTEXT);
  colors.grayText = SystemColor(COLOR_GRAYTEXT);
  return colors;
}

}  // namespace ui
