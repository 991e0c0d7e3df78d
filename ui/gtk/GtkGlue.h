// Small helpers of the GTK host (Linux build): ownership of GLib objects and the guard
// that keeps exceptions from crossing into GTK's C code.
//
// Threads: UI thread only, like everything of GTK.
#pragma once

#include <glib-object.h>
#include <glib.h>

#include <exception>
#include <memory>
#include <utility>

namespace ui {

struct GObjectUnref {
  void operator()(gpointer object) const {
    if (object != nullptr) g_object_unref(object);
  }
};

// Owns one reference of a GObject (a widget, an input-method context ...).
template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

// Runs body inside a signal handler or a GLib source callback. An exception must never
// unwind through GTK's C frames, so it is logged here and the fallback is returned.
template <typename R, typename Body>
R GuardGtkCallback(const char* where, R fallback, Body&& body) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (const std::exception& error) {
    g_critical("%s: %s", where, error.what());
  } catch (...) {
    g_critical("%s: unknown exception", where);
  }
  return fallback;
}

}  // namespace ui
