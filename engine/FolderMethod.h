// The fallback way of registering a model's driver: the files unpacked into an install
// folder under the program-files folder, then the printer-installation applet's /ia.
//
// Threads: the installation worker (and tests); no state.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/DriverModelRecord.h"

// The program-files folder + "\PrinterDriver\Vexlomar\", or "C:\PrinterDriver\Vexlomar\"
// when that folder cannot be read.
std::wstring InstallFolderBase();

// Each of the model's sub-folders below base; false at the first that cannot be made.
bool CreateInstallSubFolders(const std::wstring& base, const DriverModelRecord& model);

// The root, IA64, 64-bit and 32-bit folder lists, in this order, into base, "ia64",
// "Driver64" and "Driver32". Stops at the first failure and returns its system error.
std::optional<uint32_t> ExtractInstallFolder(const std::wstring& base, const DriverModelRecord& model);

// The INF beside the files of the architecture: base + "Driver64" or "Driver32" + name.
std::wstring InstallFolderInf(const std::wstring& base, const DriverModelRecord& model, bool is64BitWindows);
