#include "simulated/FreshMachineState.h"

#include "base/WideText.h"
#include "simulated/MachineLayout.h"

namespace {

std::wstring StoreInf(const std::wstring& folder, const std::wstring& inf) {
  return std::wstring(machine_layout::DriverStore()) + L"\\" + folder + L"\\" + inf;
}

SimulatedDriver InBoxDriver(const std::wstring& name, uint32_t version, const std::wstring& infPath,
                            const std::wstring& driverFile, const std::wstring& configFile,
                            const std::wstring& dataFile) {
  SimulatedDriver driver;
  driver.name = name;
  driver.version = version;
  driver.environment = L"Windows x64";
  driver.driverFile = driverFile;
  driver.configFile = configFile;
  driver.dataFile = dataFile;
  driver.infPath = infPath;
  driver.manufacturer = L"Microsoft";
  driver.provider = L"Microsoft";
  driver.driverVersion = 0x000A000047BA0001ull;  // 10.0.18362.1
  return driver;
}

}  // namespace

MachineState FreshMachineState() {
  MachineState state;
  state.monitors = {L"Local Port", L"Standard TCP/IP Port", L"WSD Port", L"Appmon"};
  for (const wchar_t* name :
       {L"COM1:", L"COM2:", L"COM3:", L"COM4:", L"FILE:", L"LPT1:", L"LPT2:", L"LPT3:", L"PORTPROMPT:", L"nul:"}) {
    state.ports.Add({name, L"Local Port", L"Local Port", L"", 0, 0});
  }

  const std::wstring pdfInf = StoreInf(L"prnms009.inf_amd64_3107874c7db0aa5a", L"prnms009.inf");
  const std::wstring xpsInf = StoreInf(L"prnms001.inf_amd64_f340cb58fcd23202", L"prnms001.inf");
  const std::wstring oneNoteInf = StoreInf(L"prnms006.inf_amd64_9bf7e0c26ba91f8b", L"prnms006.inf");
  const std::wstring easyPrintInf = StoreInf(L"prnms005.inf_amd64_0e1d9a7c5bfb2f8e", L"prnms005.inf");
  const SimulatedDriver drivers[] = {
      InBoxDriver(L"Microsoft Print To PDF", 4, pdfInf, L"mxdwdrv.dll", L"PrintConfig.dll", L"MPDW-PDC.xml"),
      InBoxDriver(L"Microsoft XPS Document Writer v4", 4, xpsInf, L"mxdwdrv.dll", L"PrintConfig.dll",
                  L"MXDW-manifest.ini"),
      InBoxDriver(L"Microsoft Software Printer Driver", 4, oneNoteInf, L"mxdwdrv.dll", L"PrintConfig.dll",
                  L"SendToOneNote-manifest.ini"),
      InBoxDriver(L"Remote Desktop Easy Print", 3, easyPrintInf, L"mxdwdrv.dll", L"TSPRINTUI.dll", L"tsprint.gpd"),
  };
  for (const auto& driver : drivers) state.drivers.emplace(DriverKey(driver.environment, driver.name), driver);
  state.driverPackages = {pdfInf, xpsInf, oneNoteInf, easyPrintInf};

  const SimulatedPrinter printers[] = {
      {L"Microsoft Print to PDF", L"Microsoft Print To PDF", L"PORTPROMPT:", L"winprint", 0x240, {}},
      {L"Microsoft XPS Document Writer", L"Microsoft XPS Document Writer v4", L"PORTPROMPT:", L"winprint", 0x240, {}},
      {L"OneNote for Windows 10", L"Microsoft Software Printer Driver", L"nul:", L"winprint", 0x240, {}},
  };
  for (const auto& printer : printers) state.printers.emplace(ToLowerUnits(printer.name), printer);
  state.defaultPrinter = L"Microsoft Print to PDF";
  return state;
}

std::vector<std::wstring> FreshMachineFolders() {
  MachineSettings x64;
  MachineSettings x86;
  x86.x64 = false;
  return {
      machine_layout::DriverVersionDirectory(x64, 3),
      machine_layout::DriverVersionDirectory(x86, 3),
      machine_layout::DriverStore(),
      L"C:\\Program Files",
      L"C:\\Program Files (x86)",
      L"C:\\Users\\Public\\Downloads",
      L"C:\\Windows\\Temp",
  };
}
