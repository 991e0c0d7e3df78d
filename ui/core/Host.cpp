#include "ui/core/Host.h"

#include <cstdio>
#include <cstdlib>

namespace ui {

namespace {

// Never destroyed at exit: worker threads and late windows may still reach it.
Host*& Installed() {
  static Host* host = nullptr;
  return host;
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
  delete previous;
}

}  // namespace ui
