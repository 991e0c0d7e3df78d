#include "wizard/ProtectedPrintNote.h"

#include "base/TextTable.h"
#include "engine/spooler/ProtectedPrintMode.h"

std::wstring ProtectedPrintSummaryNote() {
  if (!DetectProtectedPrintMode().enabled) return {};
  return GetText(L"protectedprint.summary");
}
