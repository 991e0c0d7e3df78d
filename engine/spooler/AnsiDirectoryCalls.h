// The platform calls under CreateDirectoryPath's walk, in the ANSI code page.
//
// Threads: any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

std::string ToAnsiCodePage(std::wstring_view text);
// GetCurrentDirectoryA; nothing when it fails.
std::optional<std::string> CurrentDirectoryAnsi();
enum class AnsiPathKind { Missing, Directory, File };
AnsiPathKind AnsiPathKindOf(const std::string& path);
// CreateDirectoryA: 0 on success, else the system error (183 when it exists).
uint32_t CreateDirectoryAnsi(const std::string& path);
