#include "engine/NetworkAddress.h"

bool IsValidIpv4Address(const std::wstring& text) {
  std::wstring address = text;
  if (!address.empty() && address.back() == L'.') address.pop_back();
  int parts = 0;
  size_t start = 0;
  while (true) {
    const size_t dot = address.find(L'.', start);
    const size_t end = dot == std::wstring::npos ? address.size() : dot;
    if (end == start) return false;  // an empty part
    int value = 0;
    for (size_t i = start; i < end; ++i) {
      const wchar_t c = address[i];
      if (c < L'0' || c > L'9') return false;
      value = value * 10 + (c - L'0');
      if (value > 255) return false;
    }
    if (++parts > 4) return false;
    if (dot == std::wstring::npos) break;
    start = dot + 1;
  }
  return parts == 4;
}
