// The numbered messages of the main window. They lie below WM_USER and are private to
// that window; every one is sent synchronously and answered with 0.
#pragma once

#include <cstdint>

enum MainWindowMessage : uint32_t {
  kMsgLanguageChanged = 750,   // re-apply font, layout and title
  kMsgRemoveLog = 751,         // lParam UiTextMessage*: line for "wordedit_deleteInfo_start"
  kMsgInstallLog = 752,        // lParam UiTextMessage*: line for "wordedit_installInfo"
  kMsgRemoveAnimation = 753,   // wParam 1 runs "ani_gif_delete"
  kMsgInstallAnimation = 754,  // wParam 1 runs "ani_gif_install"
  kMsgFinishBar = 756,         // wParam 1 shows "hor_btn_h1"
  kMsgWizardBar = 757,         // wParam 1 shows "hor_btn_h2"
  kMsgFinishActions = 758,     // wParam 1 shows preferences, properties and test page
  kMsgPrinterNameInfo = 759,   // lParam UiTextMessage*: red when flag1, else green
  kMsgNextButton = 760,        // wParam visible, lParam UiTextMessage*: enabled = flag3
  kMsgPreviousButton = 761,    // wParam visible
  kMsgRunEnded = 762,          // wParam 1: with the finish actions; lParam: the run's page
  kMsgWizardNext = 768,        // the wizard's next step
  kMsgWizardBack = 769,        // the wizard's previous step
  kMsgBluetoothBar = 770,      // wParam visible, lParam UiTextMessage* or 0
};

// The range the window asks its host to deliver (ui::WindowCreateParams).
constexpr uint32_t kFirstMainWindowMessage = kMsgLanguageChanged;
constexpr uint32_t kLastMainWindowMessage = kMsgBluetoothBar;
// Below WM_USER the system owns the numbers; only the window's own range is taken from it.
static_assert(kFirstMainWindowMessage <= kLastMainWindowMessage && kLastMainWindowMessage < 0x0400);
