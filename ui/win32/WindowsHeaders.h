// <windows.h> for the toolkit's Windows files. It defines DrawText as DrawTextW, which
// would rename Canvas::DrawText in every file that sees both; include this header instead
// of <windows.h> wherever the canvas is in sight. Windows build only.
#pragma once

#include <windows.h>

#undef DrawText
