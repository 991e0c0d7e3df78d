#include "engine/FreeNames.h"

std::wstring ProposePrinterName(const std::wstring& modelName, const NameTaken& taken) {
  std::wstring candidate = modelName;
  for (int n = 1; taken(candidate); ++n) candidate = modelName + L" (" + std::to_wstring(n) + L")";
  return candidate;
}

std::wstring ProposeNetworkPortName(const std::wstring& address, const NameTaken& taken) {
  std::wstring candidate = address;
  for (int n = 1; taken(candidate); ++n) candidate = address + L"_" + std::to_wstring(n);
  return candidate;
}
