// Where the program carries its resource package: a Windows resource (type "ZIPRES",
// name 129) in the product, a linked data block in the Linux build.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "base/ResourcePackage.h"

// Opens the embedded package from a copy of its bytes; null when it is missing, empty
// or not an archive. Nothing is reported: start-up goes on without a package.
std::shared_ptr<ResourcePackage> OpenEmbeddedPackage();

// A copy of the embedded bytes as they stand (empty when there are none); for tests that
// need to damage a real archive.
std::vector<uint8_t> CopyEmbeddedPackageBytes();
