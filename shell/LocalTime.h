// Local wall-clock time, as the log lines show it.
#pragma once

#include <string>

struct LocalTime {
  int hour = 0;  // 0 to 23
  int minute = 0;
  int second = 0;
  int millisecond = 0;
  int year = 0;   // e.g. 2026
  int month = 0;  // 1 to 12
  int day = 0;    // 1 to 31
};

LocalTime CurrentLocalTime();

// "%02d:%02d:%02d.%03d : ", the prefix of every log line.
std::wstring LogTimePrefix(const LocalTime& time);
// "%04d-%02d-%02d ", the date that a log file puts before the prefix.
std::wstring LogDatePrefix(const LocalTime& time);
