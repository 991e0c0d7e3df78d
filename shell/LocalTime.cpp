#include "shell/LocalTime.h"

#include <cwchar>

std::wstring LogTimePrefix(const LocalTime& time) {
  wchar_t text[32];
  std::swprintf(text, 32, L"%02d:%02d:%02d.%03d : ", time.hour, time.minute, time.second, time.millisecond);
  return text;
}

std::wstring LogDatePrefix(const LocalTime& time) {
  wchar_t text[32];
  std::swprintf(text, 32, L"%04d-%02d-%02d ", time.year, time.month, time.day);
  return text;
}
