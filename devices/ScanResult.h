// What a device walk or scan found, and whether it could look at everything: a failing
// platform call leaves devices out, and the code says so instead of an empty list
// passing for "nothing there".
#pragma once

#include <cstdint>
#include <vector>

template <typename Entry>
struct ScanResult {
  std::vector<Entry> found;
  uint32_t error = 0;  // the first failing call's Windows error code; 0 when none failed

  bool Complete() const { return error == 0; }
  // Keeps the first failure: it is the one that cut the list short.
  void Note(uint32_t code) {
    if (error == 0) error = code;
  }
};
