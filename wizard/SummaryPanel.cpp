// Panels 8 and 9: the summary of the choices, and the start of the installation.
#include "base/WindowMessage.h"
#include "shell/MainWindowMessages.h"
#include "ui/controls/Label.h"
#include "ui/core/ResourceManager.h"
#include "wizard/InstallControls.h"
#include "wizard/InstallPanels.h"
#include "wizard/InstallationStart.h"
#include "wizard/ProtectedPrintNote.h"
#include "wizard/WizardContext.h"

namespace {

void ShowValue(const wchar_t* name, const std::wstring& text) {
  if (auto* label = FindInstallControl<ui::Label>(name)) {
    label->SetText(text);
    label->SetToolTip(text);
  }
}

}  // namespace

void EnterSummaryPanel() {
  auto& context = WizardContext::Instance();
  const auto& request = context.request;
  // Next starts the installation; shown also when Back comes from a start that failed.
  context.SetNextButton(true, L"", true);
  const auto index = static_cast<size_t>(request.modelIndex);
  if (request.modelIndex < 0 || index >= context.driverModels.size()) return;
  ShowValue(L"label_ready_driverName", context.driverModels[index].driverName);
  ShowValue(L"label_ready_portName", request.portName);
  ShowValue(L"label_ready_printerName", request.printerName);
  if (auto* label = FindInstallControl<ui::Label>(L"label_ready_prinerDefault")) {
    label->SetText(ui::GetText(request.setAsDefault == 1 ? L"tip.yes" : L"tip.no"));
  }
  // Windows may refuse the driver; the user may still try, so Next stays.
  if (auto* note = FindInstallControl<ui::Label>(L"label_ready_protectedPrint")) {
    const std::wstring text = ProtectedPrintSummaryNote();
    note->SetText(text);
    note->SetVisible(!text.empty());
  }
}

void EnterInstallingPanel() {
  // StartInstallation plays the animation and hides both bars before its thread starts.
  StartInstallation();
}
