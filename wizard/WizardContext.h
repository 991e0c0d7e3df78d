// All state of the wizard, its pages and its worker threads: one process-wide object,
// created on first use and never destroyed, so a worker that is still running while the
// process ends never sees it go away.
//
// Threads: no lock guards it. The UI thread fills the request and the lists; a worker
// reads them while the wizard hides every control that could change them, and reports
// only through synchronous messages to the main window.
#pragma once

#include <atomic>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "base/WindowHandle.h"
#include "devices/BluetoothDeviceRecord.h"
#include "devices/UsbPrinterEntry.h"
#include "engine/DriverModelRecord.h"
#include "engine/InstallRequest.h"
#include "engine/spooler/SpoolerEntry.h"
#include "shell/Languages.h"
#include "shell/MainWindowHandle.h"
#include "wizard/WizardStates.h"

namespace ui {
class Control;
class TabLayout;
struct TNotifyUI;
}  // namespace ui

class WizardContext {
 public:
  static WizardContext& Instance();

  WizardContext(const WizardContext&) = delete;
  WizardContext& operator=(const WizardContext&) = delete;

  // One time-stamped line (or, with clear, an empty pane) in the install or removal log,
  // through kMsgInstallLog and kMsgRemoveLog. Callable from any thread; returns when it is shown.
  void AppendInstallLog(std::wstring text, bool error, bool clear);
  void AppendRemoveLog(std::wstring text, bool error, bool clear);

  // Navigation of the two wizards and the routing of their events (UI thread).
  void Home();
  void Next();
  void Back();
  void ShowInstallStep(int panel);
  void ShowRemovalStep(int panel);
  void OnWizardClick(ui::Control* sender);
  void OnWizardNotify(ui::TNotifyUI& msg);
  // Requests to the main window (kMsgNextButton, kMsgBluetoothBar, kMsgPrinterNameInfo).
  void SetNextButton(bool visible, std::wstring label, bool enabled);
  void SetBluetoothBar(bool visible, std::wstring text);
  void SetNameInfo(std::wstring text, bool error);
  // A run ended (UI thread, kMsgRunEnded): the finish bar, with the three finish actions
  // when asked, shows on the run's own page and nowhere else.
  void EndRun(ShownPage runPage, bool withActions);

  std::vector<BluetoothDeviceRecord> bluetoothDevices;
  std::vector<UsbPrinterEntry> usbPrinters;
  // The Windows error codes of the last searches that could not look at every device; 0
  // when they could.
  uint32_t bluetoothScanError = 0;
  uint32_t usbScanError = 0;
  std::vector<DriverModelRecord> driverModels;
  LanguageTable& languageTable = ProcessLanguageTable();
  ui::TabLayout* mainTab = nullptr;
  ui::TabLayout* installTab = nullptr;
  ui::TabLayout* removalTab = nullptr;
  ui::WindowHandle& mainWindow = ProcessMainWindow();
  WizardMode mode = WizardMode::Install;
  int position = 0;
  ShownPage shownPage = ShownPage::Index;
  ActiveWizard activeWizard = ActiveWizard::None;  // recomputed at the end of every Next
  InstallRequest request;
  // The network panel's port name as last shown, and whether the user typed it; while
  // not, it follows the address. Kept apart from the request's port name, which the
  // other port kinds share.
  std::wstring networkPortName;
  bool networkPortNameTyped = false;
  // The printer name the printer-name panel proposed last, and for which model: a name
  // the user typed instead is kept.
  std::wstring proposedPrinterName;
  int proposedForModel = -1;
  std::vector<std::wstring> familyNames;
  std::vector<std::wstring> selectedPrinters;  // in the order checked, no duplicates
  std::set<std::wstring> selectedDrivers;
  std::vector<SpoolerEntry> printerEntries;
  std::vector<SpoolerEntry> driverEntries;
  std::vector<int> usbSteps;
  std::vector<int> bluetoothSteps;
  std::vector<int> networkSteps;
  std::vector<int> portListSteps;
  std::vector<uint8_t> usbTestBuffer;
  // Read by workers while the UI thread switches the language.
  std::atomic<uint16_t>& currentLanguageId = ProcessLanguageId();

 private:
  WizardContext();
};
