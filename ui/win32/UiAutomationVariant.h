// VARIANTs of the kinds UI Automation properties take. A text variant owns its string:
// the receiver clears it (VariantClear). Windows build only.
#pragma once

#include "ui/win32/WindowsHeaders.h"

#include <oleauto.h>

#include <string>

namespace ui {

inline VARIANT UiaEmpty() {
  VARIANT value;
  VariantInit(&value);
  return value;
}

inline VARIANT UiaFlag(bool on) {
  VARIANT value = UiaEmpty();
  value.vt = VT_BOOL;
  value.boolVal = on ? VARIANT_TRUE : VARIANT_FALSE;
  return value;
}

inline VARIANT UiaNumber(int number) {
  VARIANT value = UiaEmpty();
  value.vt = VT_I4;
  value.lVal = number;
  return value;
}

// Empty when the string cannot be allocated.
inline VARIANT UiaText(const std::wstring& text) {
  VARIANT value = UiaEmpty();
  value.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  if (value.bstrVal != nullptr) value.vt = VT_BSTR;
  return value;
}

}  // namespace ui
