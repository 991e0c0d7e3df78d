// A zip archive of stored (uncompressed) entries, built in memory, so a target can hand
// its input to code that reads it from the resource package.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace fuzzing {

inline std::vector<uint8_t> StoredZip(const std::vector<std::pair<std::string, std::vector<uint8_t>>>& entries) {
  std::vector<uint8_t> zip, directory;
  auto put = [](std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
  };
  for (const auto& [name, data] : entries) {
    const auto crc = static_cast<uint32_t>(crc32(0, data.data(), static_cast<uInt>(data.size())));
    const auto size = static_cast<uint32_t>(data.size());
    const auto offset = static_cast<uint32_t>(zip.size());
    put(zip, 0x04034b50, 4);
    put(zip, 20, 2);  // version needed
    put(zip, 0, 2);   // flags
    put(zip, 0, 2);   // stored
    put(zip, 0, 4);   // time and date
    put(zip, crc, 4);
    put(zip, size, 4);
    put(zip, size, 4);
    put(zip, static_cast<uint32_t>(name.size()), 2);
    put(zip, 0, 2);
    zip.insert(zip.end(), name.begin(), name.end());
    zip.insert(zip.end(), data.begin(), data.end());

    put(directory, 0x02014b50, 4);
    put(directory, 20, 2);  // made by
    put(directory, 20, 2);  // version needed
    put(directory, 0, 2);
    put(directory, 0, 2);
    put(directory, 0, 4);
    put(directory, crc, 4);
    put(directory, size, 4);
    put(directory, size, 4);
    put(directory, static_cast<uint32_t>(name.size()), 2);
    put(directory, 0, 2);  // extra
    put(directory, 0, 2);  // comment
    put(directory, 0, 2);  // disk
    put(directory, 0, 2);  // internal attributes
    put(directory, 0, 4);  // external attributes
    put(directory, offset, 4);
    directory.insert(directory.end(), name.begin(), name.end());
  }
  const auto directoryOffset = static_cast<uint32_t>(zip.size());
  zip.insert(zip.end(), directory.begin(), directory.end());
  put(zip, 0x06054b50, 4);
  put(zip, 0, 2);
  put(zip, 0, 2);
  put(zip, static_cast<uint32_t>(entries.size()), 2);
  put(zip, static_cast<uint32_t>(entries.size()), 2);
  put(zip, static_cast<uint32_t>(directory.size()), 4);
  put(zip, directoryOffset, 4);
  put(zip, 0, 2);
  return zip;
}

}  // namespace fuzzing
