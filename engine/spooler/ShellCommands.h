// Programs started through the shell: the printer-installation applet (printui.dll run
// by rundll32.exe) and the certificate tool, plus the program-files folder.
//
// Threads: the printer commands (RunPrintUi and the three below it) are called from the
// UI thread and from the installation worker; they do not wait. InstallCertificate and
// RunDriverInstallApplet block until the started program ends and are called only from
// the installation worker.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/SystemOutcome.h"
#include "base/WindowHandle.h"

// ShellExecuteExW with verb "open", no directory, the process handle kept; waits for
// the process when asked and it was started. A success when the program was started. The
// process handle is always closed. The file is a program of the system directory, named
// without a path; it is started by its full path there.
SystemOutcome StartShellProgram(const std::wstring& file, const std::wstring& parameters, ui::WindowHandle owner,
                                int showState, bool wait);

// rundll32.exe with the template's "%s" replaced by the printer name, shown normally,
// not waited for. True whether or not it started.
bool RunPrintUi(std::wstring_view parameterTemplate, const std::wstring& printerName, ui::WindowHandle owner);
bool OpenPrintingPreferences(const std::wstring& printerName, ui::WindowHandle owner);
bool OpenPrinterProperties(const std::wstring& printerName, ui::WindowHandle owner);
bool PrintTestPage(const std::wstring& printerName, ui::WindowHandle owner);

// certutil.exe -addstore "TrustedPublisher", hidden, waited for. Always true.
bool InstallCertificate(const std::wstring& certificatePath, ui::WindowHandle owner);

// printui's /ia: installs the driver named /m from the INF /f; shown normally and waited
// for. A success when the applet started (its exit code is not read).
SystemOutcome RunDriverInstallApplet(const std::wstring& driverName, const std::wstring& infPath,
                                     ui::WindowHandle owner);

// The program-files folder (SHGetSpecialFolderPathW, 0x26, no creation): for this
// 32-bit process on 64-bit Windows the 32-bit one. Nothing when the call fails.
std::optional<std::wstring> ProgramFilesFolder();
