// A value from the system, or the outcome that says why there is none: the failure's code
// travels with the answer instead of through the thread's last error.
#pragma once

#include <optional>
#include <utility>

#include "base/SystemOutcome.h"

template <typename T>
class SystemResult {
 public:
  SystemResult(T value) : value_(std::move(value)) {}  // NOLINT: a value is a success
  // A failed outcome; a success without a value still reads as a failure.
  SystemResult(SystemOutcome failure) : outcome_(failure ? SystemOutcome::Failure(0) : failure) {}  // NOLINT

  bool Succeeded() const { return value_.has_value(); }
  explicit operator bool() const { return Succeeded(); }
  SystemOutcome Outcome() const { return outcome_; }
  uint32_t Error() const { return outcome_.Error(); }

  const T& operator*() const& { return *value_; }
  T& operator*() & { return *value_; }
  T&& operator*() && { return std::move(*value_); }
  const T* operator->() const { return &*value_; }
  T* operator->() { return &*value_; }
  T ValueOr(T fallback) const& { return value_.value_or(std::move(fallback)); }

 private:
  std::optional<T> value_;
  SystemOutcome outcome_;
};
