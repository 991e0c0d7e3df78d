#include <objbase.h>
#include <ole2.h>
#include <windows.h>

#include "shell/StartUp.h"

// Command line and show flag are ignored; there is no single-instance guard.
int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE, PWSTR, int) {
  if (FAILED(CoInitialize(nullptr))) return 0;
  OleInitialize(nullptr);

  OpenResourcePackage(ExecutableDirectory());
  FillContextLanguageTable();

  TerminateToolkit();
  OleUninitialize();
  CoUninitialize();
  return 0;
}
