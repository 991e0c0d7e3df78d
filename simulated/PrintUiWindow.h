// The windows of the simulated printer applet, drawn with the toolkit as the system draws
// the real applet's: "Printing Preferences" and "Properties" of a printer, showing its
// name, driver and port, and the confirmation of a test page. Each is modal over the
// window that started the applet and closes with OK, Cancel, Close or Escape.
//
// Controls, for a person or a test driving it: "label_printui_title", "label_printui_printer",
// "label_printui_driver", "label_printui_port" (preferences and properties),
// "label_printui_message" (test page), "btn_printui_ok", "btn_printui_cancel" (not on the
// test page's window). The window class is "SimulatedPrintUi".
//
// Threads: shows nothing unless called on the UI thread with a window of the toolkit as
// owner (the installation worker's test page, tests and the console program pass none).
#pragma once

#include "base/WindowHandle.h"
#include "simulated/PrintUiView.h"

// True when a window was shown (and has been closed again).
bool ShowPrintUiWindow(ui::WindowHandle owner, const PrintUiView& view);
