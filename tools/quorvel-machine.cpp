// quorvel-machine: shows and changes the simulated Windows machine of the Linux build,
// the one the wizard runs against (the same folder: $QUORVEL_MACHINE_DIR, else the
// default state folder). It plugs USB printers in and out, puts Bluetooth devices in
// range, switches the adapter, shows what a USB printer received and makes a platform
// call fail, and fills the spooler with many ports or printers. A running wizard sees
// each change at its next platform call.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/WideText.h"
#include "simulated/DeviceTreeFile.h"
#include "simulated/ExclusiveFileLock.h"
#include "simulated/FaultInjector.h"
#include "simulated/SimulatedMachine.h"

namespace {

constexpr uint32_t kPrinterClass = 0x040680;

// Asked for (--help): to standard output, success; else a mistake: standard error, 2.
int Usage(bool asked = false) {
  std::fputs(
      "usage: quorvel-machine [--machine FOLDER] COMMAND\n"
      "  show                                    the devices, the adapter and stored failures\n"
      "  usb plug ID [--port N|--no-port] [--unreadable]\n"
      "                                          plug in a USB printer (ID: USB\\VID_1A2B&PID_3C4D\\7);\n"
      "                                          without --port it takes the next free port number\n"
      "  usb unplug ID                           pull it out\n"
      "  usb received ID                         the bytes the printer received (hex and text)\n"
      "  bt adapter none|off|on                  take the adapter away, switch it off or on\n"
      "  bt add NAME ADDRESS [--class HEX] [--pin PIN] [--paired]\n"
      "                                          a device in range (class 0x040680 is a printer,\n"
      "                                          0x5A020C a phone); PIN defaults to 9371\n"
      "  bt remove ADDRESS                       take it out of range\n"
      "  bt delay MS                             how long the virtual COM port takes to appear\n"
      "  serial add ID PORTNAME                  a serial port (PORTNAME such as COM7)\n"
      "  fault CALL CODE [--always]              the next call (or every call) fails with CODE\n"
      "  fault clear                             no more failures\n"
      "  calls                                   the call names a failure can be given to\n"
      "  protected-print on|off                  Windows protected print mode: with it on the\n"
      "                                          spooler refuses every driver but the inbox ones;\n"
      "                                          set it while the wizard is closed\n"
      "  administrator on|off                    whether the program runs as an administrator\n"
      "  lock                                    hold the installation lock, as another installation\n"
      "                                          run would, until Enter or the end of the input\n"
      "  fill ports N                            N more Standard TCP/IP ports (IP_10.0.0.1 and on)\n"
      "  fill printers N [--driver NAME]         N more printers on the family's driver (NAME, by\n"
      "                                          default QuorvelA4-300; added from stand-in files\n"
      "                                          when missing): lists at scale, for trying by hand\n",
      asked ? stdout : stderr);
  return asked ? 0 : 2;
}

std::string Utf8(const std::wstring& text) {
  return WideToUtf8(text);
}

std::string AddressWithSeparators(uint64_t address) {
  const std::string digits = BluetoothAddressText(address);
  std::string text;
  for (size_t i = 0; i < digits.size(); i += 2) {
    if (i) text += '-';
    text += digits.substr(i, 2);
  }
  return text;
}

void Show(SimulatedMachine& machine) {
  const DeviceTreeState state = machine.Devices().Snapshot();
  std::printf("machine folder: %s\n", machine.Folder().c_str());
  std::printf("protected print mode: %s\n", machine.ProtectedPrintModeOn() ? "on" : "off");
  std::printf("administrator: %s\n", machine.RunningAsAdministrator() ? "on" : "off");
  const char* adapter = state.adapter == SimulatedAdapter::On    ? "on"
                        : state.adapter == SimulatedAdapter::Off ? "off"
                                                                 : "none";
  std::printf("bluetooth adapter: %s (COM port appears %u ms after the service is enabled)\n", adapter,
              state.comPortDelayMs);
  std::printf("usb printers: %zu\n", state.usbPrinters.size());
  for (const auto& printer : state.usbPrinters) {
    const std::string port = printer.portNumber ? std::to_string(*printer.portNumber) : "missing";
    std::printf("  %s  port number %s%s\n    path %s\n    received %zu bytes\n", Utf8(printer.instanceId).c_str(),
                port.c_str(), printer.propertiesReadable ? "" : "  (properties unreadable)",
                Utf8(printer.devicePath).c_str(), machine.Devices().Received(printer.instanceId).size());
  }
  std::printf("serial ports: %zu\n", state.serialPorts.size());
  for (const auto& port : state.serialPorts) {
    std::printf("  %s  %s\n", Utf8(port.portName).c_str(), Utf8(port.instanceId).c_str());
  }
  std::printf("bluetooth devices in range: %zu\n", state.bluetoothDevices.size());
  for (const auto& device : state.bluetoothDevices) {
    std::printf("  \"%s\"  %s  class 0x%06X  pin %s%s%s%s\n", Utf8(device.name).c_str(),
                AddressWithSeparators(device.address).c_str(), device.classOfDevice, Utf8(device.pin).c_str(),
                device.paired ? "  paired" : "", device.serialService ? "  serial service on" : "",
                device.comPort.empty() ? "" : ("  " + Utf8(device.comPort)).c_str());
  }
  for (const auto& service : state.localServices) {
    std::printf("local service \"%s\" for %s on %s\n", Utf8(service.serviceName).c_str(),
                AddressWithSeparators(service.address).c_str(), Utf8(service.comPort).c_str());
  }
  for (const auto& fault : state.faults) {
    std::printf("failure: %s fails with %u %s\n", fault.call.c_str(), fault.code, fault.once ? "once" : "always");
  }
}

void ShowReceived(const std::vector<uint8_t>& bytes) {
  for (size_t row = 0; row < bytes.size(); row += 16) {
    std::printf("%08zx ", row);
    for (size_t i = row; i < row + 16; ++i) {
      if (i < bytes.size()) {
        std::printf(" %02x", bytes[i]);
      } else {
        std::printf("   ");
      }
    }
    std::printf("  ");
    for (size_t i = row; i < row + 16 && i < bytes.size(); ++i) {
      std::putchar(bytes[i] >= 32 && bytes[i] < 127 ? bytes[i] : '.');
    }
    std::putchar('\n');
  }
  std::printf("%zu bytes\n", bytes.size());
}

std::optional<uint64_t> Number(const std::string& text) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  const unsigned long long value = std::strtoull(text.c_str(), &end, 0);
  if (*end != '\0') return std::nullopt;
  return value;
}

