// The GtkWindow type of the GTK host's windows. Its accessible is GTK's own for a window
// (role frame, named by the title, focus and activation states), whose children are the
// window's controls as AccessibleTreeGtk presents them.
//
// Threads: UI thread only.
#pragma once

#include <gtk/gtk.h>

namespace ui {

class AccessibleTreeGtk;

// Asked each time the accessible needs the controls; null when there are none (a window
// without controls, or one that is going).
using AccessibleTreeSource = AccessibleTreeGtk* (*)(gpointer data);

// A new top-level window of that type (a floating reference, as gtk_window_new gives).
GtkWidget* NewAccessibleWindow();
// Where the window's accessible finds its controls; a null source cuts it off.
void SetAccessibleTreeSource(GtkWidget* window, AccessibleTreeSource source, gpointer data);

}  // namespace ui
