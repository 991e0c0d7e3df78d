#include "wizard/WizardContext.h"

#include "shell/LogLines.h"

WizardContext& WizardContext::Instance() {
  // Deliberately never destroyed: workers are never joined and may outlive main().
  // The first call happens on the UI thread at start-up, before any worker exists.
  static WizardContext* const context = new WizardContext();
  return *context;
}

WizardContext::WizardContext()
    : usbSteps{0, 1, 2, 4, 7, 8, 9},
      bluetoothSteps{0, 1, 3, 4, 7, 8, 9},
      networkSteps{0, 4, 6, 7, 8, 9},
      portListSteps{0, 4, 5, 7, 8, 9} {
  // The model list is built last.
  driverModels = BuildDriverModelRecords();
  // The removal lists show drivers whose name a family name holds.
  familyNames = DriverFamilyNames();
}

void WizardContext::AppendInstallLog(std::wstring text, bool error, bool clear) {
  AppendInstallLine(mainWindow, std::move(text), error, clear);
}

void WizardContext::AppendRemoveLog(std::wstring text, bool error, bool clear) {
  AppendRemoveLine(mainWindow, std::move(text), error, clear);
}
