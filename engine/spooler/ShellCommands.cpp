#include "engine/spooler/ShellCommands.h"

#include "base/WideText.h"

namespace {
constexpr int kShowNormal = 1;
constexpr int kShowHidden = 0;
}  // namespace

bool RunPrintUi(std::wstring_view parameterTemplate, const std::wstring& printerName, ui::WindowHandle owner) {
  // A start that fails is silent: the applet would have shown its own window anyway.
  StartShellProgram(L"rundll32.exe", FormatText(parameterTemplate, printerName), owner, kShowNormal, false);
  return true;
}

bool OpenPrintingPreferences(const std::wstring& printerName, ui::WindowHandle owner) {
  return RunPrintUi(L" printui.dll, PrintUIEntry /e /n\"%s\" ", printerName, owner);
}

bool OpenPrinterProperties(const std::wstring& printerName, ui::WindowHandle owner) {
  return RunPrintUi(L" printui.dll, PrintUIEntry /p /n\"%s\" ", printerName, owner);
}

bool PrintTestPage(const std::wstring& printerName, ui::WindowHandle owner) {
  return RunPrintUi(L" printui.dll, PrintUIEntry /k /n\"%s\" ", printerName, owner);
}

bool InstallCertificate(const std::wstring& certificatePath, ui::WindowHandle owner) {
  StartShellProgram(L"certutil.exe", FormatText(L"-addstore \"TrustedPublisher\" \"%s\"", certificatePath), owner,
                    kShowHidden, true);
  return true;
}

SystemOutcome RunDriverInstallApplet(const std::wstring& driverName, const std::wstring& infPath,
                                     ui::WindowHandle owner) {
  const std::wstring parameters = L"printui.dll, PrintUIEntry /ia /m \"" + driverName + L"\" /f \"" + infPath + L"\"";
  return StartShellProgram(L"rundll32.exe", parameters, owner, kShowNormal, true);
}
