// The console program's answer file, read as the program reads it: from a file named on
// the command line, through the XML reader and the option checks. The machine is not
// asked; that comes only after the options are complete.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "base/WideText.h"
#include "shell/Languages.h"
#include "shell/console/ConsoleOptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/quorvel-fuzz-answers-" + std::to_string(getpid()) + ".xml";
  if (ProcessLanguageTable().empty()) FillLanguageTable(ProcessLanguageTable());
  {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  ConsoleOptions options;
  if (const auto error = ParseConsoleArguments({L"--answer-file", Utf8ToWide(path)}, options)) {
    DescribeOptionError(*error);
  }
  return 0;
}
