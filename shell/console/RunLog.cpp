#include "shell/console/RunLog.h"

#include <algorithm>
#include <cwchar>
#include <string>
#include <system_error>
#include <vector>

#include "base/WideText.h"
#include "engine/spooler/ProgramDataFolder.h"

namespace {

constexpr std::string_view kNameStart = "QuorvelSetupCli-";
constexpr std::string_view kNameEnd = ".log";
// What Windows' own tools expect of a text file there.
#ifdef _WIN32
constexpr std::wstring_view kLineEnd = L"\r\n";
#else
constexpr std::wstring_view kLineEnd = L"\n";
#endif

bool IsRunLogName(const std::string& name) {
  return name.size() > kNameStart.size() + kNameEnd.size() && name.compare(0, kNameStart.size(), kNameStart) == 0 &&
         name.compare(name.size() - kNameEnd.size(), kNameEnd.size(), kNameEnd) == 0;
}

// "QuorvelSetupCli-20261209-041500-123.log", the milliseconds counted on while a file of
// that name exists (two runs in one millisecond).
std::filesystem::path FreeName(const std::filesystem::path& folder, const LocalTime& time) {
  for (int extra = 0;; ++extra) {
    char name[64];
    std::snprintf(name, sizeof(name), "%.*s%04d%02d%02d-%02d%02d%02d-%03d%.*s", static_cast<int>(kNameStart.size()),
                  kNameStart.data(), time.year, time.month, time.day, time.hour, time.minute, time.second,
                  time.millisecond + extra, static_cast<int>(kNameEnd.size()), kNameEnd.data());
    const auto path = folder / name;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec) || extra > 1000) return path;
  }
}

// Newest first by the last write (local time may step back), equal times by name.
void DeleteOldLogs(const std::filesystem::path& folder) {
  struct Found {
    std::filesystem::file_time_type written;
    std::filesystem::path path;
  };
  std::vector<Found> logs;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->is_regular_file(ec) || !IsRunLogName(it->path().filename().string())) continue;
    logs.push_back({it->last_write_time(ec), it->path()});
  }
  if (logs.size() <= kKeptRunLogs) return;
  std::sort(logs.begin(), logs.end(), [](const Found& a, const Found& b) {
    return a.written != b.written ? a.written > b.written : a.path.filename() > b.path.filename();
  });
  for (size_t i = kKeptRunLogs; i < logs.size(); ++i) std::filesystem::remove(logs[i].path, ec);
}

}  // namespace

bool RunLog::OpenAppending(const std::filesystem::path& file) {
  file_.open(file, std::ios::binary | std::ios::app);
  path_ = file;
  return file_.is_open();
}

bool RunLog::OpenNewIn(const std::filesystem::path& folder) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) return false;
  path_ = FreeName(folder, CurrentLocalTime());
  file_.open(path_, std::ios::binary | std::ios::app);
  if (!file_.is_open()) return false;
  file_.flush();
  DeleteOldLogs(folder);
  return true;
}

void RunLog::Write(std::wstring_view text, const LocalTime& time) {
  if (!file_.is_open()) return;
  const std::wstring stamp = LogDatePrefix(time) + LogTimePrefix(time);
  std::wstring lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(L'\n', start);
    if (end == std::wstring_view::npos) end = text.size();
    std::wstring_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
    lines += stamp;
    lines += line;
    lines += kLineEnd;
    start = end + 1;
  }
  const std::string utf8 = WideToUtf8(lines);
  file_.write(utf8.data(), static_cast<std::streamsize>(utf8.size()));
  file_.flush();
}

std::filesystem::path DefaultRunLogFolder() {
  const std::filesystem::path folder = ProgramDataFolder();
  return folder.empty() ? folder : folder / "Logs";
}
