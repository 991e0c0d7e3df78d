// Panel 4, "tab_panel_install_moudel": the printer model.
#include "ui/controls/List.h"
#include "wizard/InstallControls.h"
#include "wizard/InstallPanels.h"
#include "wizard/WizardContext.h"

void EnterModelPanel() {
  auto& context = WizardContext::Instance();
  context.SetNextButton(false, L"", true);
  auto* list = FindInstallControl<ui::List>(L"listex_install_driver_moudel");
  if (context.driverModels.empty() || list == nullptr) return;
  PrepareInstallList(*list, L"listex_install_driver_moudel_group", L"listex_install_driver_item");
  auto& request = context.request;
  for (const auto& model : context.driverModels) {
    const int index = list->AddItem({{L"", model.modelName}, std::to_wstring(model.modelCode)});
    // The 300 dpi model is proposed until the user picks one.
    const bool chosen =
        request.modelIndex < 0 ? model.driverName == L"QuorvelA4-300" : model.modelCode == request.modelIndex;
    if (chosen) {
      request.modelIndex = model.modelCode;
      list->SelectRow(index);
      context.SetNextButton(true, L"", true);
    }
  }
}
