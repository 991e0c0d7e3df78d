// What the benchmark programs share: milliseconds of a duration, the median, the CPU time
// of the calling thread, and the quick mode that scripts/test runs.
#pragma once

#include <time.h>

#include <algorithm>
#include <chrono>
#include <string_view>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

inline double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// CPU time of this thread: on a busy machine the wall time also holds other programs' turns.
inline double ThreadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

// "--quick" as the first argument: the smallest sizes, one round.
inline bool QuickMode(int argc, char** argv) {
  return argc > 1 && std::string_view(argv[1]) == "--quick";
}

}  // namespace bench
