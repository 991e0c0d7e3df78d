// Records the accessibility events of one window as "event:name" lines (the control's
// accessible name, else its control name), for tests of the model and of the pages.
#pragma once

#include <string>
#include <vector>

#include "ui/core/Accessibility.h"
#include "ui/core/Control.h"
#include "ui/core/WindowTree.h"

namespace uitest {

inline const wchar_t* EventName(ui::AccessibleEvent event) {
  switch (event) {
    case ui::AccessibleEvent::FocusChanged:
      return L"focus";
    case ui::AccessibleEvent::Toggled:
      return L"toggled";
    case ui::AccessibleEvent::SelectionChanged:
      return L"selection";
    case ui::AccessibleEvent::ValueChanged:
      return L"value";
    case ui::AccessibleEvent::NameChanged:
      return L"name";
    case ui::AccessibleEvent::ChildrenChanged:
      return L"children";
    case ui::AccessibleEvent::StateChanged:
      return L"state";
    case ui::AccessibleEvent::Destroyed:
      return L"destroyed";
  }
  return L"?";
}

class AccessibilityRecorder final : public ui::AccessibilityListener {
 public:
  explicit AccessibilityRecorder(ui::WindowTree& tree) : tree_(tree) { tree_.AddAccessibilityListener(this); }
  ~AccessibilityRecorder() override { tree_.RemoveAccessibilityListener(this); }
  AccessibilityRecorder(const AccessibilityRecorder&) = delete;
  AccessibilityRecorder& operator=(const AccessibilityRecorder&) = delete;

  void OnAccessibilityEvent(ui::Control& control, ui::AccessibleEvent event) override {
    std::wstring who = event == ui::AccessibleEvent::Destroyed ? std::wstring() : control.GetAccessibleName();
    if (who.empty()) who = control.GetName();
    lines.push_back(std::wstring(EventName(event)) + L":" + who);
  }
  // Whether a line was recorded, and how often.
  bool Has(const std::wstring& line) const { return Count(line) > 0; }
  int Count(const std::wstring& line) const {
    int count = 0;
    for (const std::wstring& recorded : lines) count += recorded == line ? 1 : 0;
    return count;
  }

  std::vector<std::wstring> lines;

 private:
  ui::WindowTree& tree_;
};

}  // namespace uitest
