// The first way of registering a model's driver: its files into the spooler's driver
// directory, then AddPrinterDriverExW.
//
// Threads: the installation worker (and tests); no state.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/DependentFileList.h"
#include "engine/DriverModelRecord.h"
#include "engine/spooler/PrinterDriverRecord.h"

struct FileCopyFailure {
  std::wstring relativePath;
  uint32_t error = 0;  // the system error the copy left
};

// The spooler list of the architecture: the 64-bit one on 64-bit Windows.
const std::vector<std::wstring>& SpoolerFileList(const DriverModelRecord& model, bool is64BitWindows);

// Copies every path into the driver directory (ending with "\"), in list order, and
// lists each file name in files. A shared file (under "driver\common") that the
// directory holds already is listed but not copied again. A failed copy is passed over:
// its name stays listed and the failure is returned, in order. The list is closed.
std::vector<FileCopyFailure> CopySpoolerFiles(const std::vector<std::wstring>& relativePaths,
                                              const std::wstring& driverDirectory, DependentFileList& files);

// The level-6 registration of the model's driver for the environment, naming the files.
PrinterDriverRecord DriverRegistration(const DriverModelRecord& model, const std::wstring& environment,
                                       const DependentFileList& files);
