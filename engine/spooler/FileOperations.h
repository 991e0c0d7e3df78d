// Files, directories and devices.
//
// Threads: any thread, except WriteDeviceBytes, which waits for its completion routine
// in an alertable sleep and is called from the UI thread only.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "base/SystemOutcome.h"

// 1 when the directory and all its parents exist afterwards, -1 otherwise. The path is
// walked from the current directory in the ANSI code page: "." parts are skipped, a part
// with ":" (a drive) restarts the walk, every other part is created when missing. A part
// that exists as a file is a failure.
int CreateDirectoryPath(const std::wstring& path);

// The bytes written to a device (overlapped, completion routine, at most 1000 ms); a
// success when the completion reports exactly the byte count. An empty path opens nothing.
SystemOutcome WriteDeviceBytes(const std::wstring& devicePath, const uint8_t* bytes, uint32_t count);

// True only when the attribute query fails with error 2 (file not found); any other
// answer counts as present.
bool FileAttributesMissing(const std::wstring& path);

// The whole file, written beside the target and then moved over it, so a failed write
// leaves the old file (or none) and never a part of the new one.
SystemOutcome WriteWholeFile(const std::wstring& path, std::span<const uint8_t> bytes);
