#include "wizard/WizardContext.h"

#include "shell/MainWindowMessages.h"
#include "shell/UiTextMessage.h"
#include "ui/WindowMessage.h"

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
}

namespace {
void SendLogLine(ui::WindowHandle window, uint32_t message, std::wstring text, bool error, bool clear) {
  UiTextMessage payload{std::move(text), static_cast<uint8_t>(error), static_cast<uint8_t>(clear), 1};
  // A destroyed window loses the line; the log never fails a run.
  ui::SendWindowMessage(window, message, 0, reinterpret_cast<intptr_t>(&payload));
}
}  // namespace

void WizardContext::AppendInstallLog(std::wstring text, bool error, bool clear) {
  SendLogLine(mainWindow, kMsgInstallLog, std::move(text), error, clear);
}

void WizardContext::AppendRemoveLog(std::wstring text, bool error, bool clear) {
  SendLogLine(mainWindow, kMsgRemoveLog, std::move(text), error, clear);
}
