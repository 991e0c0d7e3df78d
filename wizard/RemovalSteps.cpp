#include "wizard/RemovalSteps.h"

#include <algorithm>
#include <thread>

#include "base/WideText.h"
#include "base/WindowMessage.h"
#include "devices/RemovalWorker.h"
#include "shell/MainWindowMessages.h"
#include "ui/controls/RichEdit.h"
#include "ui/controls/TabLayout.h"
#include "ui/core/ResourceManager.h"
#include "wizard/RunLockStep.h"
#include "wizard/WizardContext.h"

void AddSelectedName(std::vector<std::wstring>& names, const std::wstring& name) {
  if (!HasSelectedName(names, name)) names.push_back(name);
}

void RemoveSelectedName(std::vector<std::wstring>& names, const std::wstring& name) {
  names.erase(std::remove(names.begin(), names.end(), name), names.end());
}

bool HasSelectedName(const std::vector<std::wstring>& names, const std::wstring& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

void BuildRemovalSummary() {
  auto& context = WizardContext::Instance();
  context.SetNextButton(true, L"main.btn.startDelete", true);
  context.SetNextButton(true, L"", !context.selectedDrivers.empty() || !context.selectedPrinters.empty());

  AddPrintersOfDrivers(context.selectedPrinters, context.selectedDrivers, context.printerEntries);

  auto* summary =
      context.removalTab ? context.removalTab->FindSubControl<ui::RichEdit>(L"wordedit_deleteInfo") : nullptr;
  if (summary == nullptr) return;
  std::wstring text = ui::GetText(L"gb.title.printer") + L":\r\n";
  for (const auto& name : context.selectedPrinters) text += L"     " + name + L"\r\n";
  text += ui::GetText(L"gb.title.driver") + L":\r\n";
  for (const auto& name : context.selectedDrivers) text += L"     " + name + L"\r\n";
  summary->SetText(L"");
  summary->AppendText(text);
}

bool StartRemoval() {
  InstallationLock lock = TakeRunLock();
  if (!lock.Held()) return false;
  auto& context = WizardContext::Instance();
  ui::SendWindowMessage(context.mainWindow, kMsgFinishBar, 0, 0);
  ui::SendWindowMessage(context.mainWindow, kMsgFinishActions, 0, 0);

  RemovalJob job{context.mainWindow, context.selectedPrinters, context.selectedDrivers, context.driverEntries};
  // Emptied here, on the UI thread that owns them, before the worker can end.
  context.selectedPrinters.clear();
  context.selectedDrivers.clear();
  // The lock goes with the thread's function and is released when it returns.
  std::thread([job = std::move(job), lock = std::move(lock)] {
    RemovalWorker(job);
    ui::SendWindowMessage(job.mainWindow, kMsgRunEnded, 0, static_cast<intptr_t>(ShownPage::RemovalWizard));
  }).detach();
  return true;
}
