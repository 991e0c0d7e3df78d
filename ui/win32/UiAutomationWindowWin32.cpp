#include "ui/win32/UiAutomationWindow.h"

#include <functional>
#include <string>

#include "ui/core/Control.h"
#include "ui/core/Host.h"
#include "ui/core/WindowTree.h"
#include "ui/win32/UiAutomationCore.h"
#include "ui/win32/UiAutomationRoles.h"
#include "ui/win32/UiAutomationVariant.h"

namespace ui {

namespace {

UINT InvokeMessage() {
  static const UINT message = RegisterWindowMessageW(L"QuorvelUiAutomationInvoke");
  return message;
}

}  // namespace

UiAutomationWindow::UiAutomationWindow(HWND window, HostWindowEvents& events)
    : events_(events), link_(std::make_shared<UiAutomationLink>()) {
  link_->window = window;
  link_->uiThread = GetCurrentThreadId();
  link_->owner = this;
}

UiAutomationWindow::~UiAutomationWindow() {
  // The tree may be gone already: only the elements are told.
  link_->owner = nullptr;
  for (auto& [id, element] : elements_) element->Disconnect();
}

UINT UiAutomationWindow::RunMessage() {
  static const UINT message = RegisterWindowMessageW(L"QuorvelUiAutomationRun");
  return message;
}

LRESULT UiAutomationWindow::AnswerGetObject(WPARAM wParam, LPARAM lParam) {
  // Other object ids (the system's own accessibility objects) are the system's to answer;
  // the library is loaded only when a client asks for UI Automation.
  if (static_cast<LONG>(lParam) != uia::kRootObjectId || link_->owner == nullptr) {
    return DefWindowProcW(link_->window, WM_GETOBJECT, wParam, lParam);
  }
  const UiAutomationCore& core = UiAutomationCore::Current();
  if (core.returnRawElementProvider == nullptr) return DefWindowProcW(link_->window, WM_GETOBJECT, wParam, lParam);
  WindowTree* tree = events_.AccessibleTree();
  if (tree == nullptr || tree->GetRoot() == nullptr) return DefWindowProcW(link_->window, WM_GETOBJECT, wParam, lParam);
  if (tree_ != tree) {
    if (tree_ != nullptr) tree_->RemoveAccessibilityListener(this);
    tree_ = tree;
    tree_->AddAccessibilityListener(this);
  }
  UiAutomationElement* root = ElementFor(*tree->GetRoot());
  return core.returnRawElementProvider(link_->window, wParam, lParam, root != nullptr ? root->Simple() : nullptr);
}

bool UiAutomationWindow::HandleOwnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == RunMessage()) {
    if (lParam != 0) (*reinterpret_cast<std::function<void()>*>(lParam))();
    return true;
  }
  if (message != InvokeMessage()) return false;
  Control* control = tree_ != nullptr ? FindAccessible(*tree_, static_cast<uint32_t>(wParam)) : nullptr;
  if (control == nullptr || !control->IsEnabled() || !SupportsUiaPattern(*control, uia::kInvokePattern)) return true;
  const UiAutomationCore& core = UiAutomationCore::Current();
  // Raised first: the action may close the window and take the element with it.
  if (core.raiseAutomationEvent != nullptr && core.Listening()) {
    if (UiAutomationElement* element = ElementFor(*control))
      core.raiseAutomationEvent(element->Simple(), uia::kInvokedEvent);
  }
  events_.DoAccessibleAction(control->AccessibleId());  // may delete this
  return true;
}

void UiAutomationWindow::Detach() {
  if (tree_ != nullptr) tree_->RemoveAccessibilityListener(this);
  tree_ = nullptr;
  link_->owner = nullptr;
  const UiAutomationCore& core = UiAutomationCore::Current();
  for (auto& [id, element] : elements_) {
    element->Disconnect();
    if (core.disconnectProvider != nullptr) core.disconnectProvider(element->Simple());
  }
  elements_.clear();
  // Lets the core drop what it holds of this window's providers.
  if (core.returnRawElementProvider != nullptr) core.returnRawElementProvider(link_->window, 0, 0, nullptr);
}

UiAutomationElement* UiAutomationWindow::ElementFor(Control& control) {
  if (tree_ == nullptr || link_->owner == nullptr) return nullptr;
  const uint32_t id = control.AccessibleId();
  if (auto found = elements_.find(id); found != elements_.end()) return found->second.get();
  const bool root = &control == tree_->GetRoot();
  auto [slot, added] = elements_.emplace(id, ElementRef(new UiAutomationElement(link_, id, root)));
  return slot->second.get();
}

