#include "ui/core/TextLineBreaker.h"

namespace ui {

namespace {

bool IsLowSurrogate(wchar_t c) {
  return (static_cast<unsigned>(c) & 0xFC00u) == 0xDC00u;
}

bool IsBlank(wchar_t c) {
  return c == L' ' || c == L'\t';
}

}  // namespace

int LineWidth(Canvas& canvas, std::wstring_view text, const FontSpec& font) {
  return text.empty() ? 0 : canvas.MeasureText(text, font, 0, kTextSingleLine).cx;
}

std::vector<std::pair<size_t, size_t>> BreakLines(Canvas& canvas, std::wstring_view text, size_t start, size_t end,
                                                  const FontSpec& font, int wrapWidth) {
  std::vector<std::pair<size_t, size_t>> lines;
  if (wrapWidth <= 0 || start >= end) {
    lines.emplace_back(start, end);
    return lines;
  }
  size_t from = start;
  while (from < end) {
    auto fits = [&](size_t to) { return LineWidth(canvas, text.substr(from, to - from), font) <= wrapWidth; };
    if (fits(end)) {
      lines.emplace_back(from, end);
      break;
    }
    // The longest prefix that fits: binary search, as widths grow with length.
    size_t low = from + 1, high = end;
    while (low < high) {
      const size_t middle = low + (high - low + 1) / 2;
      if (fits(middle)) {
        low = middle;
      } else {
        high = middle - 1;
      }
    }
    size_t cut = low;
    if (cut < end && IsLowSurrogate(text[cut]) && cut > from + 1) --cut;
    // Prefer a break after the last blank; the blanks that follow the cut go with it.
    size_t blank = cut;
    while (blank > from && !IsBlank(text[blank - 1])) --blank;
    if (cut < end && IsBlank(text[cut])) blank = cut;
    if (blank > from) cut = blank;
    while (cut < end && IsBlank(text[cut])) ++cut;
    lines.emplace_back(from, cut);
    from = cut;
  }
  return lines;
}

size_t IndexAtX(Canvas& canvas, std::wstring_view line, const FontSpec& font, int x) {
  if (x <= 0 || line.empty()) return 0;
  size_t low = 0, high = line.size();
  // The last index whose left edge lies at or before x.
  while (low < high) {
    const size_t middle = low + (high - low + 1) / 2;
    if (LineWidth(canvas, line.substr(0, middle), font) <= x) {
      low = middle;
    } else {
      high = middle - 1;
    }
  }
  if (low < line.size()) {
    const int left = LineWidth(canvas, line.substr(0, low), font);
    const int right = LineWidth(canvas, line.substr(0, low + 1), font);
    if (x - left > right - x) ++low;
  }
  if (low < line.size() && low > 0 && IsLowSurrogate(line[low])) --low;
  return low;
}

}  // namespace ui
