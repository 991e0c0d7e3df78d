#include "engine/spooler/SpoolerEnumeration.h"
#include "simulated/SimulatedLastError.h"
#include "simulated/SimulatedMachine.h"

SystemResult<std::vector<PrinterRow>> EnumPrintersLevel2(uint32_t flags) {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine) return SimulatedFailure();
  auto printers = machine->EnumPrinters(flags);
  if (!printers) return SimulatedFailure();
  std::vector<PrinterRow> rows;
  rows.reserve(printers->size());
  for (auto& printer : *printers)
    rows.push_back({std::move(printer.name), std::move(printer.driver), std::move(printer.port)});
  return rows;
}

SystemResult<std::vector<DriverRow>> EnumPrinterDriversAtLevel(uint32_t level, const std::wstring& environment) {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine) return SimulatedFailure();
  auto drivers = machine->EnumPrinterDrivers(level, environment);
  if (!drivers) return SimulatedFailure();
  std::vector<DriverRow> rows;
  rows.reserve(drivers->size());
  for (auto& driver : *drivers) {
    rows.push_back({std::move(driver.name), std::move(driver.infPath), driver.version, driver.driverVersion});
  }
  return rows;
}

SystemResult<std::vector<PortRow>> EnumPortsLevel2() {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine) return SimulatedFailure();
  auto ports = machine->EnumPorts();
  if (!ports) return SimulatedFailure();
  std::vector<PortRow> rows;
  rows.reserve(ports->size());
  for (auto& port : *ports) {
    rows.push_back(
        {std::move(port.name), std::move(port.description), std::move(port.monitor), std::move(port.hostAddress)});
  }
  return rows;
}

SystemResult<std::wstring> DefaultPrinterName() {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine) return SimulatedFailure();
  return machine->DefaultPrinter();
}

SystemResult<std::wstring> PrinterDriverDirectory(const std::wstring& environment) {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine) return SimulatedFailure();
  auto directory = machine->GetPrinterDriverDirectory(environment);
  if (!directory) return SimulatedFailure();
  return std::move(*directory);
}
