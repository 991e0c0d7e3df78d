// An input or state event as the window tree hands it to one control (Control::DoEvent).
// Positions are client pixels of the window.
#pragma once

#include <string>

#include "ui/core/Geometry.h"
#include "ui/core/Host.h"

namespace ui {

enum class UiEventType {
  MouseEnter,
  MouseLeave,
  MouseMove,
  ButtonDown,
  ButtonUp,
  DoubleClick,
  Wheel,
  KeyDown,
  Text,  // typed or committed text
  SetFocus,
  KillFocus,
  Timer,
};

struct UiEvent {
  UiEventType type = UiEventType::MouseMove;
  Point position;
  MouseButton button = MouseButton::None;
  int wheelDelta = 0;
  unsigned key = 0;
  bool shift = false;
  bool control = false;
  std::wstring text;
  int timerId = 0;
};

}  // namespace ui
