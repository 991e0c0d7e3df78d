// Which spooler entries the removal page's printer and driver lists show: the family
// filter (unless "show all" is on) and the search text, letter case ignored.
//
// Threads: any; plain values.
#pragma once

#include <string>
#include <vector>

#include "engine/spooler/SpoolerEntry.h"

class RemovalListFilter {
 public:
  // The printer list's search matches the printer name as well as the driver name.
  RemovalListFilter(bool showAll, std::wstring_view searchText, const std::vector<std::wstring>& familyNames,
                    bool matchPrinterName);

  bool Passes(const SpoolerEntry& entry) const;

 private:
  bool showAll_;
  std::wstring searchLower_;
  const std::vector<std::wstring>& familyNames_;
  bool matchPrinterName_;
};
