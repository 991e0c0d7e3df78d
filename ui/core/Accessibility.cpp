#include "ui/core/Accessibility.h"

#include <algorithm>

#include "ui/core/Control.h"
#include "ui/core/WindowTree.h"

namespace ui {

namespace {

void CollectChildren(const Control& control, std::vector<Control*>& out) {
  if (!control.ExposesAccessibleChildren()) return;
  for (int i = 0; i < control.GetChildCount(); ++i) {
    Control* child = control.GetChildAt(i);
    if (child == nullptr || !child->IsAccessiblyShown()) continue;
    if (child->GetAccessibleRole() == AccessibleRole::None) {
      CollectChildren(*child, out);
    } else {
      out.push_back(child);
    }
  }
}

Control* FindById(Control& control, uint32_t id) {
  if (control.AccessibleId() == id) return &control;
  for (int i = 0; i < control.GetChildCount(); ++i) {
    if (Control* child = control.GetChildAt(i); child != nullptr) {
      if (Control* found = FindById(*child, id)) return found;
    }
  }
  return nullptr;
}

void Describe(const Control& control, int depth, std::wstring& out) {
  out.append(static_cast<size_t>(depth) * 2, L' ');
  out += AccessibleRoleName(control.GetAccessibleRole());
  out += L" \"" + control.GetAccessibleName() + L"\"";
  const uint32_t states = control.GetAccessibleStates();
  static constexpr std::pair<AccessibleState, const wchar_t*> kNames[] = {
      {kAccFocusable, L"focusable"}, {kAccFocused, L"focused"},       {kAccCheckable, L"checkable"},
      {kAccChecked, L"checked"},     {kAccSelectable, L"selectable"}, {kAccSelected, L"selected"},
      {kAccDisabled, L"disabled"},   {kAccReadOnly, L"read-only"},    {kAccInvisible, L"invisible"},
      {kAccMultiLine, L"multi-line"}};
  for (const auto& [bit, name] : kNames) {
    if ((states & bit) != 0) out += std::wstring(L" ") + name;
  }
  const std::wstring value = control.GetAccessibleValue();
  if (!value.empty()) out += L" value=\"" + value + L"\"";
  out += L"\n";
  for (Control* child : AccessibleChildren(control)) Describe(*child, depth + 1, out);
}

}  // namespace

std::vector<Control*> AccessibleChildren(const Control& control) {
  std::vector<Control*> children;
  CollectChildren(control, children);
  return children;
}

Control* AccessibleParent(const Control& control) {
  Control* parent = control.GetParent();
  while (parent != nullptr && parent->GetAccessibleRole() == AccessibleRole::None && parent->GetParent() != nullptr) {
    parent = parent->GetParent();
  }
  return parent;
}

std::wstring NameFromLabelBefore(const Control& control) {
  const Control* parent = AccessibleParent(control);
  if (parent == nullptr) return {};
  const std::vector<Control*> siblings = AccessibleChildren(*parent);
  const auto it = std::find(siblings.begin(), siblings.end(), &control);
  if (it == siblings.begin() || it == siblings.end()) return {};
  const Control& before = **(it - 1);
  return before.GetAccessibleRole() == AccessibleRole::StaticText ? before.GetAccessibleName() : std::wstring();
}

bool IsInAccessibleTree(const Control& control) {
  if (control.GetAccessibleRole() == AccessibleRole::None) return false;
  if (!control.IsAccessiblyShown()) return false;
  for (const Control* c = control.GetParent(); c != nullptr; c = c->GetParent()) {
    if (!c->IsAccessiblyShown() || !c->ExposesAccessibleChildren()) return false;
  }
  return true;
}

Control* FindAccessible(const WindowTree& tree, uint32_t id) {
  Control* root = tree.GetRoot();
  if (root == nullptr || id == 0) return nullptr;
  Control* found = FindById(*root, id);
  return found != nullptr && IsInAccessibleTree(*found) ? found : nullptr;
}

Rect AccessibleBounds(const Control& control) {
  return control.GetPos();
}

std::wstring DescribeAccessibleTree(const Control& root) {
  std::wstring out;
  Describe(root, 0, out);
  return out;
}

const wchar_t* AccessibleRoleName(AccessibleRole role) {
  switch (role) {
    case AccessibleRole::None:
      return L"none";
    case AccessibleRole::Window:
      return L"window";
    case AccessibleRole::Pane:
      return L"pane";
    case AccessibleRole::PushButton:
      return L"push button";
    case AccessibleRole::RadioButton:
      return L"radio button";
    case AccessibleRole::CheckBox:
      return L"check box";
    case AccessibleRole::Edit:
      return L"edit";
    case AccessibleRole::List:
      return L"list";
    case AccessibleRole::ListItem:
      return L"list item";
    case AccessibleRole::StaticText:
      return L"static text";
    case AccessibleRole::Document:
      return L"document";
    case AccessibleRole::TabPage:
      return L"tab page";
    case AccessibleRole::Image:
      return L"image";
  }
  return L"unknown";
}

}  // namespace ui
