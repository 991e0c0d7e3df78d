#include <windows.h>

#include <objbase.h>

#include <string>
#include <vector>

#include "base/SystemLibrary.h"
#include "shell/console/ConsoleProgram.h"

int wmain(int argc, wchar_t** argv) {
  // Before anything loads a library: deployment tools run this elevated from any folder.
  RestrictLibrarySearch();
  // The shell calls of the installation (the printer applet, the test page) want COM.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::vector<std::wstring> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
  const int code = RunConsoleProgram(arguments, StandardStreams());
  if (SUCCEEDED(com)) CoUninitialize();
  return code;
}
