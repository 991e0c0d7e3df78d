#include "simulated/SimulatedFileSystem.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>

#include "base/WideText.h"
#include "base/WindowsErrorCodes.h"

namespace {

uint32_t FromErrno(int error) {
  switch (error) {
    case ENOENT:
      return kErrorFileNotFound;
    case ENOTDIR:
      return kErrorPathNotFound;
    case EACCES:
    case EPERM:
    case EISDIR:
      return kErrorAccessDenied;
    case ENOSPC:
      return kErrorDiskFull;
    case EEXIST:
      return kErrorAlreadyExists;
    default:
      return 31;  // a device attached to the system is not functioning
  }
}

bool ValidComponent(std::wstring_view part) {
  for (wchar_t c : part) {
    if (c < 32 || std::wstring_view(L"<>:\"|?*").find(c) != std::wstring_view::npos) return false;
  }
  return true;
}

std::string LowerKey(const std::filesystem::path& host) {
  return WideToUtf8(ToLowerUnits(Utf8ToWide(host.string())));
}

}  // namespace

SimulatedFileSystem::SimulatedFileSystem(std::filesystem::path driveC) : driveC_(std::move(driveC)) {}

std::optional<std::filesystem::path> SimulatedFileSystem::HostPath(std::wstring_view path,
                                                                   std::wstring_view currentDirectory,
                                                                   uint32_t& error) const {
  std::wstring full(path);
  if (full.rfind(L"\\\\?\\", 0) == 0) full.erase(0, 4);
  const bool absolute = full.size() >= 2 && full[1] == L':';
  if (!absolute) {
    if (!full.empty() && (full[0] == L'\\' || full[0] == L'/')) {
      if (full.size() > 1 && (full[1] == L'\\' || full[1] == L'/')) {
        error = kErrorPathNotFound;  // no network on this machine
        return std::nullopt;
      }
      full = std::wstring(currentDirectory.substr(0, 2)) + full;  // root of the current drive
    } else {
      full = std::wstring(currentDirectory) + L"\\" + full;
    }
  }
  if (full.size() < 2 || (full[0] != L'C' && full[0] != L'c') || full[1] != L':') {
    error = kErrorPathNotFound;
    return std::nullopt;
  }
  std::vector<std::wstring> parts;
  size_t start = 2;
  while (start <= full.size()) {
    size_t end = full.find_first_of(L"\\/", start);
    if (end == std::wstring::npos) end = full.size();
    std::wstring part = full.substr(start, end - start);
    start = end + 1;
    // Windows drops trailing dots and blanks of a name.
    while (!part.empty() && part != L"." && part != L".." && (part.back() == L'.' || part.back() == L' ')) {
      part.pop_back();
    }
    if (part.empty() || part == L".") continue;
    if (part == L"..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    if (!ValidComponent(part)) {
      error = kErrorInvalidName;
      return std::nullopt;
    }
    parts.push_back(std::move(part));
  }
  std::filesystem::path host = driveC_;
  bool matching = true;
  for (const auto& part : parts) {
    std::filesystem::path next = host / WideToUtf8(part);
    std::error_code ec;
    if (matching && !std::filesystem::exists(next, ec)) {
      matching = false;
      if (std::filesystem::is_directory(host, ec)) {
        for (const auto& entry : std::filesystem::directory_iterator(host, ec)) {
          if (EqualsNoCase(Utf8ToWide(entry.path().filename().string()), part)) {
            next = entry.path();
            matching = true;
            break;
          }
        }
      }
    }
    host = std::move(next);
  }
  error = 0;
  return host;
}

SimulatedFileSystem::Kind SimulatedFileSystem::KindOf(std::wstring_view path,
                                                      std::wstring_view currentDirectory) const {
  uint32_t error = 0;
  const auto host = HostPath(path, currentDirectory, error);
  if (!host) return Kind::Missing;
  std::error_code ec;
  const auto status = std::filesystem::status(*host, ec);
  if (ec || !std::filesystem::exists(status)) return Kind::Missing;
  return std::filesystem::is_directory(status) ? Kind::Directory : Kind::File;
}

uint32_t SimulatedFileSystem::Attributes(std::wstring_view path, std::wstring_view currentDirectory) const {
  uint32_t error = 0;
  const auto host = HostPath(path, currentDirectory, error);
  if (!host) return error;
  std::error_code ec;
  if (std::filesystem::exists(*host, ec)) return 0;
  return std::filesystem::is_directory(host->parent_path(), ec) ? kErrorFileNotFound : kErrorPathNotFound;
}

uint32_t SimulatedFileSystem::CreateDirectory(std::wstring_view path, std::wstring_view currentDirectory) {
  uint32_t error = 0;
  const auto host = HostPath(path, currentDirectory, error);
  if (!host) return error;
  std::error_code ec;
  if (std::filesystem::exists(*host, ec)) return kErrorAlreadyExists;
  if (!std::filesystem::is_directory(host->parent_path(), ec)) return kErrorPathNotFound;
  if (!std::filesystem::create_directory(*host, ec)) return ec ? FromErrno(ec.value()) : kErrorAlreadyExists;
  return 0;
}

uint32_t SimulatedFileSystem::CreateDirectories(std::wstring_view path) {
  uint32_t error = 0;
  const auto host = HostPath(path, L"C:\\", error);
  if (!host) return error;
  std::error_code ec;
  std::filesystem::create_directories(*host, ec);
  return ec ? FromErrno(ec.value()) : 0;
}

