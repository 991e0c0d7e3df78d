// What assistive technology reads of the toolkit's controls, with no platform code: each
// control answers its role, name, states, bounds, default action and value; the tree of
// accessible controls follows the layout without hidden controls and without plain
// layout containers; changes are raised as events through AccessibilityListener. The
// hosts adapt this model to the platform's own interfaces (UI Automation, ATK).
//
// Threads: UI thread only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/core/Geometry.h"

namespace ui {

class Control;
class WindowTree;

enum class AccessibleRole {
  None,  // not in the tree itself: its accessible children take its place (plain layouts)
  Window,
  Pane,
  PushButton,
  RadioButton,
  CheckBox,
  Edit,
  List,
  ListItem,
  StaticText,
  Document,  // log panes: read-only multi-line text
  TabPage,
  Image,
};

// Bits of Control::GetAccessibleStates().
enum AccessibleState : uint32_t {
  kAccFocusable = 1u << 0,
  kAccFocused = 1u << 1,
  kAccCheckable = 1u << 2,  // check boxes and options, whether checked or not
  kAccChecked = 1u << 3,
  kAccSelectable = 1u << 4,  // list rows
  kAccSelected = 1u << 5,
  kAccDisabled = 1u << 6,
  kAccReadOnly = 1u << 7,
  kAccInvisible = 1u << 8,  // shown but scrolled out of view
  kAccMultiLine = 1u << 9,
};

enum class AccessibleAction { None, Press, Toggle, Select };

enum class AccessibleEvent {
  FocusChanged,      // the control took the keyboard focus
  Toggled,           // checked state of a check box or option
  SelectionChanged,  // a list row or an option of a group became the chosen one
  ValueChanged,      // an edit's or a log pane's text
  NameChanged,       // the visible text or the language changed
  ChildrenChanged,   // controls shown, hidden, added or removed below this one (page switch, list refill)
  StateChanged,      // enabled or disabled
  Destroyed,         // the control leaves the tree: adapters drop what they hold of it
};

// Receives the events of one window's controls; the hosts' adapters and tests register
// one with WindowTree::AddAccessibilityListener.
class AccessibilityListener {
 public:
  virtual ~AccessibilityListener() = default;
  virtual void OnAccessibilityEvent(Control& control, AccessibleEvent event) = 0;
};

// The tree as assistive technology sees it.
// The accessible children of a control: its shown children in layout order, with each
// child of role None replaced by its own accessible children.
std::vector<Control*> AccessibleChildren(const Control& control);
// The nearest ancestor that is in the tree (the root has none).
Control* AccessibleParent(const Control& control);
// Whether assistive technology sees it now: shown, every ancestor shown, no ancestor that
// speaks for its parts, and a role of its own.
bool IsInAccessibleTree(const Control& control);
// A control by its accessible id, when it is still in that window's tree; null otherwise.
Control* FindAccessible(const WindowTree& tree, uint32_t id);
// The name of the static text just before it among its accessible siblings, as a
// dialog names an edit by the label before it; empty when a control comes between.
std::wstring NameFromLabelBefore(const Control& control);
// Bounds in the window's client pixels; the screen bounds add the client origin.
Rect AccessibleBounds(const Control& control);

// One line per accessible control, indented by depth: role, name in quotes, states and
// value; what tests and the snapshot tool print.
std::wstring DescribeAccessibleTree(const Control& root);
const wchar_t* AccessibleRoleName(AccessibleRole role);

}  // namespace ui
