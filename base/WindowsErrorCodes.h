// The Windows system error codes that the program names, in one place. Both builds use
// them: the product compares the platform's answers with them, the simulated machine gives
// them as Windows would.
#pragma once

#include <cstdint>

constexpr uint32_t kErrorSuccess = 0;
constexpr uint32_t kErrorFileNotFound = 2;
constexpr uint32_t kErrorPathNotFound = 3;
constexpr uint32_t kErrorAccessDenied = 5;
constexpr uint32_t kErrorNotEnoughMemory = 8;
constexpr uint32_t kErrorInvalidData = 13;
constexpr uint32_t kErrorWriteFault = 29;
constexpr uint32_t kErrorGenFailure = 31;
constexpr uint32_t kErrorSharingViolation = 32;
constexpr uint32_t kErrorNotSupported = 50;
constexpr uint32_t kErrorInvalidParameter = 87;
constexpr uint32_t kErrorDiskFull = 112;
constexpr uint32_t kErrorInsufficientBuffer = 122;
constexpr uint32_t kErrorInvalidName = 123;
constexpr uint32_t kErrorInvalidLevel = 124;
constexpr uint32_t kErrorBusy = 170;
constexpr uint32_t kErrorAlreadyExists = 183;
constexpr uint32_t kErrorFileTooLarge = 223;
constexpr uint32_t kErrorMoreData = 234;
// Also BluetoothAuthenticateDevice's answer for a device that is paired already.
constexpr uint32_t kErrorNoMoreItems = 259;
constexpr uint32_t kErrorMessageNotFound = 317;  // ERROR_MR_MID_NOT_FOUND
constexpr uint32_t kErrorDeviceNotConnected = 1167;
constexpr uint32_t kErrorCancelled = 1223;
constexpr uint32_t kErrorNotAuthenticated = 1244;
constexpr uint32_t kErrorInstallFailure = 1603;  // ERROR_INSTALL_FAILURE, an installer's exit code
constexpr uint32_t kErrorRpcServerUnavailable = 1722;
constexpr uint32_t kErrorUnknownPort = 1796;
constexpr uint32_t kErrorUnknownPrinterDriver = 1797;
constexpr uint32_t kErrorUnknownPrintProcessor = 1798;
constexpr uint32_t kErrorInvalidPrinterName = 1801;
constexpr uint32_t kErrorPrinterAlreadyExists = 1802;
constexpr uint32_t kErrorInvalidEnvironment = 1805;
constexpr uint32_t kErrorResourceLanguageNotFound = 1815;
constexpr uint32_t kErrorPrinterDriverInUse = 3001;
constexpr uint32_t kErrorPrinterDriverPackageInUse = 3015;
