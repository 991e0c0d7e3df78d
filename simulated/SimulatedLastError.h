// The last error of the simulated machine: one value per thread, as GetLastError keeps it.
//
// Threads: any thread; each sees its own value.
#pragma once

#include <cstdint>

void SetSimulatedLastError(uint32_t code);
uint32_t SimulatedLastError();
