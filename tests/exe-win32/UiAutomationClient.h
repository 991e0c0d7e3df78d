// A UI Automation client of the product's window, as a screen reader reads it: nodes from
// a window handle, navigation in the raw view, and property values, through the client
// functions of the system's uiautomationcore.dll (looked up at run time: MinGW has no
// import library for it and its API header does not compile as C++).
#pragma once

#include "ui/win32/UiAutomationDeclarations.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/SystemLibrary.h"

namespace exetest {

using HUIANODE = void*;

struct UiaCondition {
  int conditionType;  // 0: ConditionType_True
};

struct UiaCacheRequest {
  UiaCondition* viewCondition;
  int scope;  // 1: TreeScope_Element
  PROPERTYID* properties;
  int propertyCount;
  PATTERNID* patterns;
  int patternCount;
  int elementMode;  // 1: AutomationElementMode_Full
};

class UiaClient {
 public:
  UiaClient() : library_(LoadSystemLibrary(L"uiautomationcore.dll")) {
    if (!library_) return;
    Find("UiaNodeFromHandle", nodeFromHandle_);
    Find("UiaNavigate", navigate_);
    Find("UiaGetPropertyValue", getPropertyValue_);
    Find("UiaNodeRelease", nodeRelease_);
    Find("UiaHUiaNodeFromVariant", nodeFromVariant_);
  }
  bool Ready() const { return nodeFromHandle_ && navigate_ && getPropertyValue_ && nodeRelease_ && nodeFromVariant_; }

  // A node, released with its owner.
  class Node {
   public:
    Node(const UiaClient* client, HUIANODE node) : client_(client), node_(node) {}
    ~Node() {
      if (node_ != nullptr) client_->nodeRelease_(node_);
    }
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;
    HUIANODE Get() const { return node_; }

   private:
    const UiaClient* client_;
    HUIANODE node_;
  };

  std::unique_ptr<Node> FromHandle(HWND window) const {
    HUIANODE node = nullptr;
    if (FAILED(nodeFromHandle_(window, &node)) || node == nullptr) return nullptr;
    return std::make_unique<Node>(this, node);
  }

  // The neighbour in that direction, or null at the end.
  std::unique_ptr<Node> Navigate(const Node& from, NavigateDirection direction) const {
    UiaCondition everything{0};
    UiaCacheRequest request{&everything, 1, nullptr, 0, nullptr, 0, 1};
    SAFEARRAY* found = nullptr;
    BSTR structure = nullptr;
    const HRESULT result = navigate_(from.Get(), direction, &everything, &request, &found, &structure);
    SysFreeString(structure);
    if (FAILED(result) || found == nullptr) return nullptr;
    LONG first[2] = {0, 0};
    VARIANT value;
    VariantInit(&value);
    HUIANODE node = nullptr;
    if (SUCCEEDED(SafeArrayGetElement(found, first, &value))) nodeFromVariant_(&value, &node);
    VariantClear(&value);
    SafeArrayDestroy(found);
    return node != nullptr ? std::make_unique<Node>(this, node) : nullptr;
  }

  std::optional<std::wstring> Text(const Node& node, PROPERTYID property) const {
    VARIANT value = Value(node, property);
    std::optional<std::wstring> text;
    if (value.vt == VT_BSTR) text = std::wstring(value.bstrVal, SysStringLen(value.bstrVal));
    VariantClear(&value);
    return text;
  }
  std::optional<int> Number(const Node& node, PROPERTYID property) const {
    VARIANT value = Value(node, property);
    std::optional<int> number;
    if (value.vt == VT_I4) number = value.lVal;
    VariantClear(&value);
    return number;
  }
  std::optional<bool> Flag(const Node& node, PROPERTYID property) const {
    VARIANT value = Value(node, property);
    std::optional<bool> flag;
    if (value.vt == VT_BOOL) flag = value.boolVal != VARIANT_FALSE;
    VariantClear(&value);
    return flag;
  }

 private:
  using NodeFromHandleCall = HRESULT(WINAPI*)(HWND, HUIANODE*);
  using NavigateCall = HRESULT(WINAPI*)(HUIANODE, NavigateDirection, UiaCondition*, UiaCacheRequest*, SAFEARRAY**,
                                        BSTR*);
  using GetPropertyValueCall = HRESULT(WINAPI*)(HUIANODE, PROPERTYID, VARIANT*);
  using NodeReleaseCall = BOOL(WINAPI*)(HUIANODE);
  using NodeFromVariantCall = HRESULT(WINAPI*)(VARIANT*, HUIANODE*);

  template <class Call>
  void Find(const char* name, Call& call) {
    call = reinterpret_cast<Call>(reinterpret_cast<void (*)()>(GetProcAddress(library_.Get(), name)));
  }
  VARIANT Value(const Node& node, PROPERTYID property) const {
    VARIANT value;
    VariantInit(&value);
    if (FAILED(getPropertyValue_(node.Get(), property, &value))) VariantInit(&value);
    return value;
  }

  LibraryHandle library_;
  NodeFromHandleCall nodeFromHandle_ = nullptr;
  NavigateCall navigate_ = nullptr;
  GetPropertyValueCall getPropertyValue_ = nullptr;
  NodeReleaseCall nodeRelease_ = nullptr;
  NodeFromVariantCall nodeFromVariant_ = nullptr;
};

}  // namespace exetest
