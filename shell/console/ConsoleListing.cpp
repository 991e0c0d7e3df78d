#include "shell/console/ConsoleListing.h"

#include <algorithm>

#include "base/TextTable.h"
#include "base/WideText.h"
#include "devices/BluetoothDiscovery.h"
#include "devices/BluetoothOperations.h"
#include "devices/BluetoothRules.h"
#include "devices/UsbPrinterScan.h"
#include "engine/DriverModelRecord.h"
#include "engine/RemovalListFilter.h"
#include "engine/spooler/SpoolerOperations.h"

namespace {

std::wstring JsonOrNull(const std::wstring& text) {
  return text.empty() ? L"null" : JsonString(text);
}

// The INF's DriverVer as Windows shows it: four parts of 16 bits.
std::wstring DriverVersionText(uint64_t version) {
  std::wstring text;
  for (int shift = 48; shift >= 0; shift -= 16) {
    if (!text.empty()) text += L'.';
    text += std::to_wstring((version >> shift) & 0xFFFF);
  }
  return text;
}

// A list that could not be read in full is no list: the reason instead.
MachineRefusal Unreadable(SystemOutcome outcome) {
  return UnansweredRefusal(L"cli.err.machinelists", outcome.Error());
}

std::variant<ListTable, MachineRefusal> SpoolerList(const ConsoleOptions& options) {
  ListTable table;
  std::vector<SpoolerEntry> entries;
  const std::vector<std::wstring> family = DriverFamilyNames();
  switch (options.subject) {
    case ListSubject::Printers: {
      table.columns = PrinterColumns();
      if (const SystemOutcome listed = ListPrinters(entries, SystemDriverEnvironment()); !listed) {
        return Unreadable(listed);
      }
      const RemovalListFilter filter(options.all, L"", family, true);
      for (const auto& entry : entries) {
        if (filter.Passes(entry)) table.rows.push_back(PrinterCells(entry));
      }
      break;
    }
    case ListSubject::Drivers: {
      table.columns = DriverColumns();
      std::vector<SpoolerEntry> printers;
      if (const SystemOutcome listed = ListPrinters(printers, SystemDriverEnvironment()); !listed) {
        return Unreadable(listed);
      }
      if (const SystemOutcome listed = ListDrivers(entries, SystemDriverEnvironment()); !listed) {
        return Unreadable(listed);
      }
      const RemovalListFilter filter(options.all, L"", family, false);
      for (const auto& entry : entries) {
        if (filter.Passes(entry)) table.rows.push_back(DriverCells(entry, printers));
      }
      break;
    }
    default: {
      table.columns = {{L"port", L"cli.col.port"},
                       {L"description", L"cli.col.description"},
                       {L"monitor", L"cli.col.monitor"},
                       {L"address", nullptr, true}};
      if (const SystemOutcome listed = ListPorts(entries); !listed) return Unreadable(listed);
      // A port entry holds name, description and monitor in these fields.
      for (const auto& entry : entries) {
        table.rows.push_back({entry.printerName, entry.driverName, entry.infPath, JsonOrNull(entry.address)});
      }
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

std::vector<ListColumn> PrinterColumns() {
  return {{L"printer", L"cli.col.printer"},
          {L"driver", L"cli.col.driver"},
          {L"port", nullptr},
          {L"default", nullptr, true},
          {L"environment", nullptr}};
}

std::vector<std::wstring> PrinterCells(const SpoolerEntry& printer) {
  return {printer.printerName, printer.driverName, printer.port, printer.isDefault ? L"true" : L"false",
          printer.environment};
}

std::vector<ListColumn> DriverColumns() {
  return {{L"driver", L"cli.col.driver"}, {L"inf", L"cli.col.inf"},  {L"version", nullptr},
          {L"type", nullptr, true},       {L"environment", nullptr}, {L"printers", nullptr, true}};
}

std::vector<std::wstring> DriverCells(const SpoolerEntry& driver, const std::vector<SpoolerEntry>& printers) {
  std::wstring users = L"[";
  for (const auto& printer : printers) {
    if (!EqualsNoCase(printer.driverName, driver.driverName)) continue;
    if (users.size() > 1) users += L", ";
    users += JsonString(printer.printerName);
  }
  users += L"]";
  return {driver.driverName,  driver.infPath, DriverVersionText(driver.driverVersion), std::to_wstring(driver.version),
          driver.environment, users};
}

std::variant<ListTable, MachineRefusal> CollectList(const ConsoleOptions& options) {
  if (options.subject == ListSubject::Usb) {
    ListTable table;
    table.columns = {{L"number", L"cli.col.number", true}, {L"port", L"cli.col.port"}, {L"device", L"cli.col.device"}};
    const ScanResult<UsbPrinterEntry> scan = ScanUsbPrinters();
    if (!scan.Complete()) return UnansweredRefusal(L"search.usb.failed", scan.error);
    int number = 0;
    for (const auto& printer : scan.found) {
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
    const ScanResult<BluetoothDeviceRecord> scan = ScanBluetoothPrinters();
    if (!scan.Complete()) return UnansweredRefusal(L"search.bluetooth.failed", scan.error);
    int number = 0;
    for (const auto& device : scan.found) {
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
  // The text columns, each with its cells.
  std::vector<size_t> shown;
  for (size_t i = 0; i < table.columns.size(); ++i) {
    if (table.columns[i].headerKey != nullptr) shown.push_back(i);
  }
  const auto cellsOf = [&](const std::vector<std::wstring>& row) {
    std::vector<std::wstring> cells;
    for (size_t i : shown) cells.push_back(i < row.size() ? row[i] : std::wstring());
    return cells;
  };
  std::vector<std::wstring> headers;
  for (size_t i : shown) headers.push_back(GetText(table.columns[i].headerKey));
  std::vector<std::vector<std::wstring>> lines{headers};
  for (const auto& row : table.rows) lines.push_back(cellsOf(row));
  std::vector<size_t> widths(shown.size(), 0);
  for (const auto& cells : lines) {
    for (size_t i = 0; i < cells.size(); ++i) widths[i] = std::max(widths[i], DisplayWidth(cells[i]));
  }
  std::wstring text;
  for (const auto& cells : lines) {
    for (size_t i = 0; i < cells.size(); ++i) {
      text += cells[i];
      if (i + 1 < cells.size()) text.append(widths[i] - DisplayWidth(cells[i]) + 2, L' ');
    }
    text += L"\n";
  }
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

std::wstring FormatJsonObject(const std::vector<ListColumn>& columns, const std::vector<std::wstring>& row) {
  std::wstring text = L"{";
  for (size_t i = 0; i < row.size() && i < columns.size(); ++i) {
    if (i > 0) text += L", ";
    text += JsonString(columns[i].jsonKey) + L": ";
    text += columns[i].json ? row[i] : JsonString(row[i]);
  }
  return text + L"}";
}

std::wstring FormatListJson(const ListTable& table) {
  std::wstring text = L"[";
  for (size_t r = 0; r < table.rows.size(); ++r) {
    text += r == 0 ? L"\n  " : L",\n  ";
    text += FormatJsonObject(table.columns, table.rows[r]);
  }
  return text + (table.rows.empty() ? L"]\n" : L"\n]\n");
}
