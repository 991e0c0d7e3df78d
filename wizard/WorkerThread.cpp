#include "wizard/WorkerThread.h"

std::atomic<bool>& WorkerThreadsRefused() {
  static std::atomic<bool> refused{false};
  return refused;
}
