// The look of the toolkit when a layout gives no colour of its own: a white body, one
// accent colour, light greys for frames and clear hover, pressed, disabled and focus
// states.
#pragma once

#include "ui/core/Geometry.h"

namespace ui::theme {

constexpr Argb kAccent = 0xFF1E6FD9;  // the colour of the skin images
constexpr Argb kAccentHot = 0xFF1758B0;
constexpr Argb kAccentPressed = 0xFF124789;
constexpr Argb kAccentLight = 0xFFE8F1FD;  // hover fill of rows and options
constexpr Argb kAccentSoft = 0xFFD3E4FB;   // selected rows, text selection

constexpr Argb kBody = 0xFFFFFFFF;
constexpr Argb kText = 0xFF1F2329;
constexpr Argb kTextMuted = 0xFF6B7280;
constexpr Argb kTextDisabled = 0xFFB0B5BC;
constexpr Argb kBorder = 0xFFD4D8DE;
constexpr Argb kBorderDisabled = 0xFFE4E7EB;
constexpr Argb kButton = 0xFFF3F5F7;
constexpr Argb kButtonHot = 0xFFE9EEF5;
constexpr Argb kButtonPressed = 0xFFDCE3EC;
constexpr Argb kButtonDisabled = 0xFFF7F8F9;
constexpr Argb kHeader = 0xFFF5F6F8;
constexpr Argb kRowHot = 0xFFF3F7FC;
constexpr Argb kRowSelected = 0xFFE4EEFC;
constexpr Argb kCaptionHot = 0x1A000000;  // caption glyph buttons under the mouse
constexpr Argb kCaptionPressed = 0x2E000000;
constexpr Argb kCloseHot = 0xFFE5484D;
constexpr Argb kCloseGlyphHot = 0xFFFFFFFF;
constexpr Argb kScrollThumb = 0x59000000;
constexpr Argb kScrollThumbHot = 0x8C000000;
constexpr Argb kToolTip = 0xF0262A30;
constexpr Argb kToolTipText = 0xFFFFFFFF;
constexpr Argb kShadow = 0xFF000000;

constexpr int kCornerRadius = 4;
constexpr int kMarkSize = 16;  // check and radio marks, before scaling

}  // namespace ui::theme
