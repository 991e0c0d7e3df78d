#include "engine/PinText.h"

#include <algorithm>

namespace {

bool IsAsciiLetterOrDigit(wchar_t c) {
  return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9');
}

}  // namespace

std::wstring FilterPin(const std::wstring& text) {
  std::wstring kept;
  kept.reserve(text.size());
  std::copy_if(text.begin(), text.end(), std::back_inserter(kept), IsAsciiLetterOrDigit);
  return kept;
}

bool IsValidPin(const std::wstring& pin) {
  return !pin.empty() && std::all_of(pin.begin(), pin.end(), IsAsciiLetterOrDigit);
}
