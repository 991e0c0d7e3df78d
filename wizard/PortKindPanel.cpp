// Panel 0, "tab_panel_install_port": how the printer is attached.
#include "ui/controls/Option.h"
#include "wizard/DeviceScan.h"
#include "wizard/InstallControls.h"
#include "wizard/InstallPanels.h"
#include "wizard/WizardContext.h"

void EnterPortKindPanel() {
  auto& context = WizardContext::Instance();
  context.SetNextButton(true, L"", true);
  // Home hid the adapter row; a Bluetooth choice kept from before shows it again.
  if (context.request.portKind == PortKind::Bluetooth) CheckBluetoothAdapter(false);
  if (context.request.portKind != PortKind::None) return;
  if (auto* com = FindInstallControl<ui::Option>(L"option_port_com")) com->SetSelected(true, false);
  context.SetBluetoothBar(false, L"");
  context.request.portKind = PortKind::Com;
}
