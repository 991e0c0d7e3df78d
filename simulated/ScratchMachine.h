// A fresh simulated machine in a temporary folder, installed as the current machine for
// as long as the object lives; its delays are scaled to nothing. The test program gives
// every test one; benchmarks make their own. The folder is removed afterwards unless
// QUORVEL_KEEP_MACHINES is set.
//
// Threads: create and destroy on one thread, while no other thread uses the machine.
#pragma once

#include <filesystem>
#include <memory>

#include "simulated/SimulatedMachine.h"

class ScratchMachine {
 public:
  ScratchMachine();
  ~ScratchMachine();
  ScratchMachine(const ScratchMachine&) = delete;
  ScratchMachine& operator=(const ScratchMachine&) = delete;

  SimulatedMachine& Machine() const { return *machine_; }
  const std::filesystem::path& Folder() const { return folder_; }

 private:
  std::filesystem::path folder_;
  std::shared_ptr<SimulatedMachine> machine_;
};
