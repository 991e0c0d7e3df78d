#include "ui/core/Host.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace ui {

namespace {

// Never destroyed at exit: worker threads and late windows may still reach it.
Host*& Installed() {
  static Host* host = nullptr;
  return host;
}

std::atomic<std::thread::id>& HostThread() {
  static std::atomic<std::thread::id> thread{};
  return thread;
}

}  // namespace

Host& CurrentHost() {
  Host* host = Installed();
  if (host == nullptr) {
    std::fputs("quorvel-ui: no host installed (ui::InstallHost at start-up)\n", stderr);
    std::abort();
  }
  return *host;
}

void InstallHost(std::unique_ptr<Host> host) {
  Host* previous = Installed();
  Installed() = host.release();
  HostThread() = std::this_thread::get_id();
  delete previous;
}

bool OnHostThread() {
  return HostThread().load() == std::this_thread::get_id();
}

std::optional<SystemColors> ActiveHighContrast() {
  const Host* host = Installed();
  if (host == nullptr || !host->IsHighContrast()) return std::nullopt;
  return host->HighContrastColors();
}

}  // namespace ui
