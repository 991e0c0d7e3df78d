// The printer and driver panels of the removal wizard: the lists with their family
// filter, search and show-all option, the check state of their rows, and the entry
// actions of all four panels.
#include "wizard/RemovalPage.h"

#include <algorithm>

#include "base/WideText.h"
#include "base/WindowMessage.h"
#include "devices/RemovalWorker.h"
#include "engine/RemovalListFilter.h"
#include "engine/spooler/DriverEnvironment.h"
#include "engine/spooler/SpoolerOperations.h"
#include "shell/MainWindowMessages.h"
#include "ui/controls/Edit.h"
#include "ui/controls/List.h"
#include "ui/controls/ListRow.h"
#include "ui/controls/Option.h"
#include "ui/controls/TabLayout.h"
#include "ui/core/TNotifyUI.h"
#include "wizard/FailureLine.h"
#include "wizard/RemovalSteps.h"
#include "wizard/WizardContext.h"

namespace {

constexpr int kRowHeight = 30;

// What differs between the printer list and the driver list.
struct RemovalList {
  const wchar_t* list;
  const wchar_t* option;
  const wchar_t* edit;
  const wchar_t* row;
  const wchar_t* failureLine;  // the red line shown when the list cannot be read
  const wchar_t* failureKey;
  bool printers;
};

constexpr RemovalList kPrinterList{L"listex_delete_printer",
                                   L"option_showAll_deletePrinter",
                                   L"edit_find_deletePrinter",
                                   L"listex_delete_printer_item",
                                   L"label_delete_printer_failed",
                                   L"list.printers.unreadable",
                                   true};
constexpr RemovalList kDriverList{L"listex_delete_driver",
                                  L"option_showAll_deleteDriver",
                                  L"edit_find_deleteDriver",
                                  L"listex_delete_driver_item",
                                  L"label_delete_driver_failed",
                                  L"list.drivers.unreadable",
                                  false};

WizardContext& Context() {
  return WizardContext::Instance();
}

template <class T>
T* FindInRemoval(const wchar_t* name) {
  ui::TabLayout* tab = Context().removalTab;
  return tab != nullptr ? tab->FindSubControl<T>(name) : nullptr;
}

int& ShowAll(const RemovalList& list) {
  return list.printers ? Context().request.showAllPrinters : Context().request.showAllDrivers;
}

std::wstring& SearchText(const RemovalList& list) {
  return list.printers ? Context().request.printerSearchText : Context().request.driverSearchText;
}

bool IsChosen(const RemovalList& list, const std::wstring& name) {
  if (list.printers) return HasSelectedName(Context().selectedPrinters, name);
  return Context().selectedDrivers.count(name) != 0;
}

void SetChosen(const RemovalList& list, const std::wstring& name, bool chosen) {
  auto& context = Context();
  if (list.printers) {
    if (chosen) {
      AddSelectedName(context.selectedPrinters, name);
    } else {
      RemoveSelectedName(context.selectedPrinters, name);
    }
  } else if (chosen) {
    context.selectedDrivers.insert(name);
  } else {
    context.selectedDrivers.erase(name);
  }
}

// On 64-bit Windows a 32-bit installer that named no environment registered the family's
// drivers for x86, where no printer uses them: they get rows of their own, marked with
// their environment, and go in that environment.
SystemOutcome AddLeftoverX86Drivers(std::vector<SpoolerEntry>& entries, const std::wstring& systemEnvironment) {
  if (EqualsNoCase(systemEnvironment, kEnvironmentX86)) return {};
  std::vector<SpoolerEntry> x86;
  const SystemOutcome listed = ListDrivers(x86, kEnvironmentX86);
  const RemovalListFilter family(false, L"", Context().familyNames, false);
  for (auto& entry : x86) {
    if (family.Passes(entry)) entries.push_back(std::move(entry));
  }
  return listed;
}

void BuildList(const RemovalList& list, bool keepOption) {
  auto& context = Context();
  int& showAll = ShowAll(list);
  if (showAll < 0) showAll = 0;
  if (!keepOption) {
    auto* option = FindInRemoval<ui::Option>(list.option);
    if (option != nullptr && option->IsSelected() != (showAll == 1)) option->SetSelected(showAll == 1, false);
  }
  auto& entries = list.printers ? context.printerEntries : context.driverEntries;
  // The system's own drivers: a 32-bit program that named none would see only the x86 ones.
  const std::wstring systemEnvironment = SystemDriverEnvironment();
  SystemOutcome listed;
  if (list.printers) {
    listed = ListPrinters(entries, systemEnvironment);
  } else {
    listed = ListDrivers(entries, systemEnvironment);
    const SystemOutcome leftovers = AddLeftoverX86Drivers(entries, systemEnvironment);
    if (listed) listed = leftovers;
  }
  // An empty list must not pass for "nothing to remove" when the spooler did not answer.
  ShowFailureLine(FindInRemoval<ui::Control>(list.failureLine), list.failureKey, listed.Error());
  auto* rows = FindInRemoval<ui::List>(list.list);
  if (rows == nullptr) return;
  rows->RemoveAll();
  rows->SetRowBinder([name = std::wstring(list.row)](ui::ListRow& row, int) {
    if (row.GetName() == name) return;  // a control is styled once
    row.SetFixedHeight(kRowHeight);
    row.SetAttribute(L"style", L"listex_item_style");
    row.SetName(name);
  });
  const RemovalListFilter filter(showAll == 1, SearchText(list), context.familyNames, list.printers);
  for (const auto& entry : entries) {
    if (!filter.Passes(entry)) continue;
    const std::wstring name = list.printers ? entry.printerName : DriverChoiceName(entry, systemEnvironment);
    rows->AddItem({{L"", name}, L"0", IsChosen(list, name)});
  }
}

const RemovalList* ListOfRow(const std::wstring& senderName) {
  if (EqualsNoCase(senderName, kPrinterList.row)) return &kPrinterList;
  if (EqualsNoCase(senderName, kDriverList.row)) return &kDriverList;
  return nullptr;
}

// A press on the check box sends "listitemchecked" and then "itemclick": the first marks
// the row so that the second leaves it be, and the choice changes once. A press on the
// text sends only "itemclick", which flips the row.
void OnRowNotify(const RemovalList& list, ui::TNotifyUI& msg) {
  auto* row = dynamic_cast<ui::ListRow*>(msg.sender);
  if (row == nullptr) return;
  const std::wstring name = row->GetColumnText(1);
  if (msg.Is(L"listitemchecked")) {
    row->SetUserData(L"1");
    if (msg.lParam == 1 || msg.lParam == 0) SetChosen(list, name, msg.lParam == 1);
    return;
  }
  if (row->GetUserData() == L"0") {
    row->SetChecked(!row->IsChecked());
    SetChosen(list, name, row->IsChecked());
  }
  row->SetUserData(L"0");
}

}  // namespace

