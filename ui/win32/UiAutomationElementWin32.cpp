// Sections: IUnknown; the simple provider; the fragment; the
// fragment root; the patterns.
#include "ui/win32/UiAutomationElement.h"

#include <exception>
#include <string>
#include <vector>

#include "ui/core/Control.h"
#include "ui/core/WindowTree.h"
#include "ui/win32/UiAutomationCore.h"
#include "ui/win32/UiAutomationRoles.h"
#include "ui/win32/UiAutomationVariant.h"
#include "ui/win32/UiAutomationWindow.h"

namespace ui {

namespace {

bool HasState(const Control& control, uint32_t state) {
  return (control.GetAccessibleStates() & state) != 0;
}

}  // namespace

UiAutomationElement::UiAutomationElement(std::shared_ptr<UiAutomationLink> link, uint32_t controlId, bool root)
    : link_(std::move(link)), controlId_(controlId), root_(root) {}

Control* UiAutomationElement::Target() const {
  if (disconnected_ || link_->owner == nullptr) return nullptr;
  WindowTree* tree = link_->owner->Tree();
  if (tree == nullptr) return nullptr;
  if (root_) return tree->GetRoot();
  return FindAccessible(*tree, controlId_);
}

HRESULT UiAutomationElement::WithTarget(const std::function<HRESULT(Control&)>& call) const {
  auto run = [this, &call]() -> HRESULT {
    try {
      Control* control = Target();
      return control != nullptr ? call(*control) : uia::kElementNotAvailable;
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    } catch (...) {
      return E_FAIL;
    }
  };
  if (GetCurrentThreadId() == link_->uiThread) return run();
  // The tree belongs to the UI thread; the window runs the call there and this waits.
  HRESULT result = uia::kElementNotAvailable;
  std::function<void()> task = [&] { result = run(); };
  if (link_->window == nullptr || !IsWindow(link_->window)) return result;
  SendMessageW(link_->window, UiAutomationWindow::RunMessage(), 0, reinterpret_cast<LPARAM>(&task));
  return result;
}

template <class Interface>
HRESULT UiAutomationElement::Hand(Control* control, Interface** out) const {
  *out = nullptr;
  if (control == nullptr || link_->owner == nullptr) return S_OK;
  UiAutomationElement* element = link_->owner->ElementFor(*control);
  if (element == nullptr) return S_OK;
  *out = static_cast<Interface*>(element);
  element->AddRef();
  return S_OK;
}

// ---- IUnknown ------------------------------------------------------------------------

HRESULT UiAutomationElement::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (iid == __uuidof(IUnknown) || iid == __uuidof(IRawElementProviderSimple)) {
    *object = static_cast<IRawElementProviderSimple*>(this);
  } else if (iid == __uuidof(IRawElementProviderFragment)) {
    *object = static_cast<IRawElementProviderFragment*>(this);
  } else if (iid == __uuidof(IRawElementProviderFragmentRoot) && root_) {
    *object = static_cast<IRawElementProviderFragmentRoot*>(this);
  } else if (iid == __uuidof(IInvokeProvider)) {
    *object = static_cast<IInvokeProvider*>(this);
  } else if (iid == __uuidof(IToggleProvider)) {
    *object = static_cast<IToggleProvider*>(this);
  } else if (iid == __uuidof(ISelectionProvider)) {
    *object = static_cast<ISelectionProvider*>(this);
  } else if (iid == __uuidof(ISelectionItemProvider)) {
    *object = static_cast<ISelectionItemProvider*>(this);
  } else if (iid == __uuidof(IValueProvider)) {
    *object = static_cast<IValueProvider*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG UiAutomationElement::AddRef() {
  return ++references_;
}

ULONG UiAutomationElement::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

// ---- the simple provider -------------------------------------------------------------

HRESULT UiAutomationElement::get_ProviderOptions(enum ProviderOptions* options) {
  if (options == nullptr) return E_INVALIDARG;
  // Not ProviderOptions_UseComThreading: the element sends its calls to the UI thread
  // itself (and Wine's core hung with that option).
  *options = ProviderOptions_ServerSideProvider;
  return S_OK;
}

HRESULT UiAutomationElement::GetPatternProvider(PATTERNID pattern, IUnknown** provider) {
  if (provider == nullptr) return E_INVALIDARG;
  *provider = nullptr;
  return WithTarget([&](Control& control) {
    if (!SupportsUiaPattern(control, pattern)) return S_OK;
    switch (pattern) {
      case uia::kInvokePattern:
        *provider = static_cast<IInvokeProvider*>(this);
        break;
      case uia::kTogglePattern:
        *provider = static_cast<IToggleProvider*>(this);
        break;
      case uia::kSelectionPattern:
        *provider = static_cast<ISelectionProvider*>(this);
        break;
      case uia::kSelectionItemPattern:
        *provider = static_cast<ISelectionItemProvider*>(this);
        break;
      case uia::kValuePattern:
        *provider = static_cast<IValueProvider*>(this);
        break;
      default:
        return S_OK;
    }
    AddRef();
    return S_OK;
  });
}

HRESULT UiAutomationElement::GetPropertyValue(PROPERTYID property, VARIANT* value) {
  if (value == nullptr) return E_INVALIDARG;
  VariantInit(value);
  return WithTarget([&](Control& control) {
    const uint32_t states = control.GetAccessibleStates();
    const AccessibleRole role = control.GetAccessibleRole();
    switch (property) {
      case uia::kNameProperty: {
        const std::wstring name = control.GetAccessibleName();
        // The root without a name of its own: the host's window title answers.
        if (!name.empty() || !root_) *value = UiaText(name);
        break;
      }
      case uia::kControlTypeProperty:
        *value = UiaNumber(root_ ? uia::kWindowControl : UiaControlTypeOf(role));
        break;
      case uia::kAutomationIdProperty:
        if (!control.GetName().empty()) *value = UiaText(control.GetName());
        break;
      case uia::kIsEnabledProperty:
        *value = UiaFlag((states & kAccDisabled) == 0);
        break;
      case uia::kIsKeyboardFocusableProperty:
        if (!root_) *value = UiaFlag((states & kAccFocusable) != 0);
        break;
      case uia::kHasKeyboardFocusProperty:
        if (!root_) *value = UiaFlag((states & kAccFocused) != 0);
        break;
      case uia::kIsOffscreenProperty:
        *value = UiaFlag((states & kAccInvisible) != 0);
        break;
      case uia::kIsControlElementProperty:
      case uia::kIsContentElementProperty:
        *value = UiaFlag(true);
        break;
      case uia::kIsPasswordProperty:
        if (role == AccessibleRole::Edit) *value = UiaFlag(false);
        break;
      case uia::kFrameworkIdProperty:
        *value = UiaText(L"Quorvel");
        break;
      case uia::kValueValueProperty:
        if (SupportsUiaPattern(control, uia::kValuePattern)) *value = UiaText(control.GetAccessibleValue());
        break;
      case uia::kValueIsReadOnlyProperty:
        if (SupportsUiaPattern(control, uia::kValuePattern)) {
          *value = UiaFlag((states & kAccReadOnly) != 0 || role == AccessibleRole::Document);
        }
        break;
      case uia::kToggleToggleStateProperty:
        if (SupportsUiaPattern(control, uia::kTogglePattern)) {
          *value = UiaNumber((states & kAccChecked) != 0 ? ToggleState_On : ToggleState_Off);
        }
        break;
      case uia::kSelectionItemIsSelectedProperty:
        if (SupportsUiaPattern(control, uia::kSelectionItemPattern)) *value = UiaFlag(IsUiaChosen(control));
        break;
      default:
        break;
    }
    return S_OK;
  });
}

HRESULT UiAutomationElement::get_HostRawElementProvider(IRawElementProviderSimple** host) {
  if (host == nullptr) return E_INVALIDARG;
  *host = nullptr;
  if (!root_) return S_OK;
  // Asked on any thread: only the handle is read, which never changes.
  if (disconnected_) return uia::kElementNotAvailable;
  const auto from = UiAutomationCore::Current().hostProviderFromHwnd;
  return from != nullptr ? from(link_->window, host) : S_OK;
}

// ---- the fragment --------------------------------------------------------------------

HRESULT UiAutomationElement::Navigate(enum NavigateDirection direction, IRawElementProviderFragment** found) {
  if (found == nullptr) return E_INVALIDARG;
  *found = nullptr;
  return WithTarget([&](Control& control) -> HRESULT {
    switch (direction) {
      case NavigateDirection_Parent:
        return root_ ? S_OK : Hand(AccessibleParent(control), found);
      case NavigateDirection_FirstChild:
      case NavigateDirection_LastChild: {
        const std::vector<Control*> children = AccessibleChildren(control);
        if (children.empty()) return S_OK;
        return Hand(direction == NavigateDirection_FirstChild ? children.front() : children.back(), found);
      }
      case NavigateDirection_NextSibling:
      case NavigateDirection_PreviousSibling: {
        Control* parent = root_ ? nullptr : AccessibleParent(control);
        if (parent == nullptr) return S_OK;
        const std::vector<Control*> siblings = AccessibleChildren(*parent);
        for (size_t i = 0; i < siblings.size(); ++i) {
          if (siblings[i] != &control) continue;
          if (direction == NavigateDirection_NextSibling) {
            return i + 1 < siblings.size() ? Hand(siblings[i + 1], found) : S_OK;
          }
          return i > 0 ? Hand(siblings[i - 1], found) : S_OK;
        }
        return S_OK;
      }
    }
    return E_INVALIDARG;
  });
}

HRESULT UiAutomationElement::GetRuntimeId(SAFEARRAY** id) {
  if (id == nullptr) return E_INVALIDARG;
  *id = nullptr;
  return WithTarget([&](Control&) -> HRESULT {
    if (root_) return S_OK;  // the host provider's id stands for the window
    SAFEARRAY* array = SafeArrayCreateVector(VT_I4, 0, 2);
    if (array == nullptr) return E_OUTOFMEMORY;
    LONG index = 0;
    int part = uia::kAppendRuntimeId;
    SafeArrayPutElement(array, &index, &part);
    index = 1;
    part = static_cast<int>(controlId_);
    SafeArrayPutElement(array, &index, &part);
    *id = array;
    return S_OK;
  });
}

HRESULT UiAutomationElement::get_BoundingRectangle(struct UiaRect* bounds) {
  if (bounds == nullptr) return E_INVALIDARG;
  *bounds = {};
  return WithTarget([&](Control& control) -> HRESULT {
    if (root_) return S_OK;  // the host provider knows the window's rectangle
    const Rect rect = AccessibleBounds(control);
    POINT origin{0, 0};
    ClientToScreen(link_->window, &origin);
    *bounds = {static_cast<double>(rect.left + origin.x), static_cast<double>(rect.top + origin.y),
               static_cast<double>(rect.Width()), static_cast<double>(rect.Height())};
    return S_OK;
  });
}

HRESULT UiAutomationElement::GetEmbeddedFragmentRoots(SAFEARRAY** roots) {
  if (roots == nullptr) return E_INVALIDARG;
  *roots = nullptr;
  return S_OK;
}

HRESULT UiAutomationElement::SetFocus() {
  return WithTarget([&](Control& control) -> HRESULT {
    if (root_) return S_OK;
    if (!control.IsEnabled()) return uia::kElementNotEnabled;
    if (!control.IsFocusable()) return uia::kInvalidOperation;
    control.SetFocus();
    return S_OK;
  });
}

HRESULT UiAutomationElement::get_FragmentRoot(IRawElementProviderFragmentRoot** root) {
  if (root == nullptr) return E_INVALIDARG;
  *root = nullptr;
  return WithTarget([&](Control&) -> HRESULT {
    WindowTree* tree = link_->owner->Tree();
    return Hand(tree != nullptr ? tree->GetRoot() : nullptr, root);
  });
}

// ---- the fragment root ---------------------------------------------------------------

HRESULT UiAutomationElement::ElementProviderFromPoint(double x, double y, IRawElementProviderFragment** found) {
  if (found == nullptr) return E_INVALIDARG;
  *found = nullptr;
  return WithTarget([&](Control& root) -> HRESULT {
    POINT point{static_cast<LONG>(x), static_cast<LONG>(y)};
    ScreenToClient(link_->window, &point);
    // The deepest accessible control under the point; later siblings paint over earlier.
    Control* hit = &root;
    for (bool deeper = true; deeper;) {
      deeper = false;
      const std::vector<Control*> children = AccessibleChildren(*hit);
      for (auto child = children.rbegin(); child != children.rend(); ++child) {
        const Rect rect = AccessibleBounds(**child);
        if (point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom) {
          hit = *child;
          deeper = true;
          break;
        }
      }
    }
    return Hand(hit, found);
  });
}

HRESULT UiAutomationElement::GetFocus(IRawElementProviderFragment** focused) {
  if (focused == nullptr) return E_INVALIDARG;
  *focused = nullptr;
  return WithTarget([&](Control& root) -> HRESULT {
    WindowTree* tree = link_->owner->Tree();
    Control* focus = tree != nullptr ? tree->GetFocus() : nullptr;
    if (focus == nullptr || focus == &root || !IsInAccessibleTree(*focus)) return S_OK;
    return Hand(focus, focused);
  });
}

// ---- the patterns --------------------------------------------------------------------

HRESULT UiAutomationElement::Invoke() {
  return WithTarget([&](Control& control) -> HRESULT {
    if (!SupportsUiaPattern(control, uia::kInvokePattern)) return uia::kInvalidOperation;
    if (!control.IsEnabled()) return uia::kElementNotEnabled;
    link_->owner->PostInvoke(controlId_);
    return S_OK;
  });
}

HRESULT UiAutomationElement::Toggle() {
  return WithTarget([&](Control& control) -> HRESULT {
    if (!SupportsUiaPattern(control, uia::kTogglePattern)) return uia::kInvalidOperation;
    if (!control.IsEnabled()) return uia::kElementNotEnabled;
    return link_->owner->DoAction(controlId_) ? S_OK : uia::kInvalidOperation;
  });
}

HRESULT UiAutomationElement::get_ToggleState(enum ToggleState* state) {
  if (state == nullptr) return E_INVALIDARG;
  *state = ToggleState_Off;
  return WithTarget([&](Control& control) -> HRESULT {
    if (HasState(control, kAccChecked)) *state = ToggleState_On;
    return S_OK;
  });
}

HRESULT UiAutomationElement::GetSelection(SAFEARRAY** selection) {
  if (selection == nullptr) return E_INVALIDARG;
  *selection = nullptr;
  return WithTarget([&](Control& control) -> HRESULT {
    std::vector<IRawElementProviderSimple*> chosen;
    for (Control* child : AccessibleChildren(control)) {
      if (!IsUiaChosen(*child)) continue;
      if (UiAutomationElement* element = link_->owner->ElementFor(*child)) chosen.push_back(element->Simple());
    }
    SAFEARRAY* array = SafeArrayCreateVector(VT_UNKNOWN, 0, static_cast<ULONG>(chosen.size()));
    if (array == nullptr) return E_OUTOFMEMORY;
    for (size_t i = 0; i < chosen.size(); ++i) {
      LONG index = static_cast<LONG>(i);
      SafeArrayPutElement(array, &index, chosen[i]);  // adds its own reference
    }
    *selection = array;
    return S_OK;
  });
}

HRESULT UiAutomationElement::get_CanSelectMultiple(BOOL* multiple) {
  if (multiple == nullptr) return E_INVALIDARG;
  *multiple = FALSE;
  return WithTarget([](Control&) { return S_OK; });
}

HRESULT UiAutomationElement::get_IsSelectionRequired(BOOL* required) {
  if (required == nullptr) return E_INVALIDARG;
  *required = FALSE;
  return WithTarget([&](Control& control) -> HRESULT {
    // One option of a group is always the chosen one; a list may have no chosen row.
    *required = control.GetAccessibleRole() != AccessibleRole::List && IsUiaOptionGroup(control) ? TRUE : FALSE;
    return S_OK;
  });
}

HRESULT UiAutomationElement::Select() {
  return WithTarget([&](Control& control) -> HRESULT {
    if (!SupportsUiaPattern(control, uia::kSelectionItemPattern)) return uia::kInvalidOperation;
    if (!control.IsEnabled()) return uia::kElementNotEnabled;
    if (IsUiaChosen(control)) return S_OK;
    return link_->owner->DoAction(controlId_) ? S_OK : uia::kInvalidOperation;
  });
}

HRESULT UiAutomationElement::AddToSelection() {
  return WithTarget([&](Control& control) -> HRESULT {
    if (IsUiaChosen(control)) return S_OK;
    // Single choice: adding is choosing only when nothing else is chosen.
    if (Control* parent = AccessibleParent(control)) {
      for (Control* sibling : AccessibleChildren(*parent)) {
        if (IsUiaChosen(*sibling)) return uia::kInvalidOperation;
      }
    }
    return Select();
  });
}

HRESULT UiAutomationElement::RemoveFromSelection() {
  return WithTarget([&](Control& control) -> HRESULT {
    // An option cannot be unchosen but by choosing another; no list row is unchosen alone.
    return IsUiaChosen(control) ? uia::kInvalidOperation : S_OK;
  });
}

HRESULT UiAutomationElement::get_IsSelected(BOOL* selected) {
  if (selected == nullptr) return E_INVALIDARG;
  *selected = FALSE;
  return WithTarget([&](Control& control) -> HRESULT {
    *selected = IsUiaChosen(control) ? TRUE : FALSE;
    return S_OK;
  });
}

HRESULT UiAutomationElement::get_SelectionContainer(IRawElementProviderSimple** container) {
  if (container == nullptr) return E_INVALIDARG;
  *container = nullptr;
  return WithTarget([&](Control& control) -> HRESULT {
    Control* parent = AccessibleParent(control);
    if (parent == nullptr || !SupportsUiaPattern(*parent, uia::kSelectionPattern)) return S_OK;
    return Hand(parent, container);
  });
}

HRESULT UiAutomationElement::SetValue(LPCWSTR value) {
  if (value == nullptr) return E_INVALIDARG;
  return WithTarget([&](Control& control) -> HRESULT {
    if (control.GetAccessibleRole() != AccessibleRole::Edit) return uia::kInvalidOperation;
    if (!control.IsEnabled()) return uia::kElementNotEnabled;
    if (HasState(control, kAccReadOnly)) return uia::kInvalidOperation;
    return link_->owner->ChangeValue(controlId_, value) ? S_OK : uia::kInvalidOperation;
  });
}

HRESULT UiAutomationElement::get_Value(BSTR* value) {
  if (value == nullptr) return E_INVALIDARG;
  *value = nullptr;
  return WithTarget([&](Control& control) -> HRESULT {
    const std::wstring text = control.GetAccessibleValue();
    *value = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *value != nullptr ? S_OK : E_OUTOFMEMORY;
  });
}

HRESULT UiAutomationElement::get_IsReadOnly(BOOL* readOnly) {
  if (readOnly == nullptr) return E_INVALIDARG;
  *readOnly = TRUE;
  return WithTarget([&](Control& control) -> HRESULT {
    *readOnly = control.GetAccessibleRole() != AccessibleRole::Edit || HasState(control, kAccReadOnly) ? TRUE : FALSE;
    return S_OK;
  });
}

}  // namespace ui
