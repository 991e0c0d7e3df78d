// The GDI fonts that the canvas draws with, one per FontSpec, created once each and kept
// until the cache goes. Windows build only.
//
// Threads: UI thread only.
#pragma once

#include "ui/win32/WindowsHeaders.h"

#include <map>
#include <string>
#include <tuple>

#include "ui/core/Canvas.h"
#include "ui/win32/GdiObject.h"

namespace ui {

class FontCacheGdi {
 public:
  FontCacheGdi() = default;
  FontCacheGdi(const FontCacheGdi&) = delete;
  FontCacheGdi& operator=(const FontCacheGdi&) = delete;

  // The GDI font for font; the default GUI font when it cannot be created. Valid until
  // the next call (a full cache starts afresh), so select it only for one drawing call.
  HFONT Get(const FontSpec& font);

 private:
  using Key = std::tuple<std::wstring, int, bool, bool, bool>;
  std::map<Key, GdiObject<HFONT>> fonts_;
};

}  // namespace ui
