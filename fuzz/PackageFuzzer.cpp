// The resource package reader over its in-memory streams: open the bytes as an archive,
// list the entries, size and read each one.
#include <cstddef>
#include <cstdint>

#include "base/ResourcePackage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto package = ResourcePackage::OpenFromMemory(data, size);
  if (!package) return 0;
  for (const auto& name : package->EntryNames()) {
    package->EntrySize(name);
    package->ReadEntry(name);
    package->ReadEntry(name, 16);  // a limit below the entry's size
  }
  package->ReadEntry("missing/entry.xml");
  return 0;
}
