// Reading attribute values of layouts and of SetAttribute: numbers, truth values,
// colours, sizes, rectangles and attribute lists (the "value" of styles and defaults).
// Each gives nothing for a value it cannot read, so the caller can report it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/core/Geometry.h"

namespace ui {

// Numbers beyond ±kLargestNumber are refused, in sizes and rectangles too.
constexpr int kLargestNumber = 100000;
std::optional<int> ParseInt(std::wstring_view value);
std::optional<bool> ParseBool(std::wstring_view value);  // "true"/"false", "1"/"0"
// "ffff0000" or "#ffff0000" (AARRGGBB), or six digits for an opaque colour.
std::optional<Argb> ParseColor(std::wstring_view value);
std::optional<Size> ParseSize(std::wstring_view value);  // "cx,cy"
std::optional<Rect> ParseRect(std::wstring_view value);  // "left,top,right,bottom"

using AttributeList = std::vector<std::pair<std::wstring, std::wstring>>;
// name="value" name2='value2' ...; nothing when the text is not such a list.
std::optional<AttributeList> ParseAttributeList(std::wstring_view text);

bool NameEquals(std::wstring_view a, std::wstring_view b);  // ASCII letters without case

}  // namespace ui

namespace ui {

// One line on stderr for a problem in a skin: where (a file and element, a style, a
// program call) and what.
void ReportSkinProblem(std::string_view where, std::string_view what);

}  // namespace ui
