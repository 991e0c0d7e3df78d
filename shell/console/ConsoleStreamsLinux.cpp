#include <cstdio>

#include "base/WideText.h"
#include "shell/console/ConsoleStreams.h"

namespace {

void Write(std::FILE* stream, std::wstring_view text) {
  const std::string utf8 = WideToUtf8(text);
  std::fwrite(utf8.data(), 1, utf8.size(), stream);
  std::fflush(stream);
}

}  // namespace

ConsoleStreams StandardStreams() {
  return {[](std::wstring_view text) { Write(stdout, text); }, [](std::wstring_view text) { Write(stderr, text); }};
}
