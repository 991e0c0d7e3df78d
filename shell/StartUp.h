// The platform-neutral steps of start-up and shut-down; the entry points of the two
// builds call them in order around their own platform steps (COM, OLE, the window).
#pragma once

#include <string>

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

// Steps 6 to 8 of start-up and the shut-down: creates the main window, centres it, runs the
// message loop until the window is closed, deletes it and terminates the toolkit. Returns
// the exit code (a main layout that cannot be built ends the process with code 1 before).
int RunMainWindow();
