#include "ui/gtk/AccessibleWindowGtk.h"

#include <gtk/gtk-a11y.h>

#include <vector>

#include "ui/gtk/AccessibleTreeGtk.h"

namespace ui {

namespace {

struct Source {
  AccessibleTreeSource source;
  gpointer data;
};

GQuark SourceKey() {
  static const GQuark key = g_quark_from_static_string("quorvel-accessible-tree");
  return key;
}

AccessibleTreeGtk* TreeOf(AtkObject* accessible) {
  GtkWidget* widget = gtk_accessible_get_widget(GTK_ACCESSIBLE(accessible));
  if (widget == nullptr) return nullptr;
  const auto* source = static_cast<const Source*>(g_object_get_qdata(G_OBJECT(widget), SourceKey()));
  return source != nullptr ? source->source(source->data) : nullptr;
}

// ---- the window's accessible: GTK's, with the controls as children ---------------------

struct WindowAccessible {
  GtkWindowAccessible parent;
};

struct WindowAccessibleClass {
  GtkWindowAccessibleClass parent_class;
};

gint GetNChildren(AtkObject* accessible) {
  AccessibleTreeGtk* tree = TreeOf(accessible);
  return tree != nullptr ? static_cast<gint>(tree->ChildrenOf(nullptr).size()) : 0;
}

AtkObject* RefChild(AtkObject* accessible, gint index) {
  AccessibleTreeGtk* tree = TreeOf(accessible);
  if (tree == nullptr || index < 0) return nullptr;
  const std::vector<Control*> children = tree->ChildrenOf(nullptr);
  if (static_cast<size_t>(index) >= children.size()) return nullptr;
  return ATK_OBJECT(g_object_ref(tree->ObjectOf(*children[static_cast<size_t>(index)])));
}

void WindowAccessibleClassInit(gpointer klass, gpointer) {
  AtkObjectClass* atk = ATK_OBJECT_CLASS(klass);
  atk->get_n_children = GetNChildren;
  atk->ref_child = RefChild;
}

GType WindowAccessibleType() {
  static const GType type = g_type_register_static_simple(
      GTK_TYPE_WINDOW_ACCESSIBLE, "QuorvelWindowAccessible", sizeof(WindowAccessibleClass), WindowAccessibleClassInit,
      sizeof(WindowAccessible), nullptr, static_cast<GTypeFlags>(0));
  return type;
}

// ---- the window ----------------------------------------------------------------------

struct Window {
  GtkWindow parent;
};

struct WindowClass {
  GtkWindowClass parent_class;
};

void WindowClassInit(gpointer klass, gpointer) {
  gtk_widget_class_set_accessible_type(GTK_WIDGET_CLASS(klass), WindowAccessibleType());
}

GType WindowType() {
  static const GType type =
      g_type_register_static_simple(GTK_TYPE_WINDOW, "QuorvelWindow", sizeof(WindowClass), WindowClassInit,
                                    sizeof(Window), nullptr, static_cast<GTypeFlags>(0));
  return type;
}

}  // namespace

GtkWidget* NewAccessibleWindow() {
  return GTK_WIDGET(g_object_new(WindowType(), "type", GTK_WINDOW_TOPLEVEL, nullptr));
}

void SetAccessibleTreeSource(GtkWidget* window, AccessibleTreeSource source, gpointer data) {
  if (source == nullptr) {
    g_object_set_qdata(G_OBJECT(window), SourceKey(), nullptr);
    return;
  }
  g_object_set_qdata_full(G_OBJECT(window), SourceKey(), new Source{source, data},
                          [](gpointer p) { delete static_cast<Source*>(p); });
}

}  // namespace ui
