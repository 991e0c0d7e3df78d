#include "ui/win32/UiAutomationRoles.h"

#include "ui/core/Control.h"

namespace ui {

int UiaControlTypeOf(AccessibleRole role) {
  switch (role) {
    case AccessibleRole::Window:
      return uia::kWindowControl;
    case AccessibleRole::PushButton:
      return uia::kButtonControl;
    case AccessibleRole::RadioButton:
      return uia::kRadioButtonControl;
    case AccessibleRole::CheckBox:
      return uia::kCheckBoxControl;
    case AccessibleRole::Edit:
      return uia::kEditControl;
    case AccessibleRole::List:
      return uia::kListControl;
    case AccessibleRole::ListItem:
      return uia::kListItemControl;
    case AccessibleRole::StaticText:
      return uia::kTextControl;
    case AccessibleRole::Document:
      return uia::kDocumentControl;
    case AccessibleRole::Image:
      return uia::kImageControl;
    case AccessibleRole::None:
    case AccessibleRole::Pane:
    case AccessibleRole::TabPage:
      break;
  }
  return uia::kPaneControl;
}

bool IsUiaOptionGroup(const Control& control) {
  for (const Control* child : AccessibleChildren(control)) {
    if (child->GetAccessibleRole() == AccessibleRole::RadioButton) return true;
  }
  return false;
}

bool IsUiaChosen(const Control& control) {
  const uint32_t states = control.GetAccessibleStates();
  if (control.GetAccessibleRole() == AccessibleRole::RadioButton) return (states & kAccChecked) != 0;
  return (states & kAccSelected) != 0;
}

bool SupportsUiaPattern(const Control& control, PATTERNID pattern) {
  const AccessibleRole role = control.GetAccessibleRole();
  switch (pattern) {
    case uia::kInvokePattern:
      return role == AccessibleRole::PushButton;
    case uia::kTogglePattern:
      // Rows of a list of check boxes toggle their mark instead of being chosen.
      return role == AccessibleRole::CheckBox ||
             (role == AccessibleRole::ListItem && control.GetDefaultAction() == AccessibleAction::Toggle);
    case uia::kSelectionItemPattern:
      return role == AccessibleRole::RadioButton ||
             (role == AccessibleRole::ListItem && control.GetDefaultAction() != AccessibleAction::Toggle);
    case uia::kSelectionPattern:
      return role == AccessibleRole::List || IsUiaOptionGroup(control);
    case uia::kValuePattern:
      return role == AccessibleRole::Edit || role == AccessibleRole::Document;
    default:
      return false;
  }
}

}  // namespace ui
