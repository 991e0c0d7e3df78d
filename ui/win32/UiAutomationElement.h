// One accessible control of a window as UI Automation sees it: a fragment with its
// runtime id, navigation, screen bounds, focus and properties, and the patterns its role
// calls for (Invoke for buttons, Toggle for check boxes, SelectionItem for options and
// list rows, Selection for lists and option groups, Value for edits and, read-only, for
// log panes). The element of the window's root control is the fragment root.
//
// An element names its control by accessible id and looks it up in the window's tree at
// every call, so a control that left the tree, or a window that is gone, answers
// UIA_E_ELEMENTNOTAVAILABLE and never reaches freed memory.
//
// Threads: reference counts on any thread. Every other call runs on the window's UI
// thread: a call from another thread is sent there and waits for it.
#pragma once

#include "ui/win32/UiAutomationDeclarations.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

namespace ui {

class Control;
class UiAutomationWindow;

// What the elements of one window share with it; the window clears `owner` when it goes.
struct UiAutomationLink {
  HWND window = nullptr;
  DWORD uiThread = 0;
  UiAutomationWindow* owner = nullptr;
};

class UiAutomationElement final : public IRawElementProviderSimple,
                                  public IRawElementProviderFragment,
                                  public IRawElementProviderFragmentRoot,
                                  public IInvokeProvider,
                                  public IToggleProvider,
                                  public ISelectionProvider,
                                  public ISelectionItemProvider,
                                  public IValueProvider {
 public:
  // Starts with one reference, the caller's.
  UiAutomationElement(std::shared_ptr<UiAutomationLink> link, uint32_t controlId, bool root);
  UiAutomationElement(const UiAutomationElement&) = delete;
  UiAutomationElement& operator=(const UiAutomationElement&) = delete;

  uint32_t ControlId() const { return controlId_; }
  bool IsRoot() const { return root_; }
  // The control, while it is in the tree and the window lives; null otherwise.
  Control* Target() const;
  // From now on every call answers UIA_E_ELEMENTNOTAVAILABLE.
  void Disconnect() { disconnected_ = true; }
  IRawElementProviderSimple* Simple() { return static_cast<IRawElementProviderSimple*>(this); }

  // IUnknown (one for all the interfaces)
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IRawElementProviderSimple
  HRESULT STDMETHODCALLTYPE get_ProviderOptions(enum ProviderOptions* options) override;
  HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID pattern, IUnknown** provider) override;
  HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID property, VARIANT* value) override;
  HRESULT STDMETHODCALLTYPE get_HostRawElementProvider(IRawElementProviderSimple** host) override;

  // IRawElementProviderFragment
  HRESULT STDMETHODCALLTYPE Navigate(enum NavigateDirection direction, IRawElementProviderFragment** found) override;
  HRESULT STDMETHODCALLTYPE GetRuntimeId(SAFEARRAY** id) override;
  HRESULT STDMETHODCALLTYPE get_BoundingRectangle(struct UiaRect* bounds) override;
  HRESULT STDMETHODCALLTYPE GetEmbeddedFragmentRoots(SAFEARRAY** roots) override;
  HRESULT STDMETHODCALLTYPE SetFocus() override;
  HRESULT STDMETHODCALLTYPE get_FragmentRoot(IRawElementProviderFragmentRoot** root) override;

  // IRawElementProviderFragmentRoot (the root element only)
  HRESULT STDMETHODCALLTYPE ElementProviderFromPoint(double x, double y, IRawElementProviderFragment** found) override;
  HRESULT STDMETHODCALLTYPE GetFocus(IRawElementProviderFragment** focused) override;

  // IInvokeProvider: the action runs after the call returns, as a click would, so a
  // message box it opens does not hold the client.
  HRESULT STDMETHODCALLTYPE Invoke() override;

  // IToggleProvider
  HRESULT STDMETHODCALLTYPE Toggle() override;
  HRESULT STDMETHODCALLTYPE get_ToggleState(enum ToggleState* state) override;

  // ISelectionProvider (single choice)
  HRESULT STDMETHODCALLTYPE GetSelection(SAFEARRAY** selection) override;
  HRESULT STDMETHODCALLTYPE get_CanSelectMultiple(BOOL* multiple) override;
  HRESULT STDMETHODCALLTYPE get_IsSelectionRequired(BOOL* required) override;

  // ISelectionItemProvider
  HRESULT STDMETHODCALLTYPE Select() override;
  HRESULT STDMETHODCALLTYPE AddToSelection() override;
  HRESULT STDMETHODCALLTYPE RemoveFromSelection() override;
  HRESULT STDMETHODCALLTYPE get_IsSelected(BOOL* selected) override;
  HRESULT STDMETHODCALLTYPE get_SelectionContainer(IRawElementProviderSimple** container) override;

  // IValueProvider
  HRESULT STDMETHODCALLTYPE SetValue(LPCWSTR value) override;
  HRESULT STDMETHODCALLTYPE get_Value(BSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_IsReadOnly(BOOL* readOnly) override;

 private:
  ~UiAutomationElement() = default;
  // Runs the call on the UI thread with the control (null: not available), catching
  // everything: no exception may reach the caller.
  HRESULT WithTarget(const std::function<HRESULT(Control&)>& call) const;
  // The element of another control of the window, with a reference for the caller.
  template <class Interface>
  HRESULT Hand(Control* control, Interface** out) const;

  std::atomic<ULONG> references_{1};
  std::shared_ptr<UiAutomationLink> link_;
  uint32_t controlId_;
  bool root_;
  std::atomic<bool> disconnected_{false};
};

}  // namespace ui
