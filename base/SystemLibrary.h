// Libraries and programs of the system directory only. The product runs elevated and is
// started from folders that anyone may drop files into (downloads, the current directory),
// so nothing it loads or starts is looked for anywhere else. Windows build only.
//
// Threads: any thread. RestrictLibrarySearch is called first thing in each entry point,
// before any other thread or library load.
#pragma once

#include <string>

#include "base/UniqueWin32Handle.h"

// Library loads without a path search only the system directory from now on, and the
// current directory leaves the search. Where the system lacks the call (Windows 7 without
// its update) only the current directory is taken out.
void RestrictLibrarySearch();

// The library of that name from the system directory, or null with the system's error.
LibraryHandle LoadSystemLibrary(const wchar_t* name);

// The full path of a file of the system directory (for a 32-bit program under WOW64 the
// 32-bit one); empty when the directory cannot be read.
std::wstring SystemDirectoryFile(const std::wstring& name);
