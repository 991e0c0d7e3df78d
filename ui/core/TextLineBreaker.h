// Breaks text into lines that fit a width, and finds the character under a position, with
// the canvas's own measurements, so that what a control draws line by line, highlights
// and hit-tests agree to the pixel on every host.
//
// Threads: UI thread only (it measures on the painting canvas).
#pragma once

#include <string_view>
#include <utility>
#include <vector>

#include "ui/core/Canvas.h"

namespace ui {

// [start, end) pieces of text[start, end), each no wider than wrapWidth when that can be
// done (a single character wider than it gets a line of its own), broken after a blank
// where one fits. wrapWidth 0 gives one line. Blanks at a break stay on the line before.
std::vector<std::pair<size_t, size_t>> BreakLines(Canvas& canvas, std::wstring_view text, size_t start, size_t end,
                                                  const FontSpec& font, int wrapWidth);

// The width of text on one line.
int LineWidth(Canvas& canvas, std::wstring_view text, const FontSpec& font);

// The index in line (0 .. size) of the caret position nearest to x, measured from the
// line's left edge.
size_t IndexAtX(Canvas& canvas, std::wstring_view line, const FontSpec& font, int x);

}  // namespace ui
