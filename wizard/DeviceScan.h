// The wizard's side of device discovery: the search panel's scan threads, the Bluetooth
// adapter row and the USB test print. They fill the scan lists of WizardContext and
// report to the main window (kMsgNextButton, kMsgPreviousButton, kMsgWizardNext,
// kMsgBluetoothBar).
//
// Threads: called on the UI thread; the scans run on threads of their own.
#pragma once

// Entry action of the search panel: hides Next and Back and starts the scan of the
// chosen kind, which ends by requesting the wizard's next step (kMsgWizardNext).
void StartDeviceScan();
// Resets the Bluetooth choice and starts the Bluetooth scan thread (kMsgWizardNext when done).
void StartBluetoothScan();
// Shows the adapter state in the Bluetooth bar; true when an adapter is on. With warn, a
// message box says so when it is not.
bool CheckBluetoothAdapter(bool warn);
// Writes the test bytes to the chosen USB printer.
void UsbTestPrint();
