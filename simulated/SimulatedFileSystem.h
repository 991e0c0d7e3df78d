// Drive C: of the simulated machine: Windows paths mapped onto a real folder. Names are
// matched without regard to letter case, as NTFS does, so "ia64" finds the folder
// "IA64"; a name that matches nothing keeps the case it was given. Results are Win32
// error codes (0 for success).
//
// Threads: not locked; SimulatedMachine guards it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

class SimulatedFileSystem {
 public:
  explicit SimulatedFileSystem(std::filesystem::path driveC);

  // A relative path is taken from the current directory. Error 3 for another drive or
  // a malformed path, 123 for characters a file name cannot hold.
  std::optional<std::filesystem::path> HostPath(std::wstring_view path, std::wstring_view currentDirectory,
                                                uint32_t& error) const;

  enum class Kind { Missing, Directory, File };
  Kind KindOf(std::wstring_view path, std::wstring_view currentDirectory) const;
  // GetFileAttributesW: 0 when the path exists, 2 when only its last part is missing, 3
  // when a folder above it is.
  uint32_t Attributes(std::wstring_view path, std::wstring_view currentDirectory) const;
  // CreateDirectory: 183 when the name exists, 3 when the parent is missing.
  uint32_t CreateDirectory(std::wstring_view path, std::wstring_view currentDirectory);
  // Creates the folder and every missing parent.
  uint32_t CreateDirectories(std::wstring_view path);
  // A new file with the bytes, replacing one of that name (CreateFileW with CREATE_ALWAYS
  // and WriteFile). writeLimit stops the write after that many bytes, as a device that
  // fails mid-way would.
  uint32_t WriteNewFile(std::wstring_view path, std::wstring_view currentDirectory, const std::vector<uint8_t>& bytes,
                        std::optional<size_t> writeLimit = std::nullopt);
  // MoveFileExW with MOVEFILE_REPLACE_EXISTING.
  uint32_t MoveReplacing(std::wstring_view from, std::wstring_view to, std::wstring_view currentDirectory);
  uint32_t DeleteFile(std::wstring_view path, std::wstring_view currentDirectory);
  uint32_t CopyFile(std::wstring_view from, std::wstring_view to);
  std::optional<std::vector<uint8_t>> ReadFile(std::wstring_view path, std::wstring_view currentDirectory,
                                               uint32_t& error) const;
  // Removes a folder with all it holds; a missing folder is no error.
  uint32_t RemoveTree(std::wstring_view path);

  // A file held open without sharing by some other program: it cannot be written,
  // replaced or deleted while held (error 32).
  bool Hold(std::wstring_view path, std::wstring_view currentDirectory);
  void Release(std::wstring_view path, std::wstring_view currentDirectory);

 private:
  bool IsHeld(const std::filesystem::path& host) const;

  std::filesystem::path driveC_;
  std::set<std::string> held_;  // lower-case host paths
};
