// Ownership of one Win32 handle: released exactly once, by the function that fits its
// kind, when the owner goes out of scope. Windows build only.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <utility>

template <typename Handle, auto ReleaseHandle>
class UniqueWin32Handle {
 public:
  UniqueWin32Handle() = default;
  explicit UniqueWin32Handle(Handle handle) : handle_(handle) {}
  ~UniqueWin32Handle() { Reset(); }
  UniqueWin32Handle(UniqueWin32Handle&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
  UniqueWin32Handle& operator=(UniqueWin32Handle&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, Handle{});
    }
    return *this;
  }
  UniqueWin32Handle(const UniqueWin32Handle&) = delete;
  UniqueWin32Handle& operator=(const UniqueWin32Handle&) = delete;

  Handle Get() const { return handle_; }
  // For calls that hand a new handle back through a pointer.
  Handle* Receive() {
    Reset();
    return &handle_;
  }
  // Gives the handle up without releasing it.
  [[nodiscard]] Handle Release() { return std::exchange(handle_, Handle{}); }
  explicit operator bool() const { return handle_ != Handle{}; }

  void Reset() {
    if (handle_ != Handle{}) {
      // Preserve the error of the call that failed while its handles are released.
      const DWORD error = GetLastError();
      ReleaseHandle(handle_);
      SetLastError(error);
      handle_ = Handle{};
    }
  }

 private:
  Handle handle_{};
};

namespace win32 {
inline void ClosePrinterHandle(HANDLE h) {
  ClosePrinter(h);
}
inline void CloseKernelHandle(HANDLE h) {
  CloseHandle(h);
}
inline void FreeLibraryHandle(HMODULE h) {
  FreeLibrary(h);
}
inline void LocalFreeMemory(HLOCAL h) {
  LocalFree(h);
}
inline void GlobalFreeMemory(HGLOBAL h) {
  GlobalFree(h);
}
}  // namespace win32

using PrinterHandle = UniqueWin32Handle<HANDLE, win32::ClosePrinterHandle>;
using KernelHandle = UniqueWin32Handle<HANDLE, win32::CloseKernelHandle>;
using LibraryHandle = UniqueWin32Handle<HMODULE, win32::FreeLibraryHandle>;
using LocalMemory = UniqueWin32Handle<HLOCAL, win32::LocalFreeMemory>;
using GlobalMemory = UniqueWin32Handle<HGLOBAL, win32::GlobalFreeMemory>;

// CreateFileW reports failure as INVALID_HANDLE_VALUE, never as null.
inline KernelHandle OwnFileHandle(HANDLE file) {
  return KernelHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}
