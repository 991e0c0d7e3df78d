#include "simulated/DeviceTreeFile.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <pugixml.hpp>
#include <sstream>
#include <stdexcept>

#include "base/WideText.h"
#include "simulated/ReplaceFile.h"

namespace {

struct LoadError {
  std::string message;
};

[[noreturn]] void Damaged(const pugi::xml_node& node, const char* name, const std::string& why) {
  throw LoadError{"<" + std::string(node.name()) + "> has " + name + "=\"" + node.attribute(name).value() + "\", " +
                  why};
}

std::wstring Text(const pugi::xml_node& node, const char* name) {
  return Utf8ToWide(node.attribute(name).value());
}

uint64_t Number(const pugi::xml_node& node, const char* name, uint64_t fallback, uint64_t limit) {
  const pugi::xml_attribute attribute = node.attribute(name);
  if (!attribute) return fallback;
  const std::string text = attribute.value();
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const std::string digits = hex ? text.substr(2) : text;
  if (digits.empty() || digits.size() > 16 ||
      digits.find_first_not_of(hex ? "0123456789abcdefABCDEF" : "0123456789") != std::string::npos) {
    Damaged(node, name, "which is no number");
  }
  const uint64_t value = std::stoull(digits, nullptr, hex ? 16 : 10);
  if (value > limit) Damaged(node, name, "which is too large");
  return value;
}

bool Flag(const pugi::xml_node& node, const char* name, bool fallback) {
  const pugi::xml_attribute attribute = node.attribute(name);
  if (!attribute) return fallback;
  const std::string text = attribute.value();
  if (text == "true") return true;
  if (text == "false") return false;
  Damaged(node, name, "which is neither true nor false");
}

void Set(pugi::xml_node node, const char* name, const std::wstring& value) {
  node.append_attribute(name).set_value(WideToUtf8(value).c_str());
}

void Set(pugi::xml_node node, const char* name, const std::string& value) {
  node.append_attribute(name).set_value(value.c_str());
}

void Set(pugi::xml_node node, const char* name, uint64_t value) {
  node.append_attribute(name).set_value(std::to_string(value).c_str());
}

void SetFlag(pugi::xml_node node, const char* name, bool value) {
  node.append_attribute(name).set_value(value ? "true" : "false");
}

std::string ClassText(uint32_t classOfDevice) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%06X", classOfDevice);
  return text;
}

const char* AdapterText(SimulatedAdapter adapter) {
  switch (adapter) {
    case SimulatedAdapter::On:
      return "on";
    case SimulatedAdapter::Off:
      return "off";
    case SimulatedAdapter::None:
      break;
  }
  return "none";
}

DeviceTreeState ReadState(const pugi::xml_node& root) {
  DeviceTreeState state;
  const std::string adapter = root.attribute("bluetoothAdapter").value();
  if (adapter == "on") {
    state.adapter = SimulatedAdapter::On;
  } else if (adapter == "off") {
    state.adapter = SimulatedAdapter::Off;
  } else if (!adapter.empty() && adapter != "none") {
    Damaged(root, "bluetoothAdapter", "which is none of none, off and on");
  }
  state.comPortDelayMs = static_cast<uint32_t>(Number(root, "comPortDelayMs", state.comPortDelayMs, 0xFFFFFFFF));
  for (const auto& node : root.children("usbPrinter")) {
    SimulatedUsbPrinter printer;
    printer.instanceId = Text(node, "instanceId");
    printer.devicePath = Text(node, "devicePath");
    if (node.attribute("portNumber")) {
      printer.portNumber = static_cast<uint32_t>(Number(node, "portNumber", 0, 0xFFFFFFFF));
    }
    printer.propertiesReadable = Flag(node, "propertiesReadable", true);
    printer.detailReadable = Flag(node, "detailReadable", true);
    state.usbPrinters.push_back(std::move(printer));
  }
  for (const auto& node : root.children("serialPort")) {
    state.serialPorts.push_back({Text(node, "instanceId"), Text(node, "portName"), Flag(node, "terminated", true)});
  }
  for (const auto& node : root.children("bluetoothDevice")) {
    SimulatedBluetoothDevice device;
    device.name = Text(node, "name");
    const auto address = ParseBluetoothAddress(node.attribute("address").value());
    if (!address) Damaged(node, "address", "which is no Bluetooth address");
    device.address = *address;
    device.classOfDevice = static_cast<uint32_t>(Number(node, "class", 0, 0xFFFFFF));
    device.paired = Flag(node, "paired", false);
    if (node.attribute("pin")) device.pin = Text(node, "pin");
    device.serialService = Flag(node, "serialService", false);
    device.comPort = Text(node, "comPort");
    state.bluetoothDevices.push_back(std::move(device));
  }
  for (const auto& node : root.children("localService")) {
    const auto address = ParseBluetoothAddress(node.attribute("address").value());
    if (!address) Damaged(node, "address", "which is no Bluetooth address");
    state.localServices.push_back({*address, Text(node, "name"), Text(node, "comPort")});
  }
  for (const auto& node : root.children("fault")) {
    const std::string mode = node.attribute("mode").value();
    if (mode != "once" && mode != "always") Damaged(node, "mode", "which is neither once nor always");
    state.faults.push_back(
        {node.attribute("call").value(), static_cast<uint32_t>(Number(node, "code", 0, 0xFFFFFFFF)), mode == "once"});
  }
  return state;
}

