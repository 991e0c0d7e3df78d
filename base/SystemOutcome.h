// The outcome of an operation on the system: success, or the Windows error code taken
// right after the call that failed. It travels with the result, so no call in between
// can overwrite it as it would the thread's last error.
#pragma once

#include <cstdint>

#include "base/WindowsErrorCodes.h"

class SystemOutcome {
 public:
  constexpr SystemOutcome() = default;
  // A failure always has a code: a call that failed without one still failed.
  static constexpr SystemOutcome Failure(uint32_t code) {
    return SystemOutcome(code != kErrorSuccess ? code : kErrorGenFailure);
  }
  // kErrorSuccess or a failure's code.
  static constexpr SystemOutcome OfCode(uint32_t code) {
    return code == kErrorSuccess ? SystemOutcome() : Failure(code);
  }

  constexpr bool Succeeded() const { return error_ == kErrorSuccess; }
  constexpr explicit operator bool() const { return Succeeded(); }
  constexpr uint32_t Error() const { return error_; }

 private:
  constexpr explicit SystemOutcome(uint32_t error) : error_(error) {}
  uint32_t error_ = kErrorSuccess;
};