bool UiAutomationWindow::DoAction(uint32_t controlId) {
  return events_.DoAccessibleAction(controlId);
}

bool UiAutomationWindow::ChangeValue(uint32_t controlId, const std::wstring& value) {
  return events_.SetAccessibleValue(controlId, value);
}

void UiAutomationWindow::PostInvoke(uint32_t controlId) {
  PostMessageW(link_->window, InvokeMessage(), static_cast<WPARAM>(controlId), 0);
}

void UiAutomationWindow::Forget(uint32_t controlId) {
  auto found = elements_.find(controlId);
  if (found == elements_.end()) return;
  found->second->Disconnect();
  const UiAutomationCore& core = UiAutomationCore::Current();
  if (core.disconnectProvider != nullptr) core.disconnectProvider(found->second->Simple());
  elements_.erase(found);
}

void UiAutomationWindow::OnAccessibilityEvent(Control& control, AccessibleEvent event) {
  if (event == AccessibleEvent::Destroyed) {
    Forget(control.AccessibleId());
    return;
  }
  const UiAutomationCore& core = UiAutomationCore::Current();
  if (tree_ == nullptr || !core.Listening()) return;
  if (&control != tree_->GetRoot() && !IsInAccessibleTree(control)) return;
  UiAutomationElement* element = ElementFor(control);
  if (element == nullptr) return;
  IRawElementProviderSimple* provider = element->Simple();
  const auto raise = [&](EVENTID id, IRawElementProviderSimple* on) {
    if (core.raiseAutomationEvent != nullptr) core.raiseAutomationEvent(on, id);
  };
  const auto changed = [&](PROPERTYID property, VARIANT before, VARIANT now) {
    if (core.raisePropertyChangedEvent != nullptr) core.raisePropertyChangedEvent(provider, property, before, now);
    VariantClear(&before);
    VariantClear(&now);
  };
  const uint32_t states = control.GetAccessibleStates();
  switch (event) {
    case AccessibleEvent::FocusChanged:
      if ((states & kAccFocused) != 0) raise(uia::kFocusChangedEvent, provider);
      break;
    case AccessibleEvent::Toggled:
      if (SupportsUiaPattern(control, uia::kTogglePattern)) {
        const bool on = (states & kAccChecked) != 0;
        changed(uia::kToggleToggleStateProperty, UiaNumber(on ? ToggleState_Off : ToggleState_On),
                UiaNumber(on ? ToggleState_On : ToggleState_Off));
      } else if (SupportsUiaPattern(control, uia::kSelectionItemPattern)) {
        const bool chosen = IsUiaChosen(control);
        changed(uia::kSelectionItemIsSelectedProperty, UiaFlag(!chosen), UiaFlag(chosen));
        if (chosen) raise(uia::kElementSelectedEvent, provider);
      }
      break;
    case AccessibleEvent::SelectionChanged:
      if (SupportsUiaPattern(control, uia::kSelectionItemPattern)) {
        if (IsUiaChosen(control)) raise(uia::kElementSelectedEvent, provider);
        break;
      }
      // Raised on the container: the row or option that is now the chosen one.
      for (Control* child : AccessibleChildren(control)) {
        if (!IsUiaChosen(*child)) continue;
        if (UiAutomationElement* chosen = ElementFor(*child)) raise(uia::kElementSelectedEvent, chosen->Simple());
        break;
      }
      break;
    case AccessibleEvent::ValueChanged:
      changed(uia::kValueValueProperty, UiaEmpty(), UiaText(control.GetAccessibleValue()));
      break;
    case AccessibleEvent::NameChanged:
      changed(uia::kNameProperty, UiaEmpty(), UiaText(control.GetAccessibleName()));
      break;
    case AccessibleEvent::ChildrenChanged:
      if (core.raiseStructureChangedEvent != nullptr) {
        int runtimeId[] = {uia::kAppendRuntimeId, static_cast<int>(control.AccessibleId())};
        if (element->IsRoot()) {
          core.raiseStructureChangedEvent(provider, uia::kChildrenInvalidated, nullptr, 0);
        } else {
          core.raiseStructureChangedEvent(provider, uia::kChildrenInvalidated, runtimeId, 2);
        }
      }
      break;
    case AccessibleEvent::StateChanged: {
      const bool enabled = (states & kAccDisabled) == 0;
      changed(uia::kIsEnabledProperty, UiaFlag(!enabled), UiaFlag(enabled));
      break;
    }
    case AccessibleEvent::Destroyed:
      break;
  }
}

}  // namespace ui
