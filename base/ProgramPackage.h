// The program's resource package, once opened at start-up: layouts, images, language files
// and the driver files that the workers copy.
//
// Threads: set on the UI thread; read from any thread (a reader keeps its own reference).
#pragma once

#include <cstdint>
#include <memory>

#include "base/ResourcePackage.h"

std::shared_ptr<ResourcePackage> ProgramPackage();
void SetProgramPackage(std::shared_ptr<ResourcePackage> package);
// Changes whenever another package is set, so caches of its files can tell.
uint64_t ProgramPackageGeneration();
