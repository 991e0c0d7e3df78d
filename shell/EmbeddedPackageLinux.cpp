#include "shell/EmbeddedPackage.h"

extern "C" const unsigned char quorvel_package_begin[];
extern "C" const unsigned char quorvel_package_end[];

std::shared_ptr<ResourcePackage> OpenEmbeddedPackage() {
  const size_t size = static_cast<size_t>(quorvel_package_end - quorvel_package_begin);
  return ResourcePackage::OpenFromMemory(quorvel_package_begin, size);
}

std::vector<uint8_t> CopyEmbeddedPackageBytes() {
  return {quorvel_package_begin, quorvel_package_end};
}
