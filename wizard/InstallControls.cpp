#include "wizard/InstallControls.h"

#include "ui/controls/List.h"
#include "ui/controls/ListRow.h"
#include "ui/controls/Option.h"
#include "ui/controls/TabLayout.h"
#include "wizard/WizardContext.h"

ui::Control* FindInstallControl(std::wstring_view name) {
  ui::TabLayout* tab = WizardContext::Instance().installTab;
  return tab ? tab->FindSubControl(name) : nullptr;
}

ui::ListRow* AddInstallRow(ui::List& list, std::wstring_view templateFile, const std::wstring& group,
                           const std::wstring& rowName) {
  ui::ListRow* row = list.AddRow(templateFile);
  if (row == nullptr) return nullptr;
  row->SetName(rowName);
  // One group per list, so that one row of each list shows as chosen.
  if (auto* option = row->FindSubControl<ui::Option>(L"option_listext")) option->SetGroup(group);
  return row;
}
