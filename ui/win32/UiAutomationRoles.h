// How the accessible roles and states of the toolkit's controls read in UI Automation:
// the control type of a role, which patterns a control offers, and what counts as its
// chosen state. Windows build only.
#pragma once

#include "ui/win32/UiAutomationDeclarations.h"

#include "ui/core/Accessibility.h"

namespace ui {

int UiaControlTypeOf(AccessibleRole role);
// Options choose one of their group; a control whose accessible children include
// options offers the group's choice (Selection).
bool IsUiaOptionGroup(const Control& control);
// A chosen option (checked) or a selected list row.
bool IsUiaChosen(const Control& control);
bool SupportsUiaPattern(const Control& control, PATTERNID pattern);

}  // namespace ui
