// Lets a window create controls of its own classes while its layout is built: the layout
// builder asks for every element name that is not a class of the toolkit.
//
// Threads: UI thread only.
#pragma once

#include <memory>
#include <string_view>

namespace ui {

class Control;

class IDialogBuilderCallback {
 public:
  virtual ~IDialogBuilderCallback() = default;
  // A new control for the element name, or null when the name is unknown here too.
  virtual std::unique_ptr<Control> CreateControl(std::wstring_view className) = 0;
};

}  // namespace ui
