// The install wizard's panels: their entry actions (run by ShowInstallStep), the checks
// that guard stepping onto the next panel (run by Next), and the actions of their own
// buttons and edits (run by OnWizardClick and OnWizardNotify). Each reads and writes the
// request of WizardContext; controls missing from the layout are skipped.
//
// Threads: UI thread only.
#pragma once

#include <string>

namespace ui {
class Edit;
}  // namespace ui

// Panel 0: the port kinds; the first visit chooses COM.
void EnterPortKindPanel();
// Panel 2: the USB printers found; the row at usbIndex (else the first) is chosen. With
// none found, a line says what to check.
void EnterUsbListPanel();
// Panel 3: the Bluetooth devices found, no row chosen, and the PIN edit; with none found,
// a line says what to check.
void EnterBluetoothListPanel();
// Panel 4: the models; the 300 dpi model is proposed until the user picks one.
void EnterModelPanel();
// Panel 5: the existing ports of the chosen kind, the request's port (or the kind's
// default) chosen.
void EnterPortListPanel();
// Panel 6: the network address and a free port name for it (the check line emptied).
void EnterNetworkPanel();
// Panel 7: a free printer name for the model, unless the user typed one, and the
// default-printer option (the check line emptied).
void EnterPrinterNamePanel();
// Panel 8: the summary.
void EnterSummaryPanel();
// Panel 9: hides both bars, runs the animation and starts the installation.
void EnterInstallingPanel();

// Checks before a panel is entered; each tells the user why it fails.
bool CheckPin();              // leaving panel 3: message box "tip.pinerror"
bool CheckNetworkChoice();    // leaving panel 6: the red label of the panel
bool CheckPrinterNameFree();  // leaving panel 7: kMsgPrinterNameInfo, red or green

// "textchanged" of the network panel's edits: the address, and while the user has not
// typed a port name, the port name proposed for it; a typed port name stays.
void OnNetworkAddressTyped(const std::wstring& address);
void OnNetworkPortNameTyped(const std::wstring& portName);

// "textchanged" of the PIN edit: only letters and digits stay, in the edit and the request.
void OnPinTextChanged(ui::Edit& edit);

// The buttons of panel 5.
void AddPortThroughDialog();
void DeleteChosenPort();
void ConfigureChosenPort();
