// The virtual window "mainpage" that the caption buttons name: their notifications end
// here after the main window's own handling, and it does nothing with them.
#pragma once

#include "ui/core/CNotifyPump.h"

class CMainPage : public ui::CNotifyPump {
 public:
  CMainPage();
};
