#include "engine/StoredZip.h"

namespace {

uint32_t Crc32(const std::vector<uint8_t>& bytes) {
  uint32_t crc = 0xFFFFFFFFu;
  for (uint8_t byte : bytes) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void Put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

}  // namespace

void StoredZip::Add(std::string name, std::vector<uint8_t> bytes) {
  entries_.push_back({std::move(name), std::move(bytes)});
}

std::vector<uint8_t> StoredZip::Bytes() const {
  std::vector<uint8_t> out;
  std::vector<uint8_t> directory;
  for (const auto& entry : entries_) {
    const uint32_t offset = static_cast<uint32_t>(out.size());
    const uint32_t crc = Crc32(entry.bytes);
    const uint32_t size = static_cast<uint32_t>(entry.bytes.size());
    const uint16_t nameLength = static_cast<uint16_t>(entry.name.size());
    Put32(out, 0x04034b50);
    Put16(out, 10);  // version needed
    Put16(out, 0);   // flags
    Put16(out, 0);   // stored
    Put32(out, 0);   // time and date
    Put32(out, crc);
    Put32(out, size);
    Put32(out, size);
    Put16(out, nameLength);
    Put16(out, 0);
    out.insert(out.end(), entry.name.begin(), entry.name.end());
    out.insert(out.end(), entry.bytes.begin(), entry.bytes.end());

    Put32(directory, 0x02014b50);
    Put16(directory, 20);
    Put16(directory, 10);
    Put16(directory, 0);
    Put16(directory, 0);
    Put32(directory, 0);
    Put32(directory, crc);
    Put32(directory, size);
    Put32(directory, size);
    Put16(directory, nameLength);
    Put16(directory, 0);  // extra
    Put16(directory, 0);  // comment
    Put16(directory, 0);  // disk
    Put16(directory, 0);  // internal attributes
    Put32(directory, 0);  // external attributes
    Put32(directory, offset);
    directory.insert(directory.end(), entry.name.begin(), entry.name.end());
  }
  const uint32_t directoryOffset = static_cast<uint32_t>(out.size());
  out.insert(out.end(), directory.begin(), directory.end());
  Put32(out, 0x06054b50);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, static_cast<uint32_t>(entries_.size()));
  Put16(out, static_cast<uint32_t>(entries_.size()));
  Put32(out, static_cast<uint32_t>(directory.size()));
  Put32(out, directoryOffset);
  Put16(out, 0);
  return out;
}
