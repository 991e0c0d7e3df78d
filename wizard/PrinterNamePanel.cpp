// Panel 7, "tab_panel_install_printerName": the name of the new printer and whether it
// becomes the default printer.
#include "base/WideText.h"
#include "engine/FreeNames.h"
#include "engine/spooler/SpoolerNamesInUse.h"
#include "ui/controls/Edit.h"
#include "ui/controls/Option.h"
#include "wizard/InstallControls.h"
#include "wizard/InstallPanels.h"
#include "wizard/WizardContext.h"

namespace {

// Fixed texts, the same in every language.
constexpr const wchar_t* kNameInUse = L"*打印机名称:%s 不可以使用，请更换名称";
constexpr const wchar_t* kNameFree = L"打印机名称:%s 可以使用";

}  // namespace

void EnterPrinterNamePanel() {
  auto& context = WizardContext::Instance();
  auto& request = context.request;
  const auto index = static_cast<size_t>(request.modelIndex);
  if (request.modelIndex < 0 || index >= context.driverModels.size()) return;
  if (auto* edit = FindInstallControl<ui::Edit>(L"edit_install_printer_name")) {
    // The spooler refuses a name that differs from an existing one only in case, so
    // such a name does not count as free.
    request.printerName = ProposePrinterName(context.driverModels[index].modelName, PrinterNameInUse);
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
  if (PrinterNameInUse(name)) {
    context.SetNameInfo(FormatText(kNameInUse, name), true);
    return false;
  }
  context.SetNameInfo(FormatText(kNameFree, name), false);
  return true;
}
