#include "devices/RemovalWorker.h"

#include <algorithm>

#include "base/TextTable.h"
#include "base/WideText.h"
#include "base/WindowMessage.h"
#include "base/WindowsErrorCodes.h"
#include "engine/spooler/SpoolerOperations.h"
#include "engine/spooler/SystemOperations.h"
#include "shell/LogLines.h"
#include "shell/MainWindowMessages.h"

namespace {

constexpr uint32_t kPauseMs = 200;

class RemovalLog {
 public:
  explicit RemovalLog(ui::WindowHandle mainWindow) : mainWindow_(mainWindow) {}

  void Clear() const { AppendRemoveLine(mainWindow_, L"", false, true); }
  void Line(const wchar_t* key, const std::wstring& argument, bool error = false) const {
    AppendRemoveLine(mainWindow_, FormatText(GetText(key), argument), error, false);
  }
  void Failure(const std::wstring& name, uint32_t code, const std::vector<std::wstring>& blockers) const {
    Line(L"tip.deletefail", name, true);
    Line(L"tip.failreason", RemovalFailureReason(code, blockers), true);
  }

 private:
  ui::WindowHandle mainWindow_;
};

void Send(ui::WindowHandle window, uint32_t message, uintptr_t wParam) {
  ui::SendWindowMessage(window, message, wParam, 0);
}

// The printers that keep a driver in use, from a fresh enumeration.
std::vector<std::wstring> PrintersUsingDriver(const std::wstring& driverName) {
  std::vector<SpoolerEntry> printers;
  ListPrinters(printers, SystemDriverEnvironment());
  std::vector<std::wstring> names;
  for (const auto& printer : printers) {
    if (EqualsNoCase(printer.driverName, driverName)) names.push_back(printer.printerName);
  }
  return names;
}

// The drivers still installed from a driver package.
std::vector<std::wstring> DriversFromPackage(const std::wstring& infPath) {
  std::vector<SpoolerEntry> drivers;
  ListDrivers(drivers, SystemDriverEnvironment());
  std::vector<std::wstring> names;
  for (const auto& driver : drivers) {
    if (!driver.infPath.empty() && EqualsNoCase(driver.infPath, infPath)) names.push_back(driver.driverName);
  }
  return names;
}

// The deletion calls of one driver, in the environment its row was listed from.
SystemOutcome DeleteDriverOf(const SpoolerEntry& driver) {
  return DeletePrinterDriverVersion3(driver.driverName, driver.environment);
}

PackageDeletionResult DeletePackageOf(const SpoolerEntry& driver) {
  return DeletePrinterDriverPackageByInf(driver.infPath, driver.environment);
}

bool RemovePrinter(const RemovalLog& log, const std::wstring& name) {
  log.Line(L"tip.startdeleteprinter", name);
  if (const SystemOutcome deleted = DeletePrinterByName(name); !deleted) {
    log.Failure(name, deleted.Error(), {});
    return false;
  }
  log.Line(L"tip.deletesuccess", name);
  return true;
}

// The number of failed steps (the driver, its package). The lines name the driver as its
// row did, with the environment of a driver of another one than the system's.
int RemoveDriver(const RemovalLog& log, const std::wstring& name, const SpoolerEntry& driver, bool deletePackages) {
  log.Line(L"tip.startdeletedriver", name);
  if (const SystemOutcome deleted = DeleteDriverOf(driver); !deleted) {
    const uint32_t code = deleted.Error();
    log.Failure(
        name, code,
        code == kErrorPrinterDriverInUse ? PrintersUsingDriver(driver.driverName) : std::vector<std::wstring>{});
    return 1;
  }
  log.Line(L"tip.deletesuccess", name);
  if (!deletePackages || driver.infPath.empty()) return 0;
  log.Line(L"tip.startdeletepack", name);
  // A system without the call has no packages to delete: the step counts as done.
  if (const PackageDeletionResult deleted = DeletePackageOf(driver); deleted.state == PackageDeletion::Failed) {
    const uint32_t code = deleted.outcome.Error();
    log.Failure(
        name, code,
        code == kErrorPrinterDriverPackageInUse ? DriversFromPackage(driver.infPath) : std::vector<std::wstring>{});
    return 1;
  }
  log.Line(L"tip.deletesuccess", name);
  return 0;
}

}  // namespace

std::wstring DriverChoiceName(const SpoolerEntry& driver, const std::wstring& systemEnvironment) {
  if (driver.environment.empty() || EqualsNoCase(driver.environment, systemEnvironment)) return driver.driverName;
  return driver.driverName + L" [" + driver.environment + L"]";
}

std::map<std::wstring, SpoolerEntry> BuildDriverWorkList(const std::set<std::wstring>& drivers,
                                                         const std::vector<SpoolerEntry>& driverEntries,
                                                         const std::wstring& systemEnvironment) {
  std::map<std::wstring, SpoolerEntry> work;
  for (const auto& name : drivers) {
    for (const auto& entry : driverEntries) {
      if (DriverChoiceName(entry, systemEnvironment) == name) work[name] = entry;
    }
  }
  return work;
}

std::wstring RemovalFailureReason(uint32_t code, const std::vector<std::wstring>& blockers) {
  std::wstring reason = FormatSystemError(code);
  if (blockers.empty()) return reason;
  // The names go before the system text's own line break, so the line still ends as
  // the system text does.
  size_t end = reason.size();
  while (end > 0 && (reason[end - 1] == L'\r' || reason[end - 1] == L'\n')) --end;
  std::wstring names = end > 0 ? L" [" : L"[";
  for (size_t i = 0; i < blockers.size(); ++i) {
    if (i > 0) names += L", ";
    names += blockers[i];
  }
  names += L"]";
  reason.insert(end, names);
  return reason;
}

void AddPrintersOfDrivers(std::vector<std::wstring>& printers, const std::set<std::wstring>& drivers,
                          const std::vector<SpoolerEntry>& printerEntries) {
  for (const auto& entry : printerEntries) {
    for (const auto& driver : drivers) {
      if (EqualsNoCase(entry.driverName, driver) &&
          std::find(printers.begin(), printers.end(), entry.printerName) == printers.end()) {
        printers.push_back(entry.printerName);
      }
    }
  }
}

bool SystemDeletesDriverPackages() {
  const auto version = GetWindowsVersion();
  return version && version->major >= 6;
}

int RemovalWorker(const RemovalJob& job) {
  const RemovalLog log(job.mainWindow);
  Send(job.mainWindow, kMsgRemoveAnimation, 1);
  // No way out mid-run: the finish bar comes when the run has ended.
  Send(job.mainWindow, kMsgFinishBar, 0);
  Send(job.mainWindow, kMsgFinishActions, 0);
  Send(job.mainWindow, kMsgWizardBar, 0);

  const bool deletePackages = SystemDeletesDriverPackages();
  log.Clear();

  int failures = 0;
  const auto work = BuildDriverWorkList(job.drivers, job.driverEntries, job.systemEnvironment);
  for (const auto& name : job.printers) {
    if (!RemovePrinter(log, name)) ++failures;
    SleepMs(kPauseMs);
  }
  for (const auto& [name, driver] : work) {
    failures += RemoveDriver(log, name, driver, deletePackages);
    SleepMs(kPauseMs);
  }
  Send(job.mainWindow, kMsgRemoveAnimation, 0);
  return failures;
}
