// System message boxes as this program shows them: owned by the main window, the text of
// the current language, the caption of "tip.dlgtitle", the information icon.
//
// Threads: any. A worker's box blocks that worker until the user answers; in the Linux
// build the box itself runs on the UI thread.
#pragma once

#include <functional>
#include <string>

#include "base/WindowHandle.h"

constexpr unsigned kMessageBoxNotice = 0x40;    // MB_ICONINFORMATION
constexpr unsigned kMessageBoxQuestion = 0x41;  // MB_OKCANCEL | MB_ICONINFORMATION
constexpr int kMessageBoxOk = 1;                // IDOK
constexpr int kMessageBoxCancel = 2;            // IDCANCEL

// A notice; the answer is not used.
void ShowNotice(const std::wstring& text);
// The same, owned by the given main window (workers are handed theirs).
void ShowNotice(ui::WindowHandle owner, const std::wstring& text);
// A question with OK and Cancel; true only when the user chose OK.
bool AskQuestion(const std::wstring& text);

// A program without windows (the console program) answers the boxes itself: with an
// answerer set, every box goes to it instead of the screen, and its return value is the
// button chosen. An empty function shows boxes again. Set before any worker runs.
using MessageBoxAnswerer = std::function<int(const std::wstring& text, unsigned flags)>;
void SetMessageBoxAnswerer(MessageBoxAnswerer answerer);
