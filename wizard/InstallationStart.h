// Starts the installation worker for the request of WizardContext (entry action of the
// last install panel) and shows the after-installation buttons when it ends.
//
// Threads: StartInstallation on the UI thread; the worker on a detached thread of its own.
#pragma once

bool StartInstallation();
