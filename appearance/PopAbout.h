// The About box: the version and the revision date, the same in every language.
#pragma once

#include <string>

#include "ui/window/WindowImplBase.h"

namespace ui {
class Button;
}

class CPopAbout : public ui::WindowImplBase {
 public:
  CPopAbout();

 protected:
  std::wstring GetWindowClassName() const override { return L"PopAbout"; }
  std::wstring GetSkinFile() override { return L"pop_about.xml"; }
  void InitWindow() override;
  void OnClick(ui::TNotifyUI& msg) override;
  intptr_t OnSysCommand(uintptr_t wParam, intptr_t lParam, bool& handled) override;
  intptr_t HandleCustomMessage(uint32_t, uintptr_t, intptr_t, bool&) override { return 0; }
  void OnFinalMessage() override { delete this; }

 private:
  ui::Button* closeButton_ = nullptr;
};
