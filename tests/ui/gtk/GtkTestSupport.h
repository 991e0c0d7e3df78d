// What the GTK host's tests share: the host made for a test display, and the GLib loop
// run until something happened.
#pragma once

#include <gtest/gtest.h>

#include <glib.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "ui/gtk/HostGtk.h"

namespace gtktest {

// A GTK host, or null with the reason; null without reason when there is no display.
// The plain input method, whatever the desktop of the machine prefers, and no
// accessibility bus: a test display has none, and its bridge leaks on start.
inline std::unique_ptr<ui::HostGtk> MakeTestHost(std::string& whyNot) {
  if (std::getenv("DISPLAY") == nullptr) return nullptr;
  setenv("GTK_IM_MODULE", "gtk-im-context-simple", 1);
  setenv("NO_AT_BRIDGE", "1", 1);
  return ui::HostGtk::Create(whyNot);
}

inline bool PumpUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds limit = std::chrono::milliseconds(5000)) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    if (!g_main_context_iteration(nullptr, FALSE)) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace gtktest
