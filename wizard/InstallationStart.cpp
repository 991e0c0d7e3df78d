// Placeholder until the installation worker exists: the run ends at once, unsuccessful.
#include "wizard/InstallationStart.h"

#include "shell/MainWindowMessages.h"
#include "base/WindowMessage.h"
#include "wizard/WizardContext.h"

bool StartInstallation() {
  const ui::WindowHandle window = WizardContext::Instance().mainWindow;
  ui::SendWindowMessage(window, kMsgInstallAnimation, 0, 0);
  ui::SendWindowMessage(window, kMsgFinishBar, 1, 0);
  ui::SendWindowMessage(window, kMsgWizardBar, 0, 0);
  ui::SendWindowMessage(window, kMsgFinishActions, 0, 0);
  return false;
}
