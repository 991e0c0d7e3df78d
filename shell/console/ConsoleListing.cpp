#include "shell/console/ConsoleListing.h"

#include <algorithm>

#include "base/TextTable.h"
#include "devices/BluetoothDiscovery.h"
#include "devices/BluetoothOperations.h"
#include "devices/BluetoothRules.h"
#include "devices/UsbPrinterScan.h"
#include "engine/DriverModelRecord.h"
#include "engine/RemovalListFilter.h"
#include "engine/spooler/SpoolerOperations.h"

namespace {

ListTable SpoolerList(const ConsoleOptions& options) {
  ListTable table;
  std::vector<SpoolerEntry> entries;
  const std::vector<std::wstring> family = DriverFamilyNames();
  switch (options.subject) {
    case ListSubject::Printers: {
      table.columns = {{L"printer", L"cli.col.printer"}, {L"driver", L"cli.col.driver"}};
      ListPrinters(entries, SystemDriverEnvironment());
      const RemovalListFilter filter(options.all, L"", family, true);
      for (const auto& entry : entries) {
        if (filter.Passes(entry)) table.rows.push_back({entry.printerName, entry.driverName});
      }
      break;
    }
    case ListSubject::Drivers: {
      table.columns = {{L"driver", L"cli.col.driver"}, {L"inf", L"cli.col.inf"}};
      ListDrivers(entries, SystemDriverEnvironment());
      const RemovalListFilter filter(options.all, L"", family, false);
      for (const auto& entry : entries) {
        if (filter.Passes(entry)) table.rows.push_back({entry.driverName, entry.infPath});
      }
      break;
    }
    default: {
      table.columns = {
          {L"port", L"cli.col.port"}, {L"description", L"cli.col.description"}, {L"monitor", L"cli.col.monitor"}};
      ListPorts(entries);
      // A port entry holds name, description and monitor in these fields.
      for (const auto& entry : entries) table.rows.push_back({entry.printerName, entry.driverName, entry.infPath});
      break;
    }
  }
  return table;
}

bool IsCombining(wchar_t c) {
  return (c >= 0x0300 && c <= 0x036F) || c == 0x0E31 || (c >= 0x0E34 && c <= 0x0E3A) || (c >= 0x0E47 && c <= 0x0E4E);
}

bool IsWide(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) || (c >= 0x3041 && c <= 0x33FF) ||
         (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
         (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
         (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

}  // namespace

std::variant<ListTable, MachineRefusal> CollectList(const ConsoleOptions& options) {
  if (options.subject == ListSubject::Usb) {
    ListTable table;
    table.columns = {{L"number", L"cli.col.number", true}, {L"port", L"cli.col.port"}, {L"device", L"cli.col.device"}};
    int number = 0;
    for (const auto& printer : ScanUsbPrinters()) {
      table.rows.push_back({std::to_wstring(++number), printer.portName, printer.pidVid});
    }
    return table;
  }
  if (options.subject == ListSubject::Bluetooth) {
    const BluetoothAdapterState state = QueryBluetoothAdapter();
    if (state != BluetoothAdapterState::On) return MachineRefusal{GetText(BluetoothAdapterStateKey(state))};
    ListTable table;
    table.columns = {
        {L"number", L"cli.col.number", true}, {L"name", L"cli.col.name"}, {L"address", L"cli.col.address"}};
    int number = 0;
    for (const auto& device : ScanBluetoothPrinters()) {
      table.rows.push_back(
          {std::to_wstring(++number), DeviceName(device), FormatBluetoothAddress(device.address, true)});
    }
    return table;
  }
  return SpoolerList(options);
}

size_t DisplayWidth(std::wstring_view text) {
  size_t width = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = static_cast<char32_t>(text[i]);
    if (sizeof(wchar_t) == 2 && c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(text[++i]) - 0xDC00);
    }
    if (IsCombining(static_cast<wchar_t>(c))) continue;
    width += IsWide(c) ? 2 : 1;
  }
  return width;
}

std::wstring FormatListText(const ListTable& table) {
  std::vector<std::wstring> headers;
  std::vector<size_t> widths;
  for (const auto& column : table.columns) {
    headers.push_back(GetText(column.headerKey));
    widths.push_back(DisplayWidth(headers.back()));
  }
  for (const auto& row : table.rows) {
    for (size_t i = 0; i < row.size() && i < widths.size(); ++i) widths[i] = std::max(widths[i], DisplayWidth(row[i]));
  }
  const auto line = [&](const std::vector<std::wstring>& cells) {
    std::wstring text;
    for (size_t i = 0; i < cells.size() && i < widths.size(); ++i) {
      text += cells[i];
      if (i + 1 < cells.size()) text.append(widths[i] - DisplayWidth(cells[i]) + 2, L' ');
    }
    return text + L"\n";
  };
  std::wstring text = line(headers);
  for (const auto& row : table.rows) text += line(row);
  return text;
}

std::wstring JsonString(std::wstring_view text) {
  std::wstring out = L"\"";
  for (wchar_t c : text) {
    switch (c) {
      case L'"':
        out += L"\\\"";
        break;
      case L'\\':
        out += L"\\\\";
        break;
      case L'\n':
        out += L"\\n";
        break;
      case L'\r':
        out += L"\\r";
        break;
      case L'\t':
        out += L"\\t";
        break;
      default:
        if (static_cast<uint32_t>(c) < 0x20) {
          constexpr wchar_t kHex[] = L"0123456789abcdef";
          out += L"\\u00";
          out += kHex[(c >> 4) & 0xF];
          out += kHex[c & 0xF];
        } else {
          out += c;
        }
    }
  }
  return out + L"\"";
}

std::wstring FormatListJson(const ListTable& table) {
  std::wstring text = L"[";
  for (size_t r = 0; r < table.rows.size(); ++r) {
    text += r == 0 ? L"\n  {" : L",\n  {";
    const auto& row = table.rows[r];
    for (size_t i = 0; i < row.size() && i < table.columns.size(); ++i) {
      if (i > 0) text += L", ";
      text += JsonString(table.columns[i].jsonKey) + L": ";
      text += table.columns[i].number ? row[i] : JsonString(row[i]);
    }
    text += L"}";
  }
  return text + (table.rows.empty() ? L"]\n" : L"\n]\n");
}
