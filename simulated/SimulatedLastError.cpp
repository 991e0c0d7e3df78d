#include "simulated/SimulatedLastError.h"

namespace {
thread_local uint32_t lastError = 0;
}

void SetSimulatedLastError(uint32_t code) {
  lastError = code;
}

uint32_t SimulatedLastError() {
  return lastError;
}
