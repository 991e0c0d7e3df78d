#include "devices/UsbPortRules.h"

#include <cwchar>

namespace {
constexpr std::wstring_view kKeyStart =
    L"SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{28d78fad-5a12-11d1-ae5b-0000f803a8c2}\\##?#";
constexpr std::wstring_view kKeyEnd = L"#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}\\#\\Device Parameters";
}  // namespace

std::wstring PidVidOfInstanceId(std::wstring_view instanceId) {
  const size_t first = instanceId.find(L'\\');
  if (first == std::wstring_view::npos) return std::wstring(instanceId);
  const size_t second = instanceId.find(L'\\', first + 1);
  std::wstring pidVid(
      instanceId.substr(first + 1, second == std::wstring_view::npos ? std::wstring_view::npos : second - first - 1));
  for (wchar_t& c : pidVid) {
    if (c == L'&') c = L' ';
  }
  return pidVid;
}

std::wstring UsbPortNameOfNumber(uint32_t portNumber) {
  if (portNumber == 0) return {};
  wchar_t text[16];
  std::swprintf(text, std::size(text), L"USB%.3u", static_cast<unsigned>(portNumber));
  return text;
}

std::optional<std::wstring> UsbPortKeyName(std::wstring_view instanceId) {
  if (kKeyStart.size() + instanceId.size() + kKeyEnd.size() + 1 > kUsbPortKeyCapacity) return std::nullopt;
  std::wstring key;
  key.reserve(kKeyStart.size() + instanceId.size() + kKeyEnd.size());
  key += kKeyStart;
  for (const wchar_t c : instanceId) key += c == L'\\' ? L'#' : c;
  key += kKeyEnd;
  return key;
}
