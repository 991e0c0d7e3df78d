#include "engine/RemovalListFilter.h"

#include <algorithm>

#include "base/WideText.h"

namespace {

bool ContainsLowered(std::wstring_view text, const std::wstring& lowerNeedle) {
  return ToLowerUnits(text).find(lowerNeedle) != std::wstring::npos;
}

}  // namespace

RemovalListFilter::RemovalListFilter(bool showAll, std::wstring_view searchText,
                                     const std::vector<std::wstring>& familyNames, bool matchPrinterName)
    : showAll_(showAll),
      searchLower_(ToLowerUnits(searchText)),
      familyNames_(familyNames),
      matchPrinterName_(matchPrinterName) {}

bool RemovalListFilter::Passes(const SpoolerEntry& entry) const {
  if (!showAll_) {
    // A family name holds the driver name: the display names hold the short driver
    // names of the family, and the family's own driver names hold themselves.
    const bool family = std::any_of(familyNames_.begin(), familyNames_.end(), [&](const std::wstring& name) {
      return name.find(entry.driverName) != std::wstring::npos;
    });
    if (!family) return false;
  }
  if (searchLower_.empty()) return true;
  if (ContainsLowered(entry.driverName, searchLower_)) return true;
  return matchPrinterName_ && ContainsLowered(entry.printerName, searchLower_);
}
