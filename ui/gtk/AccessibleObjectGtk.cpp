// Sections: the instance and its types; AtkObject; AtkComponent; AtkAction; AtkText and
// AtkEditableText; AtkSelection; the functions of the header.
#include "ui/gtk/AccessibleObjectGtk.h"

#include <algorithm>
#include <array>
#include <cwchar>
#include <string>

#include "base/WideText.h"
#include "ui/core/Control.h"
#include "ui/gtk/AccessibleTreeGtk.h"

namespace ui {

namespace {

// ---- the instance and its types ------------------------------------------------------

struct ControlAccessible {
  AtkObject parent;
  AccessibleTreeGtk* owner;  // null once defunct
  uint32_t id;
  gchar* name;  // what get_name last returned: ATK lends it to the caller
};

struct ControlAccessibleClass {
  AtkObjectClass parent_class;
};

enum Interfaces : unsigned {
  kAction = 1u << 0,
  kText = 1u << 1,
  kEditableText = 1u << 2,
  kSelection = 1u << 3,
  kAllInterfaces = 1u << 4,
};

gpointer parentClass = nullptr;

ControlAccessible* Self(gpointer object) {
  return reinterpret_cast<ControlAccessible*>(object);
}

Control* LiveControl(gpointer object) {
  ControlAccessible* self = Self(object);
  return self->owner != nullptr ? self->owner->ControlOf(self->id) : nullptr;
}

std::wstring ValueOf(gpointer object) {
  Control* control = LiveControl(object);
  return control != nullptr ? control->GetAccessibleValue() : std::wstring();
}

gchar* CopyUtf8(std::wstring_view text) {
  return g_strdup(WideToUtf8(text).c_str());
}

// ---- AtkObject -----------------------------------------------------------------------

const gchar* GetName(AtkObject* object) {
  ControlAccessible* self = Self(object);
  Control* control = LiveControl(object);
  g_free(self->name);
  self->name = control != nullptr ? CopyUtf8(control->GetAccessibleName()) : nullptr;
  return self->name;
}

AtkObject* GetParent(AtkObject* object) {
  ControlAccessible* self = Self(object);
  Control* control = LiveControl(object);
  return control != nullptr ? self->owner->ParentOf(*control) : nullptr;
}

gint GetNChildren(AtkObject* object) {
  Control* control = LiveControl(object);
  return control != nullptr ? static_cast<gint>(Self(object)->owner->ChildrenOf(control).size()) : 0;
}

AtkObject* RefChild(AtkObject* object, gint index) {
  Control* control = LiveControl(object);
  if (control == nullptr || index < 0) return nullptr;
  const std::vector<Control*> children = Self(object)->owner->ChildrenOf(control);
  if (static_cast<size_t>(index) >= children.size()) return nullptr;
  return ATK_OBJECT(g_object_ref(Self(object)->owner->ObjectOf(*children[static_cast<size_t>(index)])));
}

gint GetIndexInParent(AtkObject* object) {
  ControlAccessible* self = Self(object);
  Control* control = LiveControl(object);
  if (control == nullptr) return -1;
  const std::vector<Control*> siblings = self->owner->ChildrenOf(AccessibleParent(*control));
  const auto found = std::find(siblings.begin(), siblings.end(), control);
  return found == siblings.end() ? -1 : static_cast<gint>(found - siblings.begin());
}

AtkRole GetRole(AtkObject* object) {
  Control* control = LiveControl(object);
  return control != nullptr ? AtkRoleOf(*control) : ATK_ROLE_UNKNOWN;
}

AtkStateSet* RefStateSet(AtkObject* object) {
  AtkStateSet* set = atk_state_set_new();
  Control* control = LiveControl(object);
  if (control == nullptr) {
    atk_state_set_add_state(set, ATK_STATE_DEFUNCT);
    return set;
  }
  const uint32_t states = control->GetAccessibleStates();
  const AccessibleRole role = control->GetAccessibleRole();
  atk_state_set_add_state(set, ATK_STATE_VISIBLE);
  if ((states & kAccInvisible) == 0) atk_state_set_add_state(set, ATK_STATE_SHOWING);
  if ((states & kAccDisabled) == 0) {
    atk_state_set_add_state(set, ATK_STATE_ENABLED);
    atk_state_set_add_state(set, ATK_STATE_SENSITIVE);
  }
  struct Pair {
    uint32_t bit;
    AtkStateType state;
  };
  static constexpr Pair kStates[] = {
      {kAccFocusable, ATK_STATE_FOCUSABLE},   {kAccFocused, ATK_STATE_FOCUSED},
      {kAccCheckable, ATK_STATE_CHECKABLE},   {kAccChecked, ATK_STATE_CHECKED},
      {kAccSelectable, ATK_STATE_SELECTABLE}, {kAccSelected, ATK_STATE_SELECTED},
      {kAccReadOnly, ATK_STATE_READ_ONLY},    {kAccMultiLine, ATK_STATE_MULTI_LINE},
  };
  for (const Pair& pair : kStates) {
    if ((states & pair.bit) != 0) atk_state_set_add_state(set, pair.state);
  }
  if (role == AccessibleRole::Edit || role == AccessibleRole::Document) {
    if ((states & kAccMultiLine) == 0) atk_state_set_add_state(set, ATK_STATE_SINGLE_LINE);
    if ((states & kAccReadOnly) == 0 && role == AccessibleRole::Edit) {
      atk_state_set_add_state(set, ATK_STATE_EDITABLE);
    }
  }
  return set;
}

void Finalize(GObject* object) {
  g_free(Self(object)->name);
  G_OBJECT_CLASS(parentClass)->finalize(object);
}

void ClassInit(gpointer klass, gpointer) {
  parentClass = g_type_class_peek_parent(klass);
  G_OBJECT_CLASS(klass)->finalize = Finalize;
  AtkObjectClass* atk = ATK_OBJECT_CLASS(klass);
  atk->get_name = GetName;
  atk->get_parent = GetParent;
  atk->get_n_children = GetNChildren;
  atk->ref_child = RefChild;
  atk->get_index_in_parent = GetIndexInParent;
  atk->get_role = GetRole;
  atk->ref_state_set = RefStateSet;
}

// ---- AtkComponent --------------------------------------------------------------------

void GetExtents(AtkComponent* component, gint* x, gint* y, gint* width, gint* height, AtkCoordType coords) {
  Rect bounds{-1, -1, -1, -1};
  Control* control = LiveControl(component);
  if (control != nullptr) {
    AccessibleTreeGtk& owner = *Self(component)->owner;
    bounds = coords == ATK_XY_SCREEN ? owner.ScreenBounds(*control) : owner.WindowBounds(*control);
    if (coords == ATK_XY_PARENT) {
      if (Control* parent = AccessibleParent(*control); parent != nullptr && parent->GetParent() != nullptr) {
        const Rect outer = owner.WindowBounds(*parent);
        bounds = {bounds.left - outer.left, bounds.top - outer.top, bounds.right - outer.left,
                  bounds.bottom - outer.top};
      }
    }
  }
  if (x != nullptr) *x = bounds.left;
  if (y != nullptr) *y = bounds.top;
  if (width != nullptr) *width = control != nullptr ? bounds.Width() : -1;
  if (height != nullptr) *height = control != nullptr ? bounds.Height() : -1;
}

gboolean GrabFocus(AtkComponent* component) {
  Control* control = LiveControl(component);
  if (control == nullptr || (control->GetAccessibleStates() & kAccFocusable) == 0) return FALSE;
  control->SetFocus();
  return control->IsFocused();
}

void ComponentInit(gpointer iface, gpointer) {
  auto* component = static_cast<AtkComponentIface*>(iface);
  component->get_extents = GetExtents;
  component->grab_focus = GrabFocus;
}

// ---- AtkAction -----------------------------------------------------------------------

AccessibleAction ActionOf(gpointer object) {
  Control* control = LiveControl(object);
  return control != nullptr ? control->GetDefaultAction() : AccessibleAction::None;
}

gint GetNActions(AtkAction* action) {
  return ActionOf(action) != AccessibleAction::None ? 1 : 0;
}

gboolean DoAction(AtkAction* action, gint index) {
  if (index != 0 || ActionOf(action) == AccessibleAction::None) return FALSE;
  Self(action)->owner->DefaultActionLater(Self(action)->id);
  return TRUE;
}

const gchar* GetActionName(AtkAction* action, gint index) {
  if (index != 0) return nullptr;
  switch (ActionOf(action)) {
    case AccessibleAction::Press:
      return "press";
    case AccessibleAction::Toggle:
      return "toggle";
    case AccessibleAction::Select:
      return "select";
    case AccessibleAction::None:
      break;
  }
  return nullptr;
}

void ActionInit(gpointer iface, gpointer) {
  auto* action = static_cast<AtkActionIface*>(iface);
  action->get_n_actions = GetNActions;
  action->do_action = DoAction;
  action->get_name = GetActionName;
}

// ---- AtkText and AtkEditableText -----------------------------------------------------

gchar* GetText(AtkText* text, gint start, gint end) {
  const std::wstring value = ValueOf(text);
  const auto size = static_cast<gint>(value.size());
  start = std::clamp(start, 0, size);
  end = end < 0 ? size : std::clamp(end, start, size);
  return CopyUtf8(std::wstring_view(value).substr(static_cast<size_t>(start), static_cast<size_t>(end - start)));
}

gint GetCharacterCount(AtkText* text) {
  return static_cast<gint>(ValueOf(text).size());
}

gint GetCaretOffset(AtkText* text) {
  return GetCharacterCount(text);  // the toolkit keeps its caret to itself; typing goes at the end
}

gunichar GetCharacterAtOffset(AtkText* text, gint offset) {
  const std::wstring value = ValueOf(text);
  return offset >= 0 && static_cast<size_t>(offset) < value.size() ? static_cast<gunichar>(value[offset]) : 0;
}

// The piece of text around offset: one character, one word (up to the next space) or one
// line (with its line break); sentences and paragraphs are lines here.
gchar* GetStringAtOffset(AtkText* text, gint offset, AtkTextGranularity granularity, gint* start, gint* end) {
  const std::wstring value = ValueOf(text);
  const auto size = static_cast<gint>(value.size());
  gint from = std::clamp(offset, 0, size);
  gint to = std::min(from + 1, size);
  if (granularity != ATK_TEXT_GRANULARITY_CHAR) {
    const wchar_t* breaks = granularity == ATK_TEXT_GRANULARITY_WORD ? L" \t\n" : L"\n";
    while (from > 0 && std::wcschr(breaks, value[static_cast<size_t>(from - 1)]) == nullptr) --from;
    to = from;
    while (to < size && std::wcschr(breaks, value[static_cast<size_t>(to)]) == nullptr) ++to;
    if (to < size) ++to;  // the break belongs to the piece before it
  }
  if (start != nullptr) *start = from;
  if (end != nullptr) *end = to;
  return CopyUtf8(std::wstring_view(value).substr(static_cast<size_t>(from), static_cast<size_t>(to - from)));
}

void TextInit(gpointer iface, gpointer) {
  auto* text = static_cast<AtkTextIface*>(iface);
  text->get_text = GetText;
  text->get_character_count = GetCharacterCount;
  text->get_caret_offset = GetCaretOffset;
  text->get_character_at_offset = GetCharacterAtOffset;
  text->get_string_at_offset = GetStringAtOffset;
}

bool SetValue(gpointer object, const std::wstring& value) {
  Control* control = LiveControl(object);
  return control != nullptr && control->SetAccessibleValue(value);
}

void SetTextContents(AtkEditableText* text, const gchar* contents) {
  SetValue(text, Utf8ToWide(contents != nullptr ? contents : ""));
}

void InsertText(AtkEditableText* text, const gchar* inserted, gint length, gint* position) {
  if (inserted == nullptr || position == nullptr) return;
  std::wstring value = ValueOf(text);
  const std::wstring piece = Utf8ToWide(length < 0 ? std::string_view(inserted) : std::string_view(inserted, length));
  const auto at = static_cast<size_t>(std::clamp(*position, 0, static_cast<gint>(value.size())));
  value.insert(at, piece);
  if (SetValue(text, value)) *position = static_cast<gint>(at + piece.size());
}

void DeleteText(AtkEditableText* text, gint start, gint end) {
  std::wstring value = ValueOf(text);
  const auto size = static_cast<gint>(value.size());
  start = std::clamp(start, 0, size);
  end = end < 0 ? size : std::clamp(end, start, size);
  value.erase(static_cast<size_t>(start), static_cast<size_t>(end - start));
  SetValue(text, value);
}

void EditableTextInit(gpointer iface, gpointer) {
  auto* editable = static_cast<AtkEditableTextIface*>(iface);
  editable->set_text_contents = SetTextContents;
  editable->insert_text = InsertText;
  editable->delete_text = DeleteText;
}

// ---- AtkSelection --------------------------------------------------------------------

bool IsChosen(const Control& child) {
  return (child.GetAccessibleStates() & (kAccSelected | kAccChecked)) != 0;
}

std::vector<Control*> Chosen(gpointer object) {
  std::vector<Control*> chosen;
  if (Control* control = LiveControl(object)) {
    for (Control* child : Self(object)->owner->ChildrenOf(control)) {
      if (IsChosen(*child)) chosen.push_back(child);
    }
  }
  return chosen;
}

Control* ChildAt(gpointer object, gint index) {
  Control* control = LiveControl(object);
  if (control == nullptr || index < 0) return nullptr;
  const std::vector<Control*> children = Self(object)->owner->ChildrenOf(control);
  return static_cast<size_t>(index) < children.size() ? children[static_cast<size_t>(index)] : nullptr;
}

gboolean AddSelection(AtkSelection* selection, gint index) {
  Control* child = ChildAt(selection, index);
  if (child == nullptr || child->GetDefaultAction() != AccessibleAction::Select) return FALSE;
  Self(selection)->owner->DefaultActionLater(child->AccessibleId());
  return TRUE;
}

gboolean NoSelectionChange(AtkSelection*) {
  return FALSE;  // one chosen row or option at a time, and always one
}

AtkObject* RefSelection(AtkSelection* selection, gint index) {
  const std::vector<Control*> chosen = Chosen(selection);
  if (index < 0 || static_cast<size_t>(index) >= chosen.size()) return nullptr;
  return ATK_OBJECT(g_object_ref(Self(selection)->owner->ObjectOf(*chosen[static_cast<size_t>(index)])));
}

gint GetSelectionCount(AtkSelection* selection) {
  return static_cast<gint>(Chosen(selection).size());
}

gboolean IsChildSelected(AtkSelection* selection, gint index) {
  const Control* child = ChildAt(selection, index);
  return child != nullptr && IsChosen(*child);
}

void SelectionInit(gpointer iface, gpointer) {
  auto* selection = static_cast<AtkSelectionIface*>(iface);
  selection->add_selection = AddSelection;
  selection->clear_selection = NoSelectionChange;
  selection->ref_selection = RefSelection;
  selection->get_selection_count = GetSelectionCount;
  selection->is_child_selected = IsChildSelected;
  selection->select_all_selection = NoSelectionChange;
}

// One type per set of interfaces, so that a client sees only what the control can do.
GType TypeFor(unsigned interfaces) {
  static std::array<GType, kAllInterfaces> types{};
  GType& type = types[interfaces];
  if (type != 0) return type;
  GTypeInfo info{};
  info.class_size = sizeof(ControlAccessibleClass);
  info.class_init = ClassInit;
  info.instance_size = sizeof(ControlAccessible);
  const std::string name = "QuorvelAccessible" + std::to_string(interfaces);
  type = g_type_register_static(ATK_TYPE_OBJECT, name.c_str(), &info, static_cast<GTypeFlags>(0));
  const auto add = [&](GType iface, GInterfaceInitFunc init) {
    const GInterfaceInfo ifaceInfo{init, nullptr, nullptr};
    g_type_add_interface_static(type, iface, &ifaceInfo);
  };
  add(ATK_TYPE_COMPONENT, ComponentInit);
  if ((interfaces & kAction) != 0) add(ATK_TYPE_ACTION, ActionInit);
  if ((interfaces & kText) != 0) add(ATK_TYPE_TEXT, TextInit);
  if ((interfaces & kEditableText) != 0) add(ATK_TYPE_EDITABLE_TEXT, EditableTextInit);
  if ((interfaces & kSelection) != 0) add(ATK_TYPE_SELECTION, SelectionInit);
  return type;
}

unsigned InterfacesOf(AccessibleTreeGtk& owner, Control& control) {
  unsigned interfaces = 0;
  const AccessibleRole role = control.GetAccessibleRole();
  if (control.GetDefaultAction() != AccessibleAction::None) interfaces |= kAction;
  if (role == AccessibleRole::Edit || role == AccessibleRole::Document) interfaces |= kText;
  if (role == AccessibleRole::Edit) interfaces |= kEditableText;
  if (role == AccessibleRole::List) interfaces |= kSelection;
  // A group of options: the chosen option is its selection.
  for (Control* child : owner.ChildrenOf(&control)) {
    if (child->GetAccessibleRole() == AccessibleRole::RadioButton) interfaces |= kSelection;
  }
  return interfaces;
}

}  // namespace

// ---- the functions of the header -----------------------------------------------------

AtkObject* NewAccessibleObject(AccessibleTreeGtk& owner, Control& control) {
  auto* object = static_cast<AtkObject*>(g_object_new(TypeFor(InterfacesOf(owner, control)), nullptr));
  Self(object)->owner = &owner;
  Self(object)->id = control.AccessibleId();
  object->role = AtkRoleOf(control);
  return object;
}

void MarkAccessibleDefunct(AtkObject* object) {
  if (Self(object)->owner == nullptr) return;
  Self(object)->owner = nullptr;
  atk_object_notify_state_change(object, ATK_STATE_DEFUNCT, TRUE);
}

uint32_t AccessibleObjectId(AtkObject* object) {
  return Self(object)->id;
}

AccessibleTreeGtk* AccessibleObjectOwner(AtkObject* object) {
  return Self(object)->owner;
}

AtkRole AtkRoleOf(const Control& control) {
  switch (control.GetAccessibleRole()) {
    case AccessibleRole::Window:
      return ATK_ROLE_FRAME;
    case AccessibleRole::Pane:
    case AccessibleRole::TabPage:  // a wizard page: no tab strip goes with it
      return ATK_ROLE_PANEL;
    case AccessibleRole::PushButton:
      return ATK_ROLE_PUSH_BUTTON;
    case AccessibleRole::RadioButton:
      return ATK_ROLE_RADIO_BUTTON;
    case AccessibleRole::CheckBox:
      return ATK_ROLE_CHECK_BOX;
    case AccessibleRole::Edit:
      return ATK_ROLE_ENTRY;
    case AccessibleRole::List:
      return ATK_ROLE_LIST;
    case AccessibleRole::ListItem:
      return ATK_ROLE_LIST_ITEM;
    case AccessibleRole::StaticText:
      return ATK_ROLE_LABEL;
    case AccessibleRole::Document:
      return ATK_ROLE_DOCUMENT_TEXT;
    case AccessibleRole::Image:
      return ATK_ROLE_IMAGE;
    case AccessibleRole::None:
      break;
  }
  return ATK_ROLE_UNKNOWN;
}

}  // namespace ui