uint32_t NextFreePortNumber(const DeviceTreeState& state) {
  for (uint32_t number = 1;; ++number) {
    bool used = false;
    for (const auto& printer : state.usbPrinters) used = used || (printer.portNumber && *printer.portNumber == number);
    if (!used) return number;
  }
}

// Holds the lock until a line or the end of the input, or until the process is killed.
int HoldInstallationLock(const SimulatedMachine& machine) {
  ExclusiveFileLock lock;
  switch (lock.TryTake(machine.InstallationLockFile())) {
    case ExclusiveFileLock::Outcome::Taken:
      break;
    case ExclusiveFileLock::Outcome::HeldElsewhere:
      std::puts("busy: another run holds the installation lock");
      return 1;
    case ExclusiveFileLock::Outcome::Failed:
      std::perror(machine.InstallationLockFile().c_str());
      return 1;
  }
  std::puts("held: press Enter to release the installation lock");
  std::fflush(stdout);
  for (int c = std::getchar(); c != EOF && c != '\n'; c = std::getchar()) {
  }
  return 0;
}

int Run(SimulatedMachine& machine, const std::vector<std::string>& args) {
  auto& devices = machine.Devices();
  const auto has = [&](const char* flag) {
    for (const auto& arg : args) {
      if (arg == flag) return true;
    }
    return false;
  };
  const auto option = [&](const char* flag) -> std::optional<std::string> {
    for (size_t i = 0; i + 1 < args.size(); ++i) {
      if (args[i] == flag) return args[i + 1];
    }
    return std::nullopt;
  };
  const std::string command = args[0];
  const std::string verb = args.size() > 1 ? args[1] : "";
  if (command == "show") {
    Show(machine);
    return 0;
  }
  if (command == "protected-print" && (verb == "on" || verb == "off")) {
    machine.SetProtectedPrintMode(verb == "on");
    std::printf("protected print mode %s\n", verb.c_str());
    return 0;
  }
  if (command == "administrator" && (verb == "on" || verb == "off")) {
    machine.SetAdministrator(verb == "on");
    std::printf("administrator %s\n", verb.c_str());
    return 0;
  }
  if (command == "lock" && args.size() == 1) return HoldInstallationLock(machine);
  if (command == "fill" && args.size() >= 3) {
    const auto count = Number(args[2]);
    if (!count || *count > 1000000) return Usage();
    if (verb == "ports") {
      std::printf("%zu network ports added\n", machine.FillNetworkPorts(*count));
      return 0;
    }
    if (verb == "printers") {
      const std::wstring driver = Utf8ToWide(option("--driver").value_or("QuorvelA4-300"));
      const size_t added = machine.FillPrinters(driver, *count);
      std::printf("%zu printers on %s added\n", added, Utf8(driver).c_str());
      return added == *count ? 0 : 1;
    }
  }
  if (command == "calls") {
    for (const auto call : FaultInjector::KnownCalls())
      std::printf("%.*s\n", static_cast<int>(call.size()), call.data());
    return 0;
  }
  if (command == "usb" && args.size() >= 3) {
    const std::wstring id = Utf8ToWide(args[2]);
    if (verb == "plug") {
      SimulatedUsbPrinter printer;
      printer.instanceId = id;
      if (const auto port = option("--port")) {
        const auto number = Number(*port);
        if (!number || *number > 0xFFFFFFFF) return Usage();
        printer.portNumber = static_cast<uint32_t>(*number);
      } else if (!has("--no-port")) {
        printer.portNumber = NextFreePortNumber(devices.Snapshot());
      }
      printer.propertiesReadable = !has("--unreadable");
      devices.PlugUsbPrinter(printer);
      std::printf("plugged in %s\n", args[2].c_str());
      return 0;
    }
    if (verb == "unplug") {
      if (!devices.UnplugUsbPrinter(id)) {
        std::fprintf(stderr, "no USB printer %s\n", args[2].c_str());
        return 1;
      }
      std::printf("pulled out %s\n", args[2].c_str());
      return 0;
    }
    if (verb == "received") {
      ShowReceived(devices.Received(id));
      return 0;
    }
  }
  if (command == "bt" && verb == "adapter" && args.size() == 3) {
    const std::string& state = args[2];
    if (state != "none" && state != "off" && state != "on") return Usage();
    devices.SetAdapter(state == "on"    ? SimulatedAdapter::On
                       : state == "off" ? SimulatedAdapter::Off
                                        : SimulatedAdapter::None);
    std::printf("bluetooth adapter: %s\n", state.c_str());
    return 0;
  }
  if (command == "bt" && verb == "add" && args.size() >= 4) {
    SimulatedBluetoothDevice device;
    device.name = Utf8ToWide(args[2]);
    const auto address = ParseBluetoothAddress(args[3]);
    const auto classOfDevice = Number(option("--class").value_or(std::to_string(kPrinterClass)));
    if (!address || !classOfDevice || *classOfDevice > 0xFFFFFF) return Usage();
    device.address = *address;
    device.classOfDevice = static_cast<uint32_t>(*classOfDevice);
    if (const auto pin = option("--pin")) device.pin = Utf8ToWide(*pin);
    device.paired = has("--paired");
    devices.AddBluetoothDevice(device);
    std::printf("in range: \"%s\" %s\n", args[2].c_str(), AddressWithSeparators(*address).c_str());
    return 0;
  }
  if (command == "bt" && verb == "remove" && args.size() == 3) {
    const auto address = ParseBluetoothAddress(args[2]);
    if (!address) return Usage();
    if (!devices.RemoveBluetoothDevice(*address)) {
      std::fprintf(stderr, "no device %s in range\n", args[2].c_str());
      return 1;
    }
    return 0;
  }
  if (command == "bt" && verb == "delay" && args.size() == 3) {
    const auto delay = Number(args[2]);
    if (!delay || *delay > 0xFFFFFFFF) return Usage();
    devices.SetComPortDelayMs(static_cast<uint32_t>(*delay));
    return 0;
  }
  if (command == "serial" && verb == "add" && args.size() == 4) {
    devices.AddSerialPort({Utf8ToWide(args[2]), Utf8ToWide(args[3]), true});
    return 0;
  }
  if (command == "fault" && verb == "clear") {
    devices.ClearStoredFaults();
    return 0;
  }
  if (command == "fault" && args.size() >= 3) {
    const auto& known = FaultInjector::KnownCalls();
    if (std::find(known.begin(), known.end(), verb) == known.end()) {
      std::fprintf(stderr, "no call named %s; \"quorvel-machine calls\" lists them\n", verb.c_str());
      return 1;
    }
    const auto code = Number(args[2]);
    if (!code || *code > 0xFFFFFFFF) return Usage();
    devices.StoreFault({verb, static_cast<uint32_t>(*code), !has("--always")});
    std::printf("%s fails with %s %s\n", verb.c_str(), args[2].c_str(), has("--always") ? "always" : "once");
    return 0;
  }
  return Usage();
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::filesystem::path folder = SimulatedMachine::DefaultFolder();
  if (args.size() >= 2 && args[0] == "--machine") {
    folder = args[1];
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.empty()) return Usage();
  if (args[0] == "--help" || args[0] == "-h") return Usage(true);
  auto opened = SimulatedMachine::Open(folder);
  if (!opened.machine) {
    std::fprintf(stderr, "quorvel-machine: %s\n", opened.error.c_str());
    return 1;
  }
  return Run(*opened.machine, args);
}
