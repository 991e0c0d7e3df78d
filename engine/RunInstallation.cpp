#include "engine/RunInstallation.h"

#include <optional>

#include "base/TextTable.h"
#include "base/WindowsErrorCodes.h"
#include "engine/BluetoothPortStage.h"
#include "engine/FolderMethod.h"
#include "engine/InstallLog.h"
#include "engine/ProtectedPrintWarning.h"
#include "engine/SpoolerMethod.h"
#include "engine/spooler/DriverEnvironment.h"
#include "engine/spooler/FileOperations.h"
#include "engine/spooler/ShellCommands.h"
#include "engine/spooler/SpoolerOperations.h"
#include "engine/spooler/SystemOperations.h"
#include "shell/MessageBoxes.h"

namespace {

constexpr const wchar_t* kFailedToCreateDirectory = L"Failed to create directory";

// Everything a run needs besides its inputs: the architecture is asked once.
struct Run {
  const InstallationInputs& inputs;
  InstallLog log;
  bool is64BitWindows;
  std::wstring environment;  // of the drivers a printer on this system uses
  std::wstring portName;
};

// The registration through the driver directory; false means: fall back. Its failures
// are plain lines: the run goes on by the install folder, whose outcome is the step's, so
// a red line always means the run could not do what it was asked.
bool RegisterBySpoolerMethod(const Run& run, const DriverModelRecord& model) {
  const auto found = GetDriverDirectory(run.environment);
  if (!found) {
    run.log.Plain(L"tip.readdriverdirfail", FormatSystemError(found.Error()));
    return false;
  }
  const std::wstring& directory = *found;
  run.log.Plain(L"tip.startcopyfile");
  DependentFileList files;
  const auto failures = CopySpoolerFiles(SpoolerFileList(model, run.is64BitWindows), directory, files);
  for (const auto& failure : failures) {
    run.log.PlainText(failure.relativePath);
    run.log.Plain(L"tip.copyfilefail", FormatSystemError(failure.error));
  }
  // The registration still runs and decides; the copy is not called done when it was not.
  if (failures.empty()) run.log.Plain(L"tip.copyfilesuccess");
  const PrinterDriverRecord registration = DriverRegistration(model, run.environment, files);
  run.log.Plain(L"tip.startinstalldriver");
  if (const SystemOutcome registered = AddPrinterDriverLevel6(registration); !registered) {
    run.log.Plain(L"tip.installdriverfail", FormatSystemError(registered.Error()));
    return false;
  }
  run.log.Plain(L"tip.installdriversuccess");
  return true;
}

// The registration through the install folder and the applet; false means: stop.
bool RegisterByFolderMethod(const Run& run, const DriverModelRecord& model) {
  const std::wstring base = InstallFolderBase();
  if (CreateDirectoryPath(base) != 1) {
    run.log.ErrorText(kFailedToCreateDirectory);
    return false;
  }
  run.log.Plain(L"tip.startcopyfile");
  if (!CreateInstallSubFolders(base, model)) {
    run.log.ErrorText(kFailedToCreateDirectory);
    return false;
  }
  if (const auto error = ExtractInstallFolder(base, model)) {
    run.log.Error(L"tip.copyfilefail", FormatSystemError(*error));
    return false;
  }
  run.log.Plain(L"tip.copyfilesuccess");
  if (IsVersion62OrLater()) InstallCertificate(base + model.certificateFile, run.inputs.mainWindow);
  run.log.Plain(L"tip.startinstalldriver");
  RunDriverInstallApplet(model.driverName, InstallFolderInf(base, model, run.is64BitWindows), run.inputs.mainWindow);
  // The applet's exit code says nothing reliable; the spooler's driver list does.
  if (!DriverInstalled(model.driverName, run.environment)) {
    run.log.Error(L"tip.installdriverfail2");
    return false;
  }
  run.log.Plain(L"tip.installdriversuccess");
  return true;
}

void AddPrinterQueue(const Run& run, const DriverModelRecord& model, InstallResult& result) {
  const InstallRequest& request = run.inputs.request;
  PrinterRecord printer;
  printer.printerName = request.printerName;
  printer.portName = run.portName;
  printer.driverName = model.driverName;
  run.log.Plain(L"tip.startinstallprinter");
  if (const SystemOutcome added = AddPrinterLevel2(printer); !added) {
    const uint32_t error = added.Error();
    run.log.Error(L"tip.installprinterfail", FormatSystemError(error));
    if (error == kErrorUnknownPort && !PortExists(run.portName)) {
      ShowNotice(run.inputs.mainWindow, GetText(L"tip.port.unidentification"));
    }
    return;
  }
  run.log.Plain(L"tip.installprintersuccess");
  if (request.setAsDefault == 1) SetDefaultPrinterByName(request.printerName);
  PrintTestPage(request.printerName, run.inputs.mainWindow);
  result.succeeded = true;
}

}  // namespace

void RunInstallation(const InstallationInputs& inputs, InstallResult& result) {
  const bool is64 = Is64BitWindows();
  Run run{inputs, InstallLog(inputs.mainWindow), is64, NativeDriverEnvironment(is64), inputs.request.portName};
  run.log.Clear();

  switch (inputs.request.portKind) {
    case PortKind::Bluetooth: {
      const auto port = PrepareBluetoothPort(inputs, run.log);
      if (!port) return;
      run.portName = *port;
      result.bluetoothPortName = *port;
      break;
    }
    case PortKind::Network:
      run.log.Plain(L"tip.startaddlanport");
      if (!AddStandardTcpIpPort(inputs.request.portName, inputs.request.ipAddress)) {
        run.log.Error(L"tip.addlanportfail");
        return;
      }
      run.log.Plain(L"tip.addlanportsuccess");
      result.networkPortCreated = true;
      break;
    default:
      break;  // the port chosen in the wizard exists already
  }

  // A model index that names no model (the wizard prevents it) has no driver to install.
  if (!inputs.model) {
    run.log.Error(L"tip.installdriverfail2");
    return;
  }
  const DriverModelRecord& model = *inputs.model;
  // Windows may refuse a vendor driver now: say why before the driver stage, then try anyway.
  WarnIfProtectedPrintMode(inputs.mainWindow);
  if (!RegisterBySpoolerMethod(run, model) && !RegisterByFolderMethod(run, model)) return;
  AddPrinterQueue(run, model, result);
}
