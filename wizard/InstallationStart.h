// Starts the installation worker for the request of WizardContext (entry action of the
// last install panel) and shows the after-installation buttons when it ends.
//
// Threads: StartInstallation on the UI thread; the worker on a detached thread of its own,
// which ends with FinishInstallation and then releases the machine's installation lock.
#pragma once

#include "engine/InstallResult.h"
#include "engine/InstallationInputs.h"

// Takes the installation lock that Next reserved (RunLockStep.h), or takes it now; when
// another run holds it the user has been told, nothing changes and the result is false.
bool StartInstallation();

// What the worker reads, copied from WizardContext (UI thread).
InstallationInputs InstallationInputsFromWizard();

// On the worker's thread after the run: the request's port fields as the run left them,
// then the after-installation buttons (kMsgInstallAnimation 0, kMsgFinishBar 1,
// kMsgWizardBar 0, kMsgFinishActions succeeded).
void FinishInstallation(ui::WindowHandle mainWindow, const InstallResult& result);
