// The accessibility model of one window's controls (ui/core/Accessibility.h) as ATK
// objects, which GTK's AT-SPI bridge puts on the accessibility bus. The window's own
// accessible (AccessibleWindowGtk.h) takes the root control's accessible children as its
// children; every control below gets an AtkObject (AccessibleObjectGtk.h) on first use,
// kept by its AccessibleId until the control leaves the tree or is hidden; then the
// object answers as defunct and a shown control later gets a fresh one.
//
// The model's events become ATK signals: state changes for focus, checked and selected,
// "children-changed" with the added and removed children, "text-insert"/"text-remove",
// "selection-changed" and the accessible name's property change.
//
// Lifetime: made by the host window when its accessible is first asked for; it listens
// to the tree until it is deleted or the tree drops its root (the tree is going).
//
// Threads: UI thread only.
#pragma once

#include <atk/atk.h>
#include <gtk/gtk.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "ui/core/Accessibility.h"
#include "ui/core/Geometry.h"
#include "ui/gtk/GtkGlue.h"

namespace ui {

class AccessibleTreeGtk final : public AccessibilityListener {
 public:
  AccessibleTreeGtk(WindowTree& tree, GtkWidget* window);
  ~AccessibleTreeGtk() override;
  AccessibleTreeGtk(const AccessibleTreeGtk&) = delete;
  AccessibleTreeGtk& operator=(const AccessibleTreeGtk&) = delete;

  // The control an object stands for, while it is shown in this tree; null otherwise.
  Control* ControlOf(uint32_t id) const;
  // The object of a shown control, made on first use; the reference stays ours.
  AtkObject* ObjectOf(Control& control);
  // Accessible children of a control, or of the window for null.
  std::vector<Control*> ChildrenOf(const Control* control);
  // The accessible parent's object: the window's for the root's children.
  AtkObject* ParentOf(const Control& control);
  // A control's bounds in GTK's logical pixels, relative to the window or to the screen.
  Rect WindowBounds(const Control& control) const;
  Rect ScreenBounds(const Control& control) const;
  // Runs a control's default action from the main loop, not inside the client's call: the
  // action may open a modal window, and the bridge answers the client only afterwards.
  void DefaultActionLater(uint32_t id);

  // The window took the keyboard focus: clients hear which control holds it, as they do
  // when a native window is activated.
  void WindowFocused();

  void OnAccessibilityEvent(Control& control, AccessibleEvent event) override;

 private:
  struct Entry {
    Control* control = nullptr;
    GObjectPtr<AtkObject> object;
    std::vector<uint32_t> announced;  // children as last told to clients
    std::wstring text;                // value as last told to clients (text objects)
  };

  AtkObject* WindowObject() const;
  Control* InTree(Control& control) const;  // the control, or its accessible parent for layouts
  void AnnounceChildren(Control* parent);   // null: the window
  void DropHidden();
  void Drop(uint32_t id);
  void Detach();
  void TextChanged(Entry& entry, Control& control);
  void FocusChanged(Control& control);

  WindowTree* tree_;
  GtkWidget* window_;
  std::map<uint32_t, Entry> entries_;
  std::vector<uint32_t> windowAnnounced_;
  uint32_t focusedId_ = 0;
};

}  // namespace ui
