#include "engine/spooler/SystemOperations.h"

#include "shell/Languages.h"

bool IsVersion62OrLater() {
  const auto version = GetWindowsVersion();
  if (!version) return true;
  // Compare the major version first: 10.0 is later than 6.2 although its minor is 0.
  if (version->major != 6) return version->major > 6;
  return version->minor >= 2;
}

std::wstring FormatSystemError(uint32_t code) {
  const uint16_t language = MessageLanguageId();
  auto text = SystemMessageText(code, language);
  // A language the system has no texts for would leave the reason out of a failure line.
  if (!text && language != 0) text = SystemMessageText(code, 0);
  if (!text) return {};
  return L"Code: " + std::to_wstring(code) + L" - " + *text;
}

std::wstring SystemErrorReason(uint32_t code) {
  std::wstring reason = FormatSystemError(code);
  while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r')) reason.pop_back();
  return reason.empty() ? L"Code: " + std::to_wstring(code) : reason;
}
