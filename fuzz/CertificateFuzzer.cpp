// The certificate reader of the simulated certificate tool.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "simulated/X509Certificate.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  X509Certificate::ParseDer(std::vector<uint8_t>(data, data + size));
  return 0;
}
