#include "engine/ProtectedPrintWarning.h"

#include "base/TextTable.h"
#include "engine/spooler/ProtectedPrintMode.h"
#include "shell/LogLines.h"

bool WarnIfProtectedPrintMode(ui::WindowHandle mainWindow) {
  if (!DetectProtectedPrintMode().enabled) return false;
  AppendInstallLine(mainWindow, GetText(L"protectedprint.installline"), true, false);
  return true;
}

std::wstring ProtectedPrintRefusalText() {
  if (!DetectProtectedPrintMode().enabled) return {};
  return GetText(L"protectedprint.console");
}
