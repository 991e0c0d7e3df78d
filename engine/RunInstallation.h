// The installation worker's run: port stage, driver registration (SpoolerMethod, falling
// back to FolderMethod), printer queue, default printer and test page, each step a line
// of the install log.
//
// Threads: the installation worker. It reads only its inputs; it reports through
// synchronous messages to the main window and may block on the started programs, the
// Bluetooth retries and one message box.
#pragma once

#include "engine/InstallResult.h"
#include "engine/InstallationInputs.h"

void RunInstallation(const InstallationInputs& inputs, InstallResult& result);
