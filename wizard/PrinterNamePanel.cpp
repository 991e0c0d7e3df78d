// Panel 7, "tab_panel_install_printerName": the name of the new printer and whether it
// becomes the default printer.
#include "base/WideText.h"
#include "engine/FreeNames.h"
#include "engine/NewNameRules.h"
#include "engine/spooler/SpoolerNamesInUse.h"
#include "ui/controls/Edit.h"
#include "ui/controls/Option.h"
#include "ui/core/ResourceManager.h"
#include "wizard/InstallControls.h"
#include "wizard/InstallPanels.h"
#include "wizard/WizardContext.h"

namespace {

// A name the user typed is kept; an empty field, or one still holding the last proposal
// or a proposal for another model, gets a fresh proposal.
bool ProposesAnew(const WizardContext& context) {
  const auto& request = context.request;
  return request.printerName.empty() || request.printerName == context.proposedPrinterName ||
         request.modelIndex != context.proposedForModel;
}

}  // namespace

void EnterPrinterNamePanel() {
  auto& context = WizardContext::Instance();
  auto& request = context.request;
  context.SetNameInfo(L"", false);
  const auto index = static_cast<size_t>(request.modelIndex);
  if (request.modelIndex < 0 || index >= context.driverModels.size()) return;
  if (auto* edit = FindInstallControl<ui::Edit>(L"edit_install_printer_name")) {
    if (ProposesAnew(context)) {
      // The spooler refuses a name that differs from an existing one only in case, so
      // such a name does not count as free.
      request.printerName = ProposePrinterName(context.driverModels[index].modelName, PrinterNameInUse);
      context.proposedPrinterName = request.printerName;
      context.proposedForModel = request.modelIndex;
    }
    edit->SetText(request.printerName);
  }
  if (auto* option = FindInstallControl<ui::Option>(L"option_selected_defaultPrinter")) {
    if (request.setAsDefault < 0) request.setAsDefault = 1;
    option->SetSelected(request.setAsDefault == 1, false);
  }
}

bool CheckPrinterNameFree() {
  auto& context = WizardContext::Instance();
  const std::wstring& name = context.request.printerName;
  if (const wchar_t* fault = PrinterNameFault(name)) {
    context.SetNameInfo(ui::GetText(fault), true);
    return false;
  }
  if (PrinterNameInUse(name)) {
    context.SetNameInfo(FormatText(ui::GetText(L"check.printername.inuse"), name), true);
    return false;
  }
  context.SetNameInfo(FormatText(ui::GetText(L"check.printername.free"), name), false);
  return true;
}
