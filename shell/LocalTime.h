// Local wall-clock time, as the log lines show it.
#pragma once

#include <string>

struct LocalTime {
  int hour = 0;  // 0 to 23
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

LocalTime CurrentLocalTime();

// "%02d:%02d:%02d.%03d : ", the prefix of every log line.
std::wstring LogTimePrefix(const LocalTime& time);
