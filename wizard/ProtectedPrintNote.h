// The install summary page's note on Windows protected print mode. The page keeps Next
// enabled: the user may still try, and the driver stage reports what Windows answers.
//
// Threads: the UI thread (the page builds its text there).
#pragma once

#include <string>

// The note in the current language when the mode is on, else empty.
std::wstring ProtectedPrintSummaryNote();
