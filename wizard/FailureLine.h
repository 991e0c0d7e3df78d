// The red line under a list whose reading failed, with the system's reason, so that an
// unanswered question does not pass for an empty list.
//
// Threads: the UI thread.
#pragma once

#include <cstdint>

namespace ui {
class Control;
}

// With a code other than 0 the label shows the key's text with the reason and is shown;
// with 0 it is hidden.
void ShowFailureLine(ui::Control* label, const wchar_t* key, uint32_t code);
