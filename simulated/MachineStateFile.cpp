#include "simulated/MachineStateFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <pugixml.hpp>
#include <sstream>

#include "base/WideText.h"
#include "simulated/ReplaceFile.h"

namespace {

constexpr const char* kFormat = "1";

// A damaged value stops the load: guessing would lose what the file held.
struct LoadError {
  std::string message;
};

std::wstring Text(const pugi::xml_node& node, const char* name) {
  return Utf8ToWide(node.attribute(name).value());
}

uint64_t Number(const pugi::xml_node& node, const char* name, uint64_t fallback) {
  const pugi::xml_attribute attribute = node.attribute(name);
  if (!attribute) return fallback;
  const std::string text = attribute.value();
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 19) {
    throw LoadError{"<" + std::string(node.name()) + "> has " + name + "=\"" + text + "\", which is no number"};
  }
  return std::stoull(text);
}

bool Flag(const pugi::xml_node& node, const char* name, bool fallback) {
  const pugi::xml_attribute attribute = node.attribute(name);
  if (!attribute) return fallback;
  const std::string text = attribute.value();
  if (text == "true") return true;
  if (text == "false") return false;
  throw LoadError{"<" + std::string(node.name()) + "> has " + name + "=\"" + text +
                  "\", which is neither true nor false"};
}

std::string Hex(const std::vector<uint8_t>& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string text;
  text.reserve(bytes.size() * 2);
  for (uint8_t b : bytes) {
    text += digits[b >> 4];
    text += digits[b & 15];
  }
  return text;
}

std::vector<uint8_t> FromHex(const std::string& text) {
  auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  if (text.size() % 2) throw LoadError{"a certificate's bytes are damaged"};
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i < text.size(); i += 2) {
    const int high = digit(text[i]);
    const int low = digit(text[i + 1]);
    if (high < 0 || low < 0) throw LoadError{"a certificate's bytes are damaged"};
    bytes.push_back(static_cast<uint8_t>(high * 16 + low));
  }
  return bytes;
}

void Set(pugi::xml_node node, const char* name, const std::wstring& value) {
  node.append_attribute(name).set_value(WideToUtf8(value).c_str());
}

void Set(pugi::xml_node node, const char* name, uint64_t value) {
  node.append_attribute(name).set_value(std::to_string(value).c_str());
}

