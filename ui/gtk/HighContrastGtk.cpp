// The GTK host's answer to whether the desktop asks for high contrast: the theme of the
// settings is one of the high-contrast themes ("HighContrast", "HighContrastInverse").
#include <gtk/gtk.h>

#include <string>

#include "ui/gtk/GtkGlue.h"
#include "ui/gtk/HostGtk.h"

namespace ui {

namespace {

std::string ThemeName() {
  GtkSettings* settings = gtk_settings_get_default();
  if (settings == nullptr) return {};
  gchar* name = nullptr;
  g_object_get(settings, "gtk-theme-name", &name, nullptr);
  std::string result = name != nullptr ? name : "";
  g_free(name);
  return result;
}

void RepaintWindows(GObject*, GParamSpec*, gpointer) {
  GuardGtkCallback("theme change", 0, [] {
    GList* windows = gtk_window_list_toplevels();
    for (GList* item = windows; item != nullptr; item = item->next) gtk_widget_queue_draw(GTK_WIDGET(item->data));
    g_list_free(windows);
    return 0;
  });
}

}  // namespace

void HostGtk::WatchHighContrast() {
  static bool watching = false;
  GtkSettings* settings = gtk_settings_get_default();
  if (watching || settings == nullptr) return;
  watching = true;
  g_signal_connect(settings, "notify::gtk-theme-name", G_CALLBACK(RepaintWindows), nullptr);
}

bool HostGtk::IsHighContrast() const {
  return ThemeName().find("HighContrast") != std::string::npos;
}

SystemColors HostGtk::HighContrastColors() const {
  if (ThemeName().find("Inverse") != std::string::npos) return {};  // light on black
  SystemColors colors;                                              // dark on white, as the plain theme
  colors.window = 0xFFFFFFFF;
  colors.windowText = 0xFF000000;
  colors.highlight = 0xFF000000;
  colors.highlightText = 0xFFFFFFFF;
  colors.grayText = 0xFF6A6A6A;
  return colors;
}

}  // namespace ui
