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
};

// The process's standard output and error: UTF-16 to a Windows console, else UTF-8.
ConsoleStreams StandardStreams();
