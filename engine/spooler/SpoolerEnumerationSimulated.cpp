#include "engine/spooler/SpoolerEnumeration.h"
#include "simulated/SimulatedMachine.h"

std::optional<std::vector<PrinterRow>> EnumPrintersLevel2(uint32_t flags) {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine) return std::nullopt;
  auto printers = machine->EnumPrinters(flags);
  if (!printers) return std::nullopt;
  std::vector<PrinterRow> rows;
  rows.reserve(printers->size());
  for (auto& printer : *printers)
    rows.push_back({std::move(printer.name), std::move(printer.driver), std::move(printer.port)});
  return rows;
}

std::optional<std::vector<DriverRow>> EnumPrinterDriversAtLevel(uint32_t level, const std::wstring& environment) {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine) return std::nullopt;
  auto drivers = machine->EnumPrinterDrivers(level, environment);
  if (!drivers) return std::nullopt;
  std::vector<DriverRow> rows;
  rows.reserve(drivers->size());
  for (auto& driver : *drivers) {
    rows.push_back({std::move(driver.name), std::move(driver.infPath), driver.version, driver.driverVersion});
  }
  return rows;
}

std::optional<std::vector<PortRow>> EnumPortsLevel2() {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine) return std::nullopt;
  auto ports = machine->EnumPorts();
  if (!ports) return std::nullopt;
  std::vector<PortRow> rows;
  rows.reserve(ports->size());
  for (auto& port : *ports) {
    rows.push_back(
        {std::move(port.name), std::move(port.description), std::move(port.monitor), std::move(port.hostAddress)});
  }
  return rows;
}

std::optional<std::wstring> DefaultPrinterName() {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine) return std::nullopt;
  return machine->DefaultPrinter();
}

std::optional<std::wstring> PrinterDriverDirectory(const std::wstring& environment) {
  const auto machine = SimulatedMachine::CurrentOrUnavailable();
  if (!machine) return std::nullopt;
  return machine->GetPrinterDriverDirectory(environment);
}
