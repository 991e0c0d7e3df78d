// The detached threads of the installation and removal runs. A system out of threads
// makes std::thread throw; the wizard's button handlers must not let that through, so a
// start that gets no thread answers false and the body never runs (what it holds, such
// as the installation lock, is released when the start returns).
//
// Threads: UI thread.
#pragma once

#include <atomic>
#include <cstdio>
#include <system_error>
#include <thread>
#include <utility>

// Set, every start fails as on a system out of threads (the tests' way to reach it).
std::atomic<bool>& WorkerThreadsRefused();

template <class Body>
bool StartWorkerThread(Body&& body) {
  if (WorkerThreadsRefused().load()) return false;
  try {
    std::thread(std::forward<Body>(body)).detach();
    return true;
  } catch (const std::system_error& error) {
    std::fprintf(stderr, "worker thread: %s\n", error.what());
    return false;
  }
}
