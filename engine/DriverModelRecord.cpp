#include "engine/DriverModelRecord.h"

#include "base/WideText.h"

namespace {

const wchar_t* const kArchitectureFolders[] = {L"Driver32", L"Driver64", L"IA64"};

std::wstring FormatTwice(std::wstring_view templ, std::wstring_view first, std::wstring_view second) {
  // Both "%s" of a template, in order.
  const auto at = templ.find(L"%s");
  return std::wstring(templ.substr(0, at)) + std::wstring(first) + FormatText(templ.substr(at + 2), second);
}

DriverModelRecord BuildRecord(int32_t code, const std::wstring& tag, const std::wstring& excluded) {
  DriverModelRecord record;
  record.modelCode = code;
  record.modelName = L"QuorvelA4-" + tag;
  record.driverName = record.modelName;
  record.certificateFile = L"qmvt.cer";
  record.infFile = L"QuorvelA4.inf";

  std::vector<std::wstring>* spooler[] = {&record.spoolerList32, &record.spoolerList64, &record.spoolerListIA64};
  std::vector<std::wstring>* folder[] = {&record.folderList32, &record.folderList64, &record.folderListIA64};
  for (const wchar_t* templ : {L"driver\\a4\\%s\\QuorvelA4UI%s.dll", L"driver\\a4\\%s\\QuorvelA4UNI%s.dll"}) {
    for (int arch = 0; arch < 3; ++arch) {
      const std::wstring path = FormatTwice(templ, kArchitectureFolders[arch], tag);
      spooler[arch]->push_back(path);
      folder[arch]->push_back(path);
    }
  }
  for (const wchar_t* shared :
       {L"driver\\a4\\QuorvelA4203.pcd", L"driver\\a4\\QuorvelA4300.pcd", L"driver\\a4\\plotuia4.hlp"}) {
    if (std::wstring_view(shared).find(excluded) != std::wstring_view::npos) continue;
    if (tag == L"300") record.folderListRoot.push_back(shared);
    for (auto* list : spooler) list->push_back(shared);
  }
  // The printer-installation applet reads the INF beside the architecture's files, and the
  // INF names the data and help files as its own: they go beside it too. The certificate
  // goes into the install folder, where the certificate step looks for it.
  for (auto* list : folder) {
    list->push_back(L"driver\\a4\\" + record.infFile);
    for (const auto& shared : record.spoolerList32) {
      if (shared.find(L"\\Driver32\\") == std::wstring::npos) list->push_back(shared);
    }
  }
  record.folderListRoot.push_back(L"driver\\a4\\" + record.certificateFile);
  record.subFolders = {L"Driver64", L"Driver32", L"IA64"};
  record.driverFile = L"QuorvelA4UNI" + tag + L".DLL";
  record.dataFile = L"QuorvelA4" + tag + L".pcd";
  record.configurationFile = L"QuorvelA4UI" + tag + L".DLL";
  record.helpFile = L"plotuia4.hlp";
  return record;
}

}  // namespace

std::vector<DriverModelRecord> BuildDriverModelRecords() {
  return {BuildRecord(0, L"203", L"300"), BuildRecord(1, L"300", L"203")};
}

std::vector<std::wstring> DriverFamilyNames() {
  return {L"Quorvel-A4(203)", L"Quorvel-A4(300)", L"QuorvelA4-203", L"QuorvelA4-300"};
}
