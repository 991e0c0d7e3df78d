// The last error of the simulated machine: one value per thread, as GetLastError keeps it.
//
// Threads: any thread; each sees its own value.
#pragma once

#include <cstdint>

#include "base/SystemOutcome.h"

void SetSimulatedLastError(uint32_t code);
uint32_t SimulatedLastError();

// The failure that the simulated call just left, read right after it as its Win32
// counterpart reads GetLastError.
inline SystemOutcome SimulatedFailure() {
  return SystemOutcome::Failure(SimulatedLastError());
}
