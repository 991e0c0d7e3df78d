// Every driver file that an installation may copy, as the package holds it: called with
// the file's lower-case name and its entry's path in the package.
#pragma once

#include <string>

#include "base/WideText.h"
#include "engine/DriverModelRecord.h"

template <typename Visit>
void ForEachDriverPackageEntry(Visit visit) {
  for (const auto& model : BuildDriverModelRecords()) {
    for (const auto* list : {&model.spoolerList32, &model.spoolerList64, &model.spoolerListIA64, &model.folderListRoot,
                             &model.folderList32, &model.folderList64, &model.folderListIA64}) {
      for (std::wstring path : *list) {
        const std::wstring name = path.substr(path.rfind(L'\\') + 1);
        for (auto& c : path) c = c == L'\\' ? L'/' : c;
        visit(WideToUtf8(ToLowerUnits(name)), WideToUtf8(path));
      }
    }
  }
}
