// UI Automation for one top-level window of the Windows host: answers WM_GETOBJECT for
// UiaRootObjectId with the fragment root, keeps one element per control that a client
// reached (so each control keeps one identity), and turns the tree's accessibility
// events into UI Automation events while clients listen. Elements of controls that leave
// the tree, and all of them when the window goes, are disconnected.
//
// Lifecycle: made by the host window at the first WM_GETOBJECT. Detach() when the window
// is being destroyed (the tree still lives); the destructor only disconnects, since the
// tree may already be gone by then.
//
// Threads: UI thread only; elements send calls from other threads here (RunMessage).
#pragma once

#include "ui/win32/UiAutomationDeclarations.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "ui/core/Accessibility.h"
#include "ui/win32/UiAutomationElement.h"

namespace ui {

class HostWindowEvents;
class WindowTree;

class UiAutomationWindow final : public AccessibilityListener {
 public:
  UiAutomationWindow(HWND window, HostWindowEvents& events);
  ~UiAutomationWindow() override;
  UiAutomationWindow(const UiAutomationWindow&) = delete;
  UiAutomationWindow& operator=(const UiAutomationWindow&) = delete;

  // WM_GETOBJECT.
  LRESULT AnswerGetObject(WPARAM wParam, LPARAM lParam);
  // The messages of this adapter (calls sent from other threads, deferred invokes);
  // false for every other message.
  bool HandleOwnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // The window is being destroyed: stops listening and lets every element go.
  void Detach();

  // The window's controls; null once detached.
  WindowTree* Tree() const { return tree_; }
  // The element of a control in the tree (the root element for the tree's root),
  // without a reference for the caller; null once detached.
  UiAutomationElement* ElementFor(Control& control);
  // A control's default action and new value, carried out by the window as a click or
  // typing would; false when the control is gone or refuses. Either may close the
  // window and delete this adapter: callers touch nothing of it afterwards.
  bool DoAction(uint32_t controlId);
  bool ChangeValue(uint32_t controlId, const std::wstring& value);
  // The default action of that control after the current call returns.
  void PostInvoke(uint32_t controlId);

  // The message that runs a std::function<void()>* (lParam) on the UI thread.
  static UINT RunMessage();

  // AccessibilityListener
  void OnAccessibilityEvent(Control& control, AccessibleEvent event) override;

 private:
  struct Release {
    void operator()(UiAutomationElement* element) const { element->Release(); }
  };
  using ElementRef = std::unique_ptr<UiAutomationElement, Release>;

  void DisconnectAll();
  void Forget(uint32_t controlId);

  HostWindowEvents& events_;
  WindowTree* tree_ = nullptr;
  std::shared_ptr<UiAutomationLink> link_;
  std::map<uint32_t, ElementRef> elements_;
};

}  // namespace ui
