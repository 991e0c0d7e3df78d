// GlobalLock and GlobalUnlock of a movable memory block as a scope (clipboard data).
// Windows build only.
//
// Threads: the thread that uses the block.
#pragma once

#include "ui/win32/WindowsHeaders.h"

namespace ui {

class GlobalMemoryLock {
 public:
  explicit GlobalMemoryLock(HGLOBAL memory)
      : memory_(memory), data_(memory != nullptr ? GlobalLock(memory) : nullptr) {}
  ~GlobalMemoryLock() {
    if (data_ != nullptr) GlobalUnlock(memory_);
  }
  GlobalMemoryLock(const GlobalMemoryLock&) = delete;
  GlobalMemoryLock& operator=(const GlobalMemoryLock&) = delete;

  void* Data() const { return data_; }
  size_t Bytes() const { return data_ != nullptr ? GlobalSize(memory_) : 0; }

 private:
  HGLOBAL memory_;
  void* data_;
};

}  // namespace ui
