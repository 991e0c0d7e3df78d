// Waiting in tests for something another thread does: never unbounded, so a fault shows
// as a failed assertion instead of a hung test run.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

// poll: the pause between checks; longer where a check asks another process, so that the
// asking does not take the time that process needs.
inline bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(10),
                      std::chrono::milliseconds poll = std::chrono::milliseconds(1)) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(poll);
  }
  return true;
}