void WriteState(const DeviceTreeState& state, pugi::xml_node root) {
  Set(root, "bluetoothAdapter", std::string(AdapterText(state.adapter)));
  Set(root, "comPortDelayMs", uint64_t{state.comPortDelayMs});
  for (const auto& printer : state.usbPrinters) {
    pugi::xml_node node = root.append_child("usbPrinter");
    Set(node, "instanceId", printer.instanceId);
    Set(node, "devicePath", printer.devicePath);
    if (printer.portNumber) Set(node, "portNumber", uint64_t{*printer.portNumber});
    if (!printer.propertiesReadable) SetFlag(node, "propertiesReadable", false);
    if (!printer.detailReadable) SetFlag(node, "detailReadable", false);
  }
  for (const auto& port : state.serialPorts) {
    pugi::xml_node node = root.append_child("serialPort");
    Set(node, "instanceId", port.instanceId);
    Set(node, "portName", port.portName);
    if (!port.terminated) SetFlag(node, "terminated", false);
  }
  for (const auto& device : state.bluetoothDevices) {
    pugi::xml_node node = root.append_child("bluetoothDevice");
    Set(node, "name", device.name);
    Set(node, "address", BluetoothAddressText(device.address));
    Set(node, "class", ClassText(device.classOfDevice));
    SetFlag(node, "paired", device.paired);
    Set(node, "pin", device.pin);
    SetFlag(node, "serialService", device.serialService);
    if (!device.comPort.empty()) Set(node, "comPort", device.comPort);
  }
  for (const auto& service : state.localServices) {
    pugi::xml_node node = root.append_child("localService");
    Set(node, "address", BluetoothAddressText(service.address));
    Set(node, "name", service.serviceName);
    Set(node, "comPort", service.comPort);
  }
  for (const auto& fault : state.faults) {
    pugi::xml_node node = root.append_child("fault");
    Set(node, "call", fault.call);
    Set(node, "code", uint64_t{fault.code});
    Set(node, "mode", std::string(fault.once ? "once" : "always"));
  }
}

}  // namespace

std::optional<uint64_t> ParseBluetoothAddress(const std::string& text) {
  std::string digits;
  for (const char c : text) {
    if (c == '-' || c == ':') continue;
    if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
    digits += c;
  }
  if (digits.size() != 12) return std::nullopt;
  return std::stoull(digits, nullptr, 16);
}

std::string BluetoothAddressText(uint64_t address) {
  char text[24];
  std::snprintf(text, sizeof text, "%012llX", static_cast<unsigned long long>(address & 0xFFFFFFFFFFFFull));
  return text;
}

DeviceTreeLoad LoadDeviceTree(const std::filesystem::path& file) {
  DeviceTreeLoad load;
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return load;
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    load.error = "cannot read " + file.string();
    return load;
  }
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  pugi::xml_document document;
  const pugi::xml_parse_result parsed = document.load_buffer(text.data(), text.size());
  const pugi::xml_node root = document.child("devices");
  if (!parsed || !root) {
    load.error = file.string() + " is not a device file of the simulated machine";
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

std::string SaveDeviceTree(const DeviceTreeState& state, const std::filesystem::path& file) {
  pugi::xml_document document;
  WriteState(state, document.append_child("devices"));
  std::ostringstream out;
  document.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
  return ReplaceFileWhole(file, out.str());
}
