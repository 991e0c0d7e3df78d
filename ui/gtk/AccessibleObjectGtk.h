// The AtkObject of one control: its role, name, states, parent and children come from
// the control each time they are asked for, through the AccessibleTreeGtk that made it.
// Which ATK interfaces an object has follows its role and default action: every object
// is an AtkComponent (extents, grab focus); controls with a default action add AtkAction,
// edits and log panes AtkText (edits also AtkEditableText), lists and groups of options
// AtkSelection. An object whose control left the tree answers as defunct.
//
// Threads: UI thread only.
#pragma once

#include <atk/atk.h>

#include <cstdint>

namespace ui {

class AccessibleTreeGtk;
class Control;

// A new object (one reference, the caller's) for a control of owner's tree.
AtkObject* NewAccessibleObject(AccessibleTreeGtk& owner, Control& control);
// Cuts the object from its control; it answers as defunct from now on.
void MarkAccessibleDefunct(AtkObject* object);
uint32_t AccessibleObjectId(AtkObject* object);
// The adapter that made the object; null once it is defunct.
AccessibleTreeGtk* AccessibleObjectOwner(AtkObject* object);
// The ATK role of one of ours.
AtkRole AtkRoleOf(const Control& control);

}  // namespace ui
