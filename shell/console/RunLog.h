// The log file of a console run: UTF-8 lines, each with its date and time, from the
// command line to the exit code. --log FILE appends to that file; without it a run that
// changes the machine writes a new file of its own in <ProgramData>\QuorvelSetup\Logs,
// where the newest ten are kept, so unattended runs leave a trail where administrators
// look for one.
//
// Threads: the console program's only thread.
#pragma once

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "shell/LocalTime.h"

inline constexpr size_t kKeptRunLogs = 10;

class RunLog {
 public:
  bool OpenAppending(const std::filesystem::path& file);
  // A new file in the folder (created when missing), named after the time; the oldest
  // files of this program beyond kKeptRunLogs go.
  bool OpenNewIn(const std::filesystem::path& folder);
  bool IsOpen() const { return file_.is_open(); }
  const std::filesystem::path& Path() const { return path_; }

  // Every line of the text, each after the date and time.
  void Write(std::wstring_view text, const LocalTime& time);

 private:
  std::ofstream file_;
  std::filesystem::path path_;
};

// The folder of the default logs: Logs in the program's ProgramData folder; empty when
// there is none.
std::filesystem::path DefaultRunLogFolder();
