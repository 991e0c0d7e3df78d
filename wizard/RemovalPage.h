// The removal wizard's four panels: the printer and driver lists with their filters, the
// summary and the start of the removal worker.
//
// Threads: UI thread.
#pragma once

namespace ui {
class Control;
struct TNotifyUI;
}  // namespace ui

// Entry action of removal panel 0..3.
void EnterRemovalPanel(int panel);
// A click or notification of a control of the removal page; false when it is not one.
bool OnRemovalClick(ui::Control* sender);
bool OnRemovalNotify(ui::TNotifyUI& msg);
