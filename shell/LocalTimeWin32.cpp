#include <windows.h>

#include "shell/LocalTime.h"

LocalTime CurrentLocalTime() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return {now.wHour, now.wMinute, now.wSecond, now.wMilliseconds, now.wYear, now.wMonth, now.wDay};
}
