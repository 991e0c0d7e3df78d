// Copies one driver file out of the resource package.
//
// Threads: any thread (the installation worker); the package reads are locked inside.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The largest entry that is copied.
constexpr uint64_t kMaxPackageEntrySize = 4194304;

// relativePath uses "\" (driver\a4\Driver64\QuorvelA4UNI203.dll); targetDirectory ends
// with "\". The file name (after the last "\") is appended to dependentFileList before
// the copy is tried, so also when it fails; the caller adds the NUL after it. The entry
// is found without regard to letter case and written to targetDirectory + file name,
// replacing an existing file as a whole. False when there is no package, no such entry,
// an empty entry or one above the size limit, or the write failed; the last error says why.
bool CopyPackageEntry(std::wstring_view relativePath, const std::wstring& targetDirectory,
                      std::wstring& dependentFileList);
