// Runs the console program as a deployment tool starts it: its output read from a pipe,
// its exit code kept.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <string>

namespace exetest {

inline std::wstring ConsolePath() {
  const wchar_t* path = _wgetenv(L"QUORVEL_CONSOLE_UNDER_TEST");
  return path ? path : L"";
}

struct ConsoleRun {
  DWORD code = 0xFFFFFFFF;
  std::string output;  // standard output and error (or standard output alone), UTF-8
};

enum class Streams { Both, OutputOnly };

// Runs the program to its end (at most two minutes) with both streams into one pipe, or
// standard output alone, standard error going to NUL, as a detection rule reads it;
// directory: the current directory it starts in, null for this program's.
inline ConsoleRun RunConsole(const std::wstring& arguments, const std::wstring& program = ConsolePath(),
                             const wchar_t* directory = nullptr, Streams streams = Streams::Both) {
  ConsoleRun run;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return run;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  HANDLE nul = streams == Streams::OutputOnly ? CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                            &inherit, OPEN_EXISTING, 0, nullptr)
                                              : INVALID_HANDLE_VALUE;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = nul != INVALID_HANDLE_VALUE ? nul : writeEnd;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION process{};
  std::wstring commandLine = L"\"" + program + L"\" " + arguments;
  const BOOL started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                      directory, &startup, &process);
  CloseHandle(writeEnd);
  if (nul != INVALID_HANDLE_VALUE) CloseHandle(nul);
  if (started) {
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) && read > 0) run.output.append(buffer, read);
    if (WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &run.code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
  CloseHandle(readEnd);
  return run;
}

inline ConsoleRun RunConsole(const std::wstring& arguments, Streams streams) {
  return RunConsole(arguments, ConsolePath(), nullptr, streams);
}

}  // namespace exetest
