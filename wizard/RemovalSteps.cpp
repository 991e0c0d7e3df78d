#include "wizard/RemovalSteps.h"

#include <algorithm>

#include "base/WideText.h"
#include "base/WindowMessage.h"
#include "devices/RemovalWorker.h"
#include "engine/spooler/SpoolerOperations.h"
#include "shell/MainWindowMessages.h"
#include "ui/controls/RichEdit.h"
#include "ui/controls/TabLayout.h"
#include "ui/core/ResourceManager.h"
#include "wizard/RunLockStep.h"
#include "wizard/WizardContext.h"
#include "wizard/WorkerThread.h"

void AddSelectedName(std::vector<std::wstring>& names, const std::wstring& name) {
  if (!HasSelectedName(names, name)) names.push_back(name);
}

void RemoveSelectedName(std::vector<std::wstring>& names, const std::wstring& name) {
  names.erase(std::remove(names.begin(), names.end(), name), names.end());
}

bool HasSelectedName(const std::vector<std::wstring>& names, const std::wstring& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

namespace {

// The chosen drivers of the system's own environment by their driver names: only these
// serve printers, so only their printers go with them.
std::set<std::wstring> ChosenSystemDrivers(const WizardContext& context) {
  const std::wstring systemEnvironment = SystemDriverEnvironment();
  std::set<std::wstring> names;
  for (const auto& name : context.selectedDrivers) {
    const auto entry = std::find_if(context.driverEntries.begin(), context.driverEntries.end(),
                                    [&](const auto& e) { return DriverChoiceName(e, systemEnvironment) == name; });
    const bool otherEnvironment = entry != context.driverEntries.end() && entry->driverName != name;
    if (!otherEnvironment) names.insert(name);
  }
  return names;
}

}  // namespace

void BuildRemovalSummary() {
  auto& context = WizardContext::Instance();
  context.SetNextButton(true, L"main.btn.startDelete", true);
  context.SetNextButton(true, L"", !context.selectedDrivers.empty() || !context.selectedPrinters.empty());

  AddPrintersOfDrivers(context.selectedPrinters, ChosenSystemDrivers(context), context.printerEntries);

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

  RemovalJob job{context.mainWindow, context.selectedPrinters, context.selectedDrivers, context.driverEntries,
                 SystemDriverEnvironment()};
  // The lock goes with the thread's function and is released when it returns, or at
  // once when no thread could be had.
  const bool started = StartWorkerThread([job = std::move(job), lock = std::move(lock)] {
    RemovalWorker(job);
    ui::SendWindowMessage(job.mainWindow, kMsgRunEnded, 0, static_cast<intptr_t>(ShownPage::RemovalWizard));
  });
  if (!started) {
    // Nothing was deleted and the choice stays: Back leads to the summary again.
    context.AppendRemoveLog(L"", false, true);
    context.AppendRemoveLog(ui::GetText(L"tip.nothread"), true, false);
    context.SetNextButton(false, L"", true);
    return false;
  }
  // Emptied here, on the UI thread that owns them, before the worker can end.
  context.selectedPrinters.clear();
  context.selectedDrivers.clear();
  return true;
}
