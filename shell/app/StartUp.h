// The platform-neutral steps of start-up and shut-down; the entry points of the two
// builds call them in order around their own platform steps (COM, OLE, the window).
#pragma once

#include <memory>
#include <string>

class CMainWnd;

// Selects the package as the source of skin files, sets the resource path (executable
// directory + "skin\Skelvane\"), opens the embedded package and loads "res.xml" from it.
// A missing, empty or damaged package is not reported here: start-up goes on.
void OpenResourcePackage(const std::wstring& executableDirectory);

// Fills the language table of the wizard context (its first use creates the context).
void FillContextLanguageTable();

// Releases the toolkit's global resources, the open package included.
void TerminateToolkit();

// The directory of the running executable, up to and including its last separator.
std::wstring ExecutableDirectory();

// The start-up after a host is installed, the same for the program, the tools and the
// benchmarks: opens the package, fills the language table, creates the main window and
// centres it. Null when the window could not be made.
std::unique_ptr<CMainWnd> StartMainWindow();

// The whole program after a host is installed: StartMainWindow, the message loop until the
// window is closed, then the window deleted and the toolkit terminated. Returns the exit
// code (a main layout that cannot be built ends the process with code 1 before).
int RunMainWindow();
