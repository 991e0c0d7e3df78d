// Synchronous window messages, the one way other threads change the user interface.
//
// Threads: SendWindowMessage may be called from any thread. The message is handled on the
// window's UI thread, messages from one sender in the order sent, and the sender waits
// until it has been handled. A send to a window that does not exist (never created or
// already destroyed) returns 0 at once without effect, so a worker never hangs because
// the user closed the program.
#pragma once

#include <cstdint>
#include <functional>

#include "base/WindowHandle.h"

namespace ui {

intptr_t SendWindowMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);

// Runs work on the thread that owns the window and waits for it: for calls that must stay
// on the UI thread in the Linux build (GTK), such as a message box shown for a worker. In
// the product the system allows them from any thread, so the work runs at once. Returns 0
// without running it when the window does not exist.
intptr_t RunOnWindowThread(WindowHandle window, const std::function<intptr_t()>& work);

}  // namespace ui
