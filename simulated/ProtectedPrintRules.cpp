#include "simulated/ProtectedPrintRules.h"

#include "base/WideText.h"

bool IsInboxDriverName(std::wstring_view driverName) {
  // The class driver that the mode relies on, and the inbox drivers of a fresh machine.
  for (const std::wstring_view inbox :
       {L"Microsoft IPP Class Driver", L"Microsoft Print To PDF", L"Microsoft XPS Document Writer v4",
        L"Microsoft Software Printer Driver", L"Remote Desktop Easy Print"}) {
    if (EqualsNoCase(driverName, inbox)) return true;
  }
  return false;
}

uint32_t ProtectedPrintCheck(const MachineSettings& settings, std::wstring_view driverName) {
  if (!settings.protectedPrintMode || IsInboxDriverName(driverName)) return 0;
  return kProtectedPrintRefusal;
}
