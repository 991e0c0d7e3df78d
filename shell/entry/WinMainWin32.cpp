#include "ui/win32/WindowsHeaders.h"

#include <objbase.h>
#include <ole2.h>

#include "base/SystemLibrary.h"
#include "shell/app/StartUp.h"
#include "ui/win32/HostWin32.h"

// Command line and show flag are ignored; there is no single-instance guard.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // Before anything loads a library: the program runs elevated from any folder.
  RestrictLibrarySearch();
  if (FAILED(CoInitialize(nullptr))) return 0;
  OleInitialize(nullptr);
  ui::InstallHost(ui::CreateWin32Host(instance));

  const int code = RunMainWindow();

  OleUninitialize();
  CoUninitialize();
  return code;
}
