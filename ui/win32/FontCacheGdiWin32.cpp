#include "ui/win32/FontCacheGdi.h"

#include <algorithm>

namespace ui {

namespace {

// Layouts use a handful of fonts; a toolkit that asks for ever new sizes must not leak.
constexpr size_t kMaximumFonts = 128;

}  // namespace

HFONT FontCacheGdi::Get(const FontSpec& font) {
  Key key{font.face, font.size, font.bold, font.italic, font.underline};
  if (auto found = fonts_.find(key); found != fonts_.end()) return found->second.Get();
  if (fonts_.size() >= kMaximumFonts) fonts_.clear();

  LOGFONTW logFont{};
  logFont.lfHeight = -std::max(font.size, 1);  // negative: the character height in pixels
  logFont.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  logFont.lfItalic = font.italic ? TRUE : FALSE;
  logFont.lfUnderline = font.underline ? TRUE : FALSE;
  // Any charset, so that font mapping may pick a face that has the script of the text.
  logFont.lfCharSet = DEFAULT_CHARSET;
  logFont.lfOutPrecision = OUT_TT_PRECIS;
  logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  logFont.lfQuality = CLEARTYPE_QUALITY;
  logFont.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  const size_t length = std::min(font.face.size(), static_cast<size_t>(LF_FACESIZE - 1));
  std::copy_n(font.face.begin(), length, logFont.lfFaceName);

  GdiObject<HFONT> created(CreateFontIndirectW(&logFont));
  if (!created) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  HFONT handle = created.Get();
  fonts_.emplace(std::move(key), std::move(created));
  return handle;
}

}  // namespace ui