MachineState ReadState(const pugi::xml_node& root) {
  MachineState state;
  const pugi::xml_node settings = root.child("settings");
  state.settings.majorVersion = static_cast<uint32_t>(Number(settings, "majorVersion", 10));
  state.settings.minorVersion = static_cast<uint32_t>(Number(settings, "minorVersion", 0));
  state.settings.buildNumber = static_cast<uint32_t>(Number(settings, "buildNumber", 19045));
  state.settings.x64 = Flag(settings, "x64", true);
  if (settings.attribute("uiLanguage")) {
    const uint64_t language = Number(settings, "uiLanguage", 0);
    if (language > 0xFFFF) throw LoadError{"uiLanguage is out of range"};
    state.settings.uiLanguage = static_cast<uint16_t>(language);
  }
  if (settings.attribute("currentDirectory")) state.settings.currentDirectory = Text(settings, "currentDirectory");
  state.settings.protectedPrintMode = Flag(settings, "protectedPrintMode", false);
  state.settings.administrator = Flag(settings, "administrator", true);
  for (const auto& answer : root.child("dialogAnswers").children("answer")) {
    state.settings.dialogAnswers.push_back(
        {Flag(answer, "confirmed", false), Text(answer, "portName"), Text(answer, "hostAddress")});
  }
  for (const auto& monitor : root.child("monitors").children("monitor"))
    state.monitors.push_back(Text(monitor, "name"));
  for (const auto& port : root.child("ports").children("port")) {
    SimulatedPort entry{Text(port, "name"),
                        Text(port, "description"),
                        Text(port, "monitor"),
                        Text(port, "hostAddress"),
                        static_cast<uint32_t>(Number(port, "portNumber", 0)),
                        static_cast<uint32_t>(Number(port, "protocol", 0))};
    if (!state.ports.Add(std::move(entry)))
      throw LoadError{"the port " + std::string(port.attribute("name").value()) + " is listed twice"};
  }
  for (const auto& node : root.child("drivers").children("driver")) {
    SimulatedDriver driver;
    driver.name = Text(node, "name");
    driver.version = static_cast<uint32_t>(Number(node, "version", 3));
    driver.environment = Text(node, "environment");
    driver.driverFile = Text(node, "driverFile");
    driver.dataFile = Text(node, "dataFile");
    driver.configFile = Text(node, "configFile");
    driver.helpFile = Text(node, "helpFile");
    driver.infPath = Text(node, "infPath");
    driver.manufacturer = Text(node, "manufacturer");
    driver.provider = Text(node, "provider");
    driver.driverVersion = Number(node, "driverVersion", 0);
    for (const auto& file : node.children("dependentFile")) driver.dependentFiles.push_back(Text(file, "name"));
    if (driver.environment.empty()) driver.environment = state.settings.x64 ? L"Windows x64" : L"Windows NT x86";
    state.drivers[DriverKey(driver.environment, driver.name)] = std::move(driver);
  }
  for (const auto& package : root.child("driverPackages").children("package")) {
    state.driverPackages.push_back(Text(package, "infPath"));
  }
  const pugi::xml_node printers = root.child("printers");
  state.defaultPrinter = Text(printers, "default");
  for (const auto& node : printers.children("printer")) {
    SimulatedPrinter printer;
    printer.name = Text(node, "name");
    printer.driver = Text(node, "driver");
    printer.port = Text(node, "port");
    printer.printProcessor = Text(node, "printProcessor");
    printer.attributes = static_cast<uint32_t>(Number(node, "attributes", 0x40));
    for (const auto& job : node.children("job")) printer.jobs.push_back(Text(job, "document"));
    state.printers[ToLowerUnits(printer.name)] = std::move(printer);
  }
  for (const auto& node : root.child("trustedPublishers").children("certificate")) {
    state.trustedPublishers.push_back({Text(node, "subject"), FromHex(node.attribute("der").value())});
  }
  for (const auto& device : root.child("devices").children("device")) state.devices.push_back(Text(device, "path"));
  return state;
}