void EnterRemovalPanel(int panel) {
  auto& context = Context();
  ui::SendWindowMessage(context.mainWindow, kMsgPreviousButton, 1, 0);
  context.SetNextButton(true, L"main.btn.next", true);
  switch (panel) {
    case 0:
      BuildList(kPrinterList, false);
      break;
    case 1:
      BuildList(kDriverList, false);
      break;
    case 2:
      BuildRemovalSummary();
      break;
    case 3:
      StartRemoval();
      break;
    default:
      break;
  }
}

bool OnRemovalClick(ui::Control* sender) {
  if (sender == nullptr) return false;
  const std::wstring& name = sender->GetName();
  const RemovalList* list = EqualsNoCase(name, kPrinterList.option)  ? &kPrinterList
                            : EqualsNoCase(name, kDriverList.option) ? &kDriverList
                                                                     : nullptr;
  if (list == nullptr) return false;
  // The click comes before the option changes: its new state is the opposite of now.
  auto* option = dynamic_cast<ui::Option*>(sender);
  ShowAll(*list) = option != nullptr && option->IsSelected() ? 0 : 1;
  BuildList(*list, true);
  return true;
}

bool OnRemovalNotify(ui::TNotifyUI& msg) {
  const std::wstring name = msg.SenderName();
  if (msg.Is(L"listitemchecked") || msg.Is(L"itemclick")) {
    const RemovalList* list = ListOfRow(name);
    if (list == nullptr) return false;
    OnRowNotify(*list, msg);
    return true;
  }
  if (msg.Is(L"textchanged")) {
    const RemovalList* list = EqualsNoCase(name, kPrinterList.edit)  ? &kPrinterList
                              : EqualsNoCase(name, kDriverList.edit) ? &kDriverList
                                                                     : nullptr;
    if (list == nullptr) return false;
    SearchText(*list) = msg.sender != nullptr ? msg.sender->GetText() : std::wstring();
    BuildList(*list, false);
    return true;
  }
  return false;
}
