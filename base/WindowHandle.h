// The handle of a top-level window: HWND in the product; in the Linux build a token that
// the message bus hands out for each window it delivers messages to.
#pragma once

#include <cstdint>

#ifdef _WIN32
struct HWND__;
namespace ui {
using WindowHandle = HWND__*;
}
#else
namespace ui {
struct WindowToken;
using WindowHandle = WindowToken*;
}  // namespace ui
#endif
