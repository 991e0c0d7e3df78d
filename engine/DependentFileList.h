// The dependent files of a driver registration: each file name followed by one NUL, and
// two further NULs after the last. It must live until the registration call returns.
//
// Threads: one thread at a time (the installation worker).
#pragma once

#include <string>
#include <string_view>

class DependentFileList {
 public:
  void AppendName(std::wstring_view fileName) { units_ += fileName; }
  void EndName() { units_ += L'\0'; }
  void Close() { units_.append(2, L'\0'); }

  // CopyPackageEntry appends the name it copies here itself.
  std::wstring& Units() { return units_; }
  const std::wstring& Units() const { return units_; }

 private:
  std::wstring units_;
};
