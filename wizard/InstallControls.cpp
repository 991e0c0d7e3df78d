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

void PrepareInstallList(ui::List& list, const std::wstring& group, const std::wstring& rowName,
                        std::function<void(ui::ListRow&, int)> more) {
  list.RemoveAll();
  list.SetRowBinder([group, rowName, more = std::move(more)](ui::ListRow& row, int index) {
    row.SetName(rowName);
    // One group per list, so that one row of each list shows as chosen.
    if (auto* option = row.FindSubControl<ui::Option>(L"option_listext")) option->SetGroup(group);
    if (more) more(row, index);
  });
}
