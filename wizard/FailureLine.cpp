#include "wizard/FailureLine.h"

#include "base/TextTable.h"
#include "base/WideText.h"
#include "engine/spooler/SystemOperations.h"
#include "ui/core/Control.h"

void ShowFailureLine(ui::Control* label, const wchar_t* key, uint32_t code) {
  if (label == nullptr) return;
  label->SetText(code == 0 ? std::wstring() : FormatText(GetText(key), SystemErrorReason(code)));
  label->SetVisible(code != 0);
}
