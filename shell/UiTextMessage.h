// The payload of the main-window messages that carry a text (751, 752, 759, 760, 770).
// The sender owns it for the duration of the synchronous send; the receiver only reads.
#pragma once

#include <cstdint>
#include <string>

struct UiTextMessage {
  std::wstring text;
  uint8_t flag1 = 0;  // error: the line or label is red
  uint8_t flag2 = 0;  // clear: empty the log pane instead of writing
  uint8_t flag3 = 0;  // enabled (Next button); always 1 in log messages
};
