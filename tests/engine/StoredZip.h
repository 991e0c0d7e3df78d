// A zip archive built in memory for tests: entries stored without compression.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class StoredZip {
 public:
  void Add(std::string name, std::vector<uint8_t> bytes);
  std::vector<uint8_t> Bytes() const;

 private:
  struct Entry {
    std::string name;
    std::vector<uint8_t> bytes;
  };
  std::vector<Entry> entries_;
};
