// The simulated machine's state file: load it; a state that loads must save and load
// again, or the machine folder would be left unreadable by its own next write, and
// saving what was loaded back must give the same file (nothing lost on the way).
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "simulated/MachineStateFile.h"

namespace {

// One folder per fuzzing process, removed at exit.
struct ScratchFolder {
  std::filesystem::path path;
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quorvel-fuzz-state-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    path = pattern;
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
};

std::string Contents(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static ScratchFolder folder;
  const auto file = folder.path / "machine.xml";
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  const MachineStateLoad load = LoadMachineState(file);
  if (!load.state) return 0;
  const std::string saved = SaveMachineState(*load.state, file);
  if (!saved.empty()) {
    std::fprintf(stderr, "a loaded state could not be saved: %s\n", saved.c_str());
    std::abort();
  }
  const MachineStateLoad again = LoadMachineState(file);
  if (!again.state) {
    std::fprintf(stderr, "a saved state does not load again: %s\n", again.error.c_str());
    std::abort();
  }
  const std::string first = Contents(file);
  if (!SaveMachineState(*again.state, file).empty() || Contents(file) != first) {
    std::fprintf(stderr, "a state changed on its way through the file\n");
    std::abort();
  }
  return 0;
}
