#include "appearance/PopAbout.h"

#include "base/Version.h"

#include "ui/controls/Button.h"
#include "ui/controls/Label.h"
#include "ui/core/Host.h"
#include "ui/core/SystemConstants.h"

CPopAbout::CPopAbout() {
  OnNotify(L"selectchanged", [](ui::TNotifyUI&) {});
  OnNotify(L"itemselect", [](ui::TNotifyUI&) {});
}

void CPopAbout::InitWindow() {
  closeButton_ = FindControl<ui::Button>(L"closebtn");
  if (auto* version = FindControl<ui::Label>(L"app_version")) version->SetText(kVersionText);
  if (auto* time = FindControl<ui::Label>(L"app_time")) time->SetText(L"Revised Date:          2024-10-22 08:44:53");
}

void CPopAbout::OnClick(ui::TNotifyUI& msg) {
  if (closeButton_ && msg.sender == closeButton_) Close(0);
}

intptr_t CPopAbout::OnSysCommand(uintptr_t wParam, intptr_t lParam, bool& handled) {
  // Alt+F4 on the About box ends the program.
  if ((wParam & 0xFFF0) == ui::kScClose) {
    ui::CurrentHost().PostQuit(0);
    handled = true;
    return 0;
  }
  return ui::WindowImplBase::OnSysCommand(wParam, lParam, handled);
}
