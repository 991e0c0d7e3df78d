// System information, error texts and sleeping. Failures of the operations travel as
// SystemOutcome values; the thread's last error is read only inside the backends.
//
// Threads: any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct WindowsVersion {
  uint32_t major = 0;
  uint32_t minor = 0;
  uint32_t build = 0;
};

// GetVersionExW with the 284-byte extended version record; nothing when the call fails.
std::optional<WindowsVersion> GetWindowsVersion();
// Windows 8 (6.2) or later; also true when the version cannot be read.
bool IsVersion62OrLater();
// True on 64-bit Windows: the 32-bit product runs there under WOW64; a 64-bit build
// runs nowhere else. When the WOW64 question fails, the processor of the native system
// answers: a wrong guess would list, install and remove drivers of the other environment.
bool Is64BitWindows();
// True when the process runs with an administrator's rights: its token is elevated (or,
// where Windows has no elevation, it belongs to BUILTIN\Administrators). False when the
// question cannot be answered.
bool RunningAsAdministrator();

// "Code: " + the code in decimal + " - " + the system's text for it (with its line
// break) in the message language of the program (Languages.h). When the system has no
// text in that language, its default language is asked; empty when no text exists.
std::wstring FormatSystemError(uint32_t code);
// FormatSystemError without its line break, to end a line of the program's own; "Code: "
// and the code alone when the system has no text for it.
std::wstring SystemErrorReason(uint32_t code);
// The system's own text for a code in a language (0: the system's default), or nothing.
std::optional<std::wstring> SystemMessageText(uint32_t code, uint16_t languageId);

// The file-name part of a path as PathFindFileNameW finds it; empty for an empty path.
std::wstring FileNameOfPath(std::wstring_view path);

// Sleep and SleepEx. SleepExMs returns true when it was ended early by a completion
// routine. The simulated machine may scale these delays (to zero in tests).
void SleepMs(uint32_t milliseconds);
bool SleepExMs(uint32_t milliseconds, bool alertable);
