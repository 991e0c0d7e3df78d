// Copies one driver file out of the resource package.
//
// Threads: any thread (the installation worker); the package reads are locked inside.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/SystemOutcome.h"

// The largest entry that is copied.
constexpr uint64_t kMaxPackageEntrySize = 4194304;

// relativePath uses "\" (driver\a4\Driver64\QuorvelA4UNI203.dll); targetDirectory ends
// with "\". The file name (after the last "\") is appended to dependentFileList before
// the copy is tried, so also when it fails; the caller adds the NUL after it. The entry
// is found without regard to letter case and written to targetDirectory + file name,
// replacing an existing file as a whole. A failure when there is no package (2), no such
// entry (2), an empty (13) or damaged entry (13), one above the size limit (223), or the
// write failed (its error).
SystemOutcome CopyPackageEntry(std::wstring_view relativePath, const std::wstring& targetDirectory,
                               std::wstring& dependentFileList);
