// What the toolkit uses of UI Automation beyond MinGW's uiautomationcore.h, declared from
// the platform documentation: the pattern provider interfaces with their ids, the
// numbers of the control types, properties, patterns and events, and the signatures of
// the uiautomationcore.dll functions, which are looked up at run time (MinGW has no
// import library for it, and its uiautomationcoreapi.h does not compile as C++).
// Windows build only.
#pragma once

#include "ui/win32/WindowsHeaders.h"

#include <oleauto.h>
#include <uiautomationcore.h>

// ---- pattern providers ---------------------------------------------------------------

MIDL_INTERFACE("54fcb24b-e18e-47a2-b4d3-eccbe77599a2")
IInvokeProvider : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke() = 0;
};
__CRT_UUID_DECL(IInvokeProvider, 0x54fcb24b, 0xe18e, 0x47a2, 0xb4, 0xd3, 0xec, 0xcb, 0xe7, 0x75, 0x99, 0xa2)

enum ToggleState { ToggleState_Off = 0, ToggleState_On = 1, ToggleState_Indeterminate = 2 };

MIDL_INTERFACE("56d00bd0-c4f4-433c-a836-1a52a57e0892")
IToggleProvider : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Toggle() = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ToggleState(enum ToggleState * state) = 0;
};
__CRT_UUID_DECL(IToggleProvider, 0x56d00bd0, 0xc4f4, 0x433c, 0xa8, 0x36, 0x1a, 0x52, 0xa5, 0x7e, 0x08, 0x92)

MIDL_INTERFACE("fb8b03af-3bdf-48d4-bd36-1a65793be168")
ISelectionProvider : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetSelection(SAFEARRAY * *selection) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_CanSelectMultiple(BOOL * multiple) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsSelectionRequired(BOOL * required) = 0;
};
__CRT_UUID_DECL(ISelectionProvider, 0xfb8b03af, 0x3bdf, 0x48d4, 0xbd, 0x36, 0x1a, 0x65, 0x79, 0x3b, 0xe1, 0x68)

MIDL_INTERFACE("2acad808-b2d4-452d-a407-91ff1ad167b2")
ISelectionItemProvider : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Select() = 0;
  virtual HRESULT STDMETHODCALLTYPE AddToSelection() = 0;
  virtual HRESULT STDMETHODCALLTYPE RemoveFromSelection() = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsSelected(BOOL * selected) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_SelectionContainer(IRawElementProviderSimple * *container) = 0;
};
__CRT_UUID_DECL(ISelectionItemProvider, 0x2acad808, 0xb2d4, 0x452d, 0xa4, 0x07, 0x91, 0xff, 0x1a, 0xd1, 0x67, 0xb2)

MIDL_INTERFACE("c7935180-6fb3-4201-b174-7df73adbf64a")
IValueProvider : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetValue(LPCWSTR value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Value(BSTR * value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsReadOnly(BOOL * readOnly) = 0;
};
__CRT_UUID_DECL(IValueProvider, 0xc7935180, 0x6fb3, 0x4201, 0xb1, 0x74, 0x7d, 0xf7, 0x3a, 0xdb, 0xf6, 0x4a)

// ---- numbers -------------------------------------------------------------------------

namespace uia {

constexpr LONG kRootObjectId = -25;  // UiaRootObjectId: WM_GETOBJECT's lParam
constexpr int kAppendRuntimeId = 3;  // UiaAppendRuntimeId
constexpr HRESULT kElementNotAvailable = static_cast<HRESULT>(0x80040201);
constexpr HRESULT kElementNotEnabled = static_cast<HRESULT>(0x80040200);
constexpr HRESULT kInvalidOperation = static_cast<HRESULT>(0x80131509);

enum ControlType : int {
  kButtonControl = 50000,
  kCheckBoxControl = 50002,
  kEditControl = 50004,
  kImageControl = 50006,
  kListItemControl = 50007,
  kListControl = 50008,
  kRadioButtonControl = 50013,
  kTextControl = 50020,
  kGroupControl = 50026,
  kDocumentControl = 50030,
  kWindowControl = 50032,
  kPaneControl = 50033,
};

enum Property : PROPERTYID {
  kRuntimeIdProperty = 30000,
  kBoundingRectangleProperty = 30001,
  kProcessIdProperty = 30002,
  kControlTypeProperty = 30003,
  kNameProperty = 30005,
  kHasKeyboardFocusProperty = 30008,
  kIsKeyboardFocusableProperty = 30009,
  kIsEnabledProperty = 30010,
  kAutomationIdProperty = 30011,
  kClassNameProperty = 30012,
  kIsControlElementProperty = 30016,
  kIsContentElementProperty = 30017,
  kIsPasswordProperty = 30019,
  kIsOffscreenProperty = 30022,
  kFrameworkIdProperty = 30024,
  kValueValueProperty = 30045,
  kValueIsReadOnlyProperty = 30046,
  kSelectionCanSelectMultipleProperty = 30060,
  kSelectionIsSelectionRequiredProperty = 30061,
  kSelectionItemIsSelectedProperty = 30079,
  kToggleToggleStateProperty = 30086,
};

enum Pattern : PATTERNID {
  kInvokePattern = 10000,
  kSelectionPattern = 10001,
  kValuePattern = 10002,
  kSelectionItemPattern = 10010,
  kTogglePattern = 10015,
};

enum Event : EVENTID {
  kStructureChangedEvent = 20002,
  kFocusChangedEvent = 20005,
  kInvokedEvent = 20009,
  kElementSelectedEvent = 20012,
};

enum StructureChange : int { kChildrenInvalidated = 2 };

}  // namespace uia

// ---- functions of uiautomationcore.dll ------------------------------------------------

using UiaReturnRawElementProviderCall = LRESULT(WINAPI*)(HWND, WPARAM, LPARAM, IRawElementProviderSimple*);
using UiaHostProviderFromHwndCall = HRESULT(WINAPI*)(HWND, IRawElementProviderSimple**);
using UiaRaiseAutomationEventCall = HRESULT(WINAPI*)(IRawElementProviderSimple*, EVENTID);
using UiaRaiseAutomationPropertyChangedEventCall = HRESULT(WINAPI*)(IRawElementProviderSimple*, PROPERTYID, VARIANT,
                                                                    VARIANT);
using UiaRaiseStructureChangedEventCall = HRESULT(WINAPI*)(IRawElementProviderSimple*, int, int*, int);
using UiaClientsAreListeningCall = BOOL(WINAPI*)();
using UiaDisconnectProviderCall = HRESULT(WINAPI*)(IRawElementProviderSimple*);
