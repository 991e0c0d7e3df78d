#include "engine/NewNameRules.h"

#include "engine/spooler/TcpIpPortData.h"

const wchar_t* PrinterNameFault(const std::wstring& name) {
  if (name.empty()) return L"check.printername.empty";
  if (name.size() > kMaxPrinterNameLength) return L"check.printername.toolong";
  if (name.find_first_of(L"\\,\"") != std::wstring::npos) return L"check.printername.character";
  return nullptr;
}

const wchar_t* NetworkPortNameFault(const std::wstring& name) {
  if (name.empty()) return L"check.portname.empty";
  if (name.size() > kMaxTcpIpPortName) return L"check.portname.toolong";
  return nullptr;
}
