// The lists of the console program's "list" verb: what the wizard would show, as rows of
// named columns, written as aligned text or as JSON.
//
// Threads: the console program's only thread.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "engine/spooler/SpoolerEntry.h"
#include "shell/console/ConsoleOptions.h"
#include "shell/console/ConsolePlan.h"

struct ListColumn {
  const wchar_t* jsonKey;
  const wchar_t* headerKey;  // text id of the column's heading; null: only in JSON
  bool json = false;         // the cell is JSON already (a number, true, false, null, an array)
};

struct ListTable {
  std::vector<ListColumn> columns;
  std::vector<std::vector<std::wstring>> rows;
};

// The family's printers or drivers (all of them with --all), the ports, the USB printers
// or the Bluetooth printers in range. A Bluetooth list without a radio that is on is refused.
std::variant<ListTable, MachineRefusal> CollectList(const ConsoleOptions& options);

// A printer's and a driver's record, as the lists and the detection show them. A driver's
// record names the printers (of the list given) that use it.
std::vector<ListColumn> PrinterColumns();
std::vector<std::wstring> PrinterCells(const SpoolerEntry& printer);
std::vector<ListColumn> DriverColumns();
std::vector<std::wstring> DriverCells(const SpoolerEntry& driver, const std::vector<SpoolerEntry>& printers);

// The text columns only: one heading line and one line per row, columns as wide as their widest cell (East Asian
// wide characters count twice), separated by two blanks; each line ends with "\n".
std::wstring FormatListText(const ListTable& table);
// An array of one object per row, keys in column order; ends with "\n".
std::wstring FormatListJson(const ListTable& table);
// One row as a JSON object on one line, keys in column order.
std::wstring FormatJsonObject(const std::vector<ListColumn>& columns, const std::vector<std::wstring>& row);

// Columns a text takes on a terminal.
size_t DisplayWidth(std::wstring_view text);
// The text as a JSON string, quotes included.
std::wstring JsonString(std::wstring_view text);
