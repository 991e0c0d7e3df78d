// Painting helpers shared by the controls: skin images (whole or in nine slices) and the
// flat shapes the toolkit draws when a layout gives no image: check and radio marks,
// caption glyphs and a soft window shadow.
//
// Threads: UI thread only.
#pragma once

#include <string_view>

#include "ui/core/Canvas.h"
#include "ui/core/Image.h"

namespace ui {

// Draws a skin image stretched into dest; false (and nothing drawn) when it is missing.
bool DrawSkinImage(Canvas& canvas, std::wstring_view name, int scalePercent, const Rect& dest, uint8_t alpha = 255);
// Corners keep their size, edges stretch along one axis, the centre along both.
void DrawNineSlice(Canvas& canvas, const Image& image, const Rect& sourceCorners, const Rect& destCorners,
                   const Rect& dest);
void DrawCheckMark(Canvas& canvas, const Rect& box, bool checked, bool enabled, bool hot, int scalePercent);
void DrawRadioMark(Canvas& canvas, const Rect& box, bool selected, bool enabled, bool hot, int scalePercent);
// "close", "minimize", "maximize", "restore", "language", "about", "search"; false for
// another name.
bool DrawGlyph(Canvas& canvas, std::wstring_view glyph, const Rect& rect, Argb color, int scalePercent);
// A shadow fading outwards in the band of the given width around body.
void DrawSoftShadow(Canvas& canvas, const Rect& body, int width);

}  // namespace ui