uint32_t SimulatedFileSystem::WriteNewFile(std::wstring_view path, std::wstring_view currentDirectory,
                                           const std::vector<uint8_t>& bytes, std::optional<size_t> writeLimit) {
  uint32_t error = 0;
  const auto host = HostPath(path, currentDirectory, error);
  if (!host) return error;
  std::error_code ec;
  if (std::filesystem::is_directory(*host, ec)) return kErrorAccessDenied;
  if (!std::filesystem::is_directory(host->parent_path(), ec)) return kErrorPathNotFound;
  if (IsHeld(*host)) return kErrorSharingViolation;
  const int fd = ::open(host->c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return FromErrno(errno);
  const size_t wanted = writeLimit ? std::min(*writeLimit, bytes.size()) : bytes.size();
  size_t done = 0;
  while (done < wanted) {
    const ssize_t n = ::write(fd, bytes.data() + done, wanted - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = FromErrno(errno);
      break;
    }
    done += static_cast<size_t>(n);
  }
  if (::close(fd) != 0 && error == 0) error = FromErrno(errno);
  if (error == 0 && done < bytes.size()) error = kErrorDiskFull;
  return error;
}

uint32_t SimulatedFileSystem::MoveReplacing(std::wstring_view from, std::wstring_view to,
                                            std::wstring_view currentDirectory) {
  uint32_t error = 0;
  const auto source = HostPath(from, currentDirectory, error);
  if (!source) return error;
  const auto target = HostPath(to, currentDirectory, error);
  if (!target) return error;
  std::error_code ec;
  if (!std::filesystem::exists(*source, ec)) return kErrorFileNotFound;
  if (std::filesystem::is_directory(*target, ec)) return kErrorAccessDenied;
  if (IsHeld(*source) || IsHeld(*target)) return kErrorAccessDenied;
  std::filesystem::rename(*source, *target, ec);
  return ec ? FromErrno(ec.value()) : 0;
}

uint32_t SimulatedFileSystem::DeleteFile(std::wstring_view path, std::wstring_view currentDirectory) {
  uint32_t error = 0;
  const auto host = HostPath(path, currentDirectory, error);
  if (!host) return error;
  std::error_code ec;
  if (!std::filesystem::exists(*host, ec)) return Attributes(path, currentDirectory);
  if (std::filesystem::is_directory(*host, ec)) return kErrorAccessDenied;
  if (IsHeld(*host)) return kErrorSharingViolation;
  std::filesystem::remove(*host, ec);
  return ec ? FromErrno(ec.value()) : 0;
}

uint32_t SimulatedFileSystem::CopyFile(std::wstring_view from, std::wstring_view to) {
  uint32_t error = 0;
  auto bytes = ReadFile(from, L"C:\\", error);
  if (!bytes) return error;
  const std::wstring partial = std::wstring(to) + L".partial";
  if ((error = WriteNewFile(partial, L"C:\\", *bytes)) != 0) {
    DeleteFile(partial, L"C:\\");
    return error;
  }
  if ((error = MoveReplacing(partial, to, L"C:\\")) != 0) DeleteFile(partial, L"C:\\");
  return error;
}

std::optional<std::vector<uint8_t>> SimulatedFileSystem::ReadFile(std::wstring_view path,
                                                                  std::wstring_view currentDirectory,
                                                                  uint32_t& error) const {
  const auto host = HostPath(path, currentDirectory, error);
  if (!host) return std::nullopt;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(*host, ec)) {
    error = std::filesystem::is_directory(*host, ec) ? kErrorAccessDenied : Attributes(path, currentDirectory);
    return std::nullopt;
  }
  // One read of the whole file: driver files are megabytes, and byte-wise stream
  // iterators made every driver registration of a debug build take seconds.
  std::ifstream in(*host, std::ios::binary);
  std::vector<uint8_t> bytes(static_cast<size_t>(std::filesystem::file_size(*host, ec)));
  if (!ec) in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (ec || in.bad() || in.gcount() != static_cast<std::streamsize>(bytes.size())) {
    error = kErrorAccessDenied;
    return std::nullopt;
  }
  error = 0;
  return bytes;
}

uint32_t SimulatedFileSystem::RemoveTree(std::wstring_view path) {
  uint32_t error = 0;
  const auto host = HostPath(path, L"C:\\", error);
  if (!host) return error;
  std::error_code ec;
  std::filesystem::remove_all(*host, ec);
  return ec ? FromErrno(ec.value()) : 0;
}

bool SimulatedFileSystem::Hold(std::wstring_view path, std::wstring_view currentDirectory) {
  uint32_t error = 0;
  const auto host = HostPath(path, currentDirectory, error);
  if (!host) return false;
  held_.insert(LowerKey(*host));
  return true;
}

void SimulatedFileSystem::Release(std::wstring_view path, std::wstring_view currentDirectory) {
  uint32_t error = 0;
  if (const auto host = HostPath(path, currentDirectory, error)) held_.erase(LowerKey(*host));
}

bool SimulatedFileSystem::IsHeld(const std::filesystem::path& host) const {
  return !held_.empty() && held_.count(LowerKey(host)) > 0;
}