void WriteState(const MachineState& state, pugi::xml_node root) {
  root.append_attribute("format").set_value(kFormat);
  pugi::xml_node settings = root.append_child("settings");
  Set(settings, "majorVersion", state.settings.majorVersion);
  Set(settings, "minorVersion", state.settings.minorVersion);
  Set(settings, "buildNumber", state.settings.buildNumber);
  settings.append_attribute("x64").set_value(state.settings.x64 ? "true" : "false");
  if (state.settings.uiLanguage) Set(settings, "uiLanguage", *state.settings.uiLanguage);
  Set(settings, "currentDirectory", state.settings.currentDirectory);
  if (state.settings.protectedPrintMode) settings.append_attribute("protectedPrintMode").set_value("true");
  if (!state.settings.administrator) settings.append_attribute("administrator").set_value("false");
  pugi::xml_node answers = root.append_child("dialogAnswers");
  for (const auto& answer : state.settings.dialogAnswers) {
    pugi::xml_node node = answers.append_child("answer");
    node.append_attribute("confirmed").set_value(answer.confirmed ? "true" : "false");
    Set(node, "portName", answer.portName);
    Set(node, "hostAddress", answer.hostAddress);
  }
  pugi::xml_node monitors = root.append_child("monitors");
  for (const auto& monitor : state.monitors) Set(monitors.append_child("monitor"), "name", monitor);
  pugi::xml_node ports = root.append_child("ports");
  for (const auto& port : state.ports) {
    pugi::xml_node node = ports.append_child("port");
    Set(node, "name", port.name);
    Set(node, "description", port.description);
    Set(node, "monitor", port.monitor);
    if (!port.hostAddress.empty()) {
      Set(node, "hostAddress", port.hostAddress);
      Set(node, "portNumber", port.portNumber);
      Set(node, "protocol", port.protocol);
    }
  }
  pugi::xml_node drivers = root.append_child("drivers");
  for (const auto& [key, driver] : state.drivers) {
    pugi::xml_node node = drivers.append_child("driver");
    Set(node, "name", driver.name);
    Set(node, "version", driver.version);
    Set(node, "environment", driver.environment);
    Set(node, "driverFile", driver.driverFile);
    Set(node, "dataFile", driver.dataFile);
    Set(node, "configFile", driver.configFile);
    Set(node, "helpFile", driver.helpFile);
    Set(node, "infPath", driver.infPath);
    Set(node, "manufacturer", driver.manufacturer);
    Set(node, "provider", driver.provider);
    Set(node, "driverVersion", driver.driverVersion);
    for (const auto& file : driver.dependentFiles) Set(node.append_child("dependentFile"), "name", file);
  }
  pugi::xml_node packages = root.append_child("driverPackages");
  for (const auto& package : state.driverPackages) Set(packages.append_child("package"), "infPath", package);
  pugi::xml_node printers = root.append_child("printers");
  Set(printers, "default", state.defaultPrinter);
  for (const auto& [key, printer] : state.printers) {
    pugi::xml_node node = printers.append_child("printer");
    Set(node, "name", printer.name);
    Set(node, "driver", printer.driver);
    Set(node, "port", printer.port);
    Set(node, "printProcessor", printer.printProcessor);
    Set(node, "attributes", printer.attributes);
    for (const auto& job : printer.jobs) Set(node.append_child("job"), "document", job);
  }
  pugi::xml_node certificates = root.append_child("trustedPublishers");
  for (const auto& certificate : state.trustedPublishers) {
    pugi::xml_node node = certificates.append_child("certificate");
    Set(node, "subject", certificate.subject);
    node.append_attribute("der").set_value(Hex(certificate.der).c_str());
  }
  pugi::xml_node devices = root.append_child("devices");
  for (const auto& device : state.devices) Set(devices.append_child("device"), "path", device);
}

}  // namespace

MachineStateLoad LoadMachineState(const std::filesystem::path& file) {
  MachineStateLoad load;
  std::error_code ec;
  const auto status = std::filesystem::status(file, ec);
  if (status.type() == std::filesystem::file_type::not_found) return load;
  if (ec || status.type() != std::filesystem::file_type::regular) {
    load.error = "cannot read " + file.string() + ": " + (ec ? ec.message() : "it is not a file");
    return load;
  }
  std::ifstream in(file, std::ios::binary);
  std::string text;
  if (in) text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (!in.is_open() || in.bad()) {
    load.error = "cannot read " + file.string() + ": " + std::strerror(errno);
    return load;
  }
  pugi::xml_document document;
  const pugi::xml_parse_result parsed = document.load_buffer(text.data(), text.size());
  if (!parsed) {
    load.error = file.string() + " is damaged at byte " + std::to_string(parsed.offset) + ": " + parsed.description();
    return load;
  }
  const pugi::xml_node root = document.child("machine");
  if (!root || std::string(root.attribute("format").value()) != kFormat) {
    load.error = file.string() + " is not a state file of the simulated machine (format " + kFormat + ")";
    return load;
  }
  try {
    load.state = ReadState(root);
  } catch (const LoadError& error) {
    load.error = file.string() + " is damaged: " + error.message;
  } catch (const std::exception& error) {
    load.error = file.string() + " is damaged: " + error.what();
  }
  return load;
}

std::string SaveMachineState(const MachineState& state, const std::filesystem::path& file) {
  pugi::xml_document document;
  pugi::xml_node declaration = document.append_child(pugi::node_declaration);
  declaration.append_attribute("version").set_value("1.0");
  declaration.append_attribute("encoding").set_value("utf-8");
  WriteState(state, document.append_child("machine"));
  std::ostringstream out;
  document.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
  const std::string text = out.str();

  return ReplaceFileWhole(file, text);
}
