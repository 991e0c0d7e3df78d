// Looking up the controls of the install wizard's panels and filling its lists.
//
// Threads: UI thread only.
#pragma once

#include <string>
#include <string_view>

#include "ui/core/Control.h"

namespace ui {
class List;
class ListRow;
}  // namespace ui

// The control of that name inside "tab_switch_install", or null.
ui::Control* FindInstallControl(std::wstring_view name);
template <class T>
T* FindInstallControl(std::wstring_view name) {
  return dynamic_cast<T*>(FindInstallControl(name));
}

// A row from the row template, named rowName, its radio option in group.
ui::ListRow* AddInstallRow(ui::List& list, std::wstring_view templateFile, const std::wstring& group,
                           const std::wstring& rowName);
