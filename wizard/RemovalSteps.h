// The summary and start steps of the removal wizard, and the selection helpers they share
// with the list panels (RemovalPage.cpp). Names in the selections compare whole and
// case-sensitive.
//
// Threads: UI thread.
#pragma once

#include <string>
#include <vector>

// Step 2: the Next button labelled for the start (disabled with nothing chosen), the
// printers of chosen drivers added to the choice, and the summary text.
void BuildRemovalSummary();
// Step 3: the worker thread on copies of the choice; the choice is emptied. It takes the
// installation lock that Next reserved (RunLockStep.h), or takes it now; when another run
// holds it the user has been told, nothing changes and the result is false.
bool StartRemoval();

// Adds a name at the end unless present; removes it wherever it is.
void AddSelectedName(std::vector<std::wstring>& names, const std::wstring& name);
void RemoveSelectedName(std::vector<std::wstring>& names, const std::wstring& name);
bool HasSelectedName(const std::vector<std::wstring>& names, const std::wstring& name);
