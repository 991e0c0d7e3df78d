#include "simulated/ScratchMachine.h"

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <string>

ScratchMachine::ScratchMachine() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/quorvel-machine-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) {
    std::perror("scratch machine: mkdtemp");
    std::abort();
  }
  folder_ = pattern;
  auto opened = SimulatedMachine::Open(folder_);
  if (!opened.machine) {
    std::fprintf(stderr, "scratch machine: %s\n", opened.error.c_str());
    std::abort();
  }
  machine_ = std::move(opened.machine);
  machine_->SetTimeScale(0);
  SimulatedMachine::Install(machine_);
}

ScratchMachine::~ScratchMachine() {
  if (SimulatedMachine::Current() == machine_) SimulatedMachine::Install(nullptr);
  machine_.reset();
  if (std::getenv("QUORVEL_KEEP_MACHINES") == nullptr) {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }
}
