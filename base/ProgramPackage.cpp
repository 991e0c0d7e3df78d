#include "base/ProgramPackage.h"

#include <mutex>

namespace {

struct Holder {
  std::mutex lock;
  std::shared_ptr<ResourcePackage> package;
  uint64_t generation = 0;
};

Holder& TheHolder() {
  // Never destroyed: workers may read driver files while the process ends.
  static auto* const holder = new Holder();
  return *holder;
}

}  // namespace

std::shared_ptr<ResourcePackage> ProgramPackage() {
  Holder& holder = TheHolder();
  std::lock_guard guard(holder.lock);
  return holder.package;
}

void SetProgramPackage(std::shared_ptr<ResourcePackage> package) {
  Holder& holder = TheHolder();
  std::lock_guard guard(holder.lock);
  holder.package = std::move(package);
  ++holder.generation;
}

uint64_t ProgramPackageGeneration() {
  Holder& holder = TheHolder();
  std::lock_guard guard(holder.lock);
  return holder.generation;
}
