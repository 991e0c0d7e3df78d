// The lists of the console program's "list" verb: what the wizard would show, as rows of
// named columns, written as aligned text or as JSON.
//
// Threads: the console program's only thread.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "shell/console/ConsoleOptions.h"
#include "shell/console/ConsolePlan.h"

struct ListColumn {
  const wchar_t* jsonKey;
  const wchar_t* headerKey;  // text id of the column's heading
  bool number = false;       // a JSON number rather than a string
};

struct ListTable {
  std::vector<ListColumn> columns;
  std::vector<std::vector<std::wstring>> rows;
};

// The family's printers or drivers (all of them with --all), the ports, the USB printers
// or the Bluetooth printers in range. A Bluetooth list without a radio that is on is refused.
std::variant<ListTable, MachineRefusal> CollectList(const ConsoleOptions& options);

// One heading line and one line per row, columns as wide as their widest cell (East Asian
// wide characters count twice), separated by two blanks; each line ends with "\n".
std::wstring FormatListText(const ListTable& table);
// An array of one object per row, keys in column order; ends with "\n".
std::wstring FormatListJson(const ListTable& table);

// Columns a text takes on a terminal.
size_t DisplayWidth(std::wstring_view text);
// The text as a JSON string, quotes included.
std::wstring JsonString(std::wstring_view text);
