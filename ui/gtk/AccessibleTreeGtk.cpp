// Sections: lifetime; the tree as clients see it; events.
#include "ui/gtk/AccessibleTreeGtk.h"

#include <algorithm>
#include <set>

#include "base/WideText.h"
#include "ui/core/Control.h"
#include "ui/core/WindowTree.h"
#include "ui/gtk/AccessibleObjectGtk.h"

namespace ui {

namespace {

std::vector<uint32_t> IdsOf(const std::vector<Control*>& controls) {
  std::vector<uint32_t> ids;
  ids.reserve(controls.size());
  for (const Control* control : controls) ids.push_back(control->AccessibleId());
  return ids;
}

// A default action waiting for the main loop: the object's control, unless it went defunct
// in between (then its owner may be gone too).
gboolean RunPendingAction(gpointer object) {
  GuardGtkCallback("accessible action", 0, [&] {
    AtkObject* pending = ATK_OBJECT(object);
    if (AccessibleTreeGtk* owner = AccessibleObjectOwner(pending)) {
      if (Control* control = owner->ControlOf(AccessibleObjectId(pending))) control->DoDefaultAction();
    }
    return 0;
  });
  return G_SOURCE_REMOVE;
}

}  // namespace

// ---- lifetime ------------------------------------------------------------------------

AccessibleTreeGtk::AccessibleTreeGtk(WindowTree& tree, GtkWidget* window) : tree_(&tree), window_(window) {
  tree_->AddAccessibilityListener(this);
  windowAnnounced_ = IdsOf(ChildrenOf(nullptr));
  if (Control* focus = tree_->GetFocus()) focusedId_ = focus->AccessibleId();
}

AccessibleTreeGtk::~AccessibleTreeGtk() {
  Detach();
}

void AccessibleTreeGtk::Detach() {
  if (tree_ != nullptr) tree_->RemoveAccessibilityListener(this);
  tree_ = nullptr;
  std::map<uint32_t, Entry> entries = std::move(entries_);
  entries_.clear();
  for (auto& [id, entry] : entries) MarkAccessibleDefunct(entry.object.get());
}

// ---- the tree as clients see it --------------------------------------------------------

Control* AccessibleTreeGtk::ControlOf(uint32_t id) const {
  const auto found = entries_.find(id);
  if (found == entries_.end() || tree_ == nullptr) return nullptr;
  Control* control = found->second.control;
  return IsInAccessibleTree(*control) ? control : nullptr;
}

AtkObject* AccessibleTreeGtk::ObjectOf(Control& control) {
  const uint32_t id = control.AccessibleId();
  if (auto found = entries_.find(id); found != entries_.end()) return found->second.object.get();
  Entry entry;
  entry.control = &control;
  entry.announced = IdsOf(AccessibleChildren(control));
  entry.text = control.GetAccessibleValue();
  entry.object.reset(NewAccessibleObject(*this, control));
  return entries_.emplace(id, std::move(entry)).first->second.object.get();
}

std::vector<Control*> AccessibleTreeGtk::ChildrenOf(const Control* control) {
  if (tree_ == nullptr) return {};
  if (control == nullptr) control = tree_->GetRoot();
  if (control == nullptr) return {};
  return AccessibleChildren(*control);
}

AtkObject* AccessibleTreeGtk::WindowObject() const {
  return gtk_widget_get_accessible(window_);
}

AtkObject* AccessibleTreeGtk::ParentOf(const Control& control) {
  Control* parent = AccessibleParent(control);
  if (parent == nullptr || parent->GetParent() == nullptr) return WindowObject();
  return ObjectOf(*parent);
}

Rect AccessibleTreeGtk::WindowBounds(const Control& control) const {
  const int scale = std::max(1, gtk_widget_get_scale_factor(window_));
  const Rect bounds = AccessibleBounds(control);
  return {bounds.left / scale, bounds.top / scale, bounds.right / scale, bounds.bottom / scale};
}

Rect AccessibleTreeGtk::ScreenBounds(const Control& control) const {
  Rect bounds = WindowBounds(control);
  int x = 0, y = 0;
  if (GdkWindow* window = gtk_widget_get_window(window_)) gdk_window_get_origin(window, &x, &y);
  return {bounds.left + x, bounds.top + y, bounds.right + x, bounds.bottom + y};
}

void AccessibleTreeGtk::DefaultActionLater(uint32_t id) {
  const auto found = entries_.find(id);
  if (found == entries_.end()) return;
  g_idle_add_full(G_PRIORITY_DEFAULT_IDLE, RunPendingAction, g_object_ref(found->second.object.get()), g_object_unref);
}

// ---- events --------------------------------------------------------------------------

Control* AccessibleTreeGtk::InTree(Control& control) const {
  if (control.GetAccessibleRole() != AccessibleRole::None || control.GetParent() == nullptr) return &control;
  return AccessibleParent(control);
}

void AccessibleTreeGtk::OnAccessibilityEvent(Control& control, AccessibleEvent event) {
  if (tree_ == nullptr) return;
  if (event == AccessibleEvent::Destroyed) {
    // Only the id may be read here; a tree without root is going away.
    if (tree_->GetRoot() == nullptr) {
      Detach();
    } else {
      Drop(control.AccessibleId());
    }
    return;
  }
  const auto found = entries_.find(control.AccessibleId());
  AtkObject* object = found != entries_.end() ? found->second.object.get() : nullptr;
  switch (event) {
    case AccessibleEvent::FocusChanged:
      FocusChanged(control);
      break;
    case AccessibleEvent::Toggled:
      if (object != nullptr) {
        const bool checked = (control.GetAccessibleStates() & kAccChecked) != 0;
        atk_object_notify_state_change(object, ATK_STATE_CHECKED, checked);
      }
      break;
    case AccessibleEvent::SelectionChanged:
      if (object != nullptr) {
        const uint32_t states = control.GetAccessibleStates();
        if ((states & kAccSelectable) != 0) {
          atk_object_notify_state_change(object, ATK_STATE_SELECTED, (states & kAccSelected) != 0);
        }
      }
      if (Control* parent = AccessibleParent(control); parent != nullptr && IsInAccessibleTree(control)) {
        AtkObject* group = ParentOf(control);
        if (ATK_IS_SELECTION(group)) g_signal_emit_by_name(group, "selection-changed");
      }
      break;
    case AccessibleEvent::ValueChanged:
      if (found != entries_.end()) TextChanged(found->second, control);
      break;
    case AccessibleEvent::StateChanged:
      if (object != nullptr) {
        const bool enabled = (control.GetAccessibleStates() & kAccDisabled) == 0;
        atk_object_notify_state_change(object, ATK_STATE_ENABLED, enabled);
        atk_object_notify_state_change(object, ATK_STATE_SENSITIVE, enabled);
      }
      break;
    case AccessibleEvent::NameChanged:
      if (object != nullptr) g_object_notify(G_OBJECT(object), "accessible-name");
      break;
    case AccessibleEvent::ChildrenChanged: {
      Control* parent = InTree(control);
      AnnounceChildren(parent == tree_->GetRoot() ? nullptr : parent);
      DropHidden();
      break;
    }
    case AccessibleEvent::Destroyed:
      break;
  }
}

void AccessibleTreeGtk::WindowFocused() {
  if (tree_ == nullptr) return;
  if (Control* focus = tree_->GetFocus()) FocusChanged(*focus);
}

// The model may tell of the control that lost the focus as well as of the one that took
// it, in either order; the object that was focused hears "focused" off exactly once.
void AccessibleTreeGtk::FocusChanged(Control& control) {
  const uint32_t id = control.AccessibleId();
  const bool focused = control.IsFocused() && IsInAccessibleTree(control);
  if (!focused && focusedId_ != id) return;
  if (focusedId_ != 0 && (focusedId_ != id || !focused)) {
    if (auto old = entries_.find(focusedId_); old != entries_.end()) {
      atk_object_notify_state_change(old->second.object.get(), ATK_STATE_FOCUSED, FALSE);
    }
    focusedId_ = 0;
  }
  if (!focused) return;
  focusedId_ = id;
  atk_object_notify_state_change(ObjectOf(control), ATK_STATE_FOCUSED, TRUE);
}

// Tells clients which children left and which came, by their places in the old and in
// the new list, as GTK's containers do.
void AccessibleTreeGtk::AnnounceChildren(Control* parent) {
  std::vector<uint32_t>* announced = &windowAnnounced_;
  AtkObject* object = WindowObject();
  if (parent != nullptr) {
    const auto found = entries_.find(parent->AccessibleId());
    if (found == entries_.end()) return;  // no client knows it yet
    announced = &found->second.announced;
    object = found->second.object.get();
  }
  const std::vector<Control*> now = ChildrenOf(parent);
  const std::vector<uint32_t> nowIds = IdsOf(now);
  const std::set<uint32_t> stay(nowIds.begin(), nowIds.end());
  const std::set<uint32_t> before(announced->begin(), announced->end());
  const std::vector<uint32_t> old = std::move(*announced);
  *announced = nowIds;
  for (size_t i = old.size(); i-- > 0;) {
    if (stay.count(old[i]) != 0) continue;
    if (auto gone = entries_.find(old[i]); gone != entries_.end()) {
      g_signal_emit_by_name(object, "children-changed::remove", static_cast<guint>(i), gone->second.object.get());
    }
  }
  for (size_t i = 0; i < now.size(); ++i) {
    if (before.count(nowIds[i]) != 0) continue;
    g_signal_emit_by_name(object, "children-changed::add", static_cast<guint>(i), ObjectOf(*now[i]));
  }
}

// Objects of controls that are hidden now go defunct; the control gets a new one when it
// is shown again.
void AccessibleTreeGtk::DropHidden() {
  std::vector<uint32_t> hidden;
  for (const auto& [id, entry] : entries_) {
    if (!IsInAccessibleTree(*entry.control)) hidden.push_back(id);
  }
  for (uint32_t id : hidden) Drop(id);
}

void AccessibleTreeGtk::Drop(uint32_t id) {
  const auto found = entries_.find(id);
  if (found == entries_.end()) return;
  GObjectPtr<AtkObject> object = std::move(found->second.object);
  entries_.erase(found);
  if (focusedId_ == id) focusedId_ = 0;
  MarkAccessibleDefunct(object.get());
}

// The change as one removed and one inserted stretch: what lies between the unchanged
// start and the unchanged end. A log pane that gains a line inserts only that line.
void AccessibleTreeGtk::TextChanged(Entry& entry, Control& control) {
  if (!ATK_IS_TEXT(entry.object.get())) return;
  std::wstring now = control.GetAccessibleValue();
  const std::wstring& old = entry.text;
  size_t head = 0;
  while (head < old.size() && head < now.size() && old[head] == now[head]) ++head;
  size_t tail = 0;
  while (tail < old.size() - head && tail < now.size() - head &&
         old[old.size() - 1 - tail] == now[now.size() - 1 - tail]) {
    ++tail;
  }
  const std::wstring removed = old.substr(head, old.size() - head - tail);
  const std::wstring inserted = now.substr(head, now.size() - head - tail);
  entry.text = std::move(now);
  AtkObject* object = entry.object.get();
  if (!removed.empty()) {
    g_signal_emit_by_name(object, "text-remove::system", static_cast<gint>(head), static_cast<gint>(removed.size()),
                          WideToUtf8(removed).c_str());
  }
  if (!inserted.empty()) {
    g_signal_emit_by_name(object, "text-insert::system", static_cast<gint>(head), static_cast<gint>(inserted.size()),
                          WideToUtf8(inserted).c_str());
  }
}

}  // namespace ui
