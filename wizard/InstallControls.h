// Looking up the controls of the install wizard's panels and filling its lists.
//
// Threads: UI thread only.
#pragma once

#include <functional>
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

// Empties the list and names its row controls rowName, their radio options in group;
// more is what else a row control shows of its row.
void PrepareInstallList(ui::List& list, const std::wstring& group, const std::wstring& rowName,
                        std::function<void(ui::ListRow&, int)> more = {});
