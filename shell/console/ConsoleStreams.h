// Where the console program writes: its standard output (the steps, lists and log lines)
// and its standard error (refusals). Tests hand in their own.
//
// Threads: the console program's only thread.
#pragma once

#include <functional>
#include <string_view>

struct ConsoleStreams {
  std::function<void(std::wstring_view)> out;
  std::function<void(std::wstring_view)> err;
  // Optional: each log line that the wizard would show red (a failed step), without its
  // time; it goes to `out` as well.
  std::function<void(std::wstring_view)> failedLine;
};

// The process's standard output and error: UTF-16 to a Windows console, else UTF-8.
ConsoleStreams StandardStreams();
