// Failures that tests ask the simulated machine for: a platform call named by its Win32
// name ("AddPrinterDriverExW", "WriteFile", ...) fails with a given error code, once, a
// number of times in a row or every time, before it changes anything.
//
// Threads: not locked; SimulatedMachine calls it under its own lock.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class FaultMode { Once, Always };

class FaultInjector {
 public:
  // The calls that can be made to fail.
  static const std::vector<std::string_view>& KnownCalls();

  // False for a name that no call checks, so a misspelt fault never passes unnoticed.
  bool Inject(std::string_view call, uint32_t code, FaultMode mode);
  // The next `times` calls fail (at least one).
  bool Inject(std::string_view call, uint32_t code, int times);
  void Clear();
  // The code the call must fail with now, if any; a counted fault is used up.
  std::optional<uint32_t> Take(std::string_view call);

 private:
  struct Fault {
    uint32_t code = 0;
    int remaining = 1;  // calls still to fail; below 0: every call
  };
  std::map<std::string, Fault, std::less<>> faults_;
};
