// The language chooser: one radio option per language, in ascending language id; a click
// switches the whole program's language at once and the chooser stays open.
#pragma once

#include <string>

#include "ui/window/WindowImplBase.h"

class CPopLanguage : public ui::WindowImplBase {
 public:
  CPopLanguage();

 protected:
  std::wstring GetWindowClassName() const override { return L"PopAbout"; }
  std::wstring GetSkinFile() override { return L"pop_language.xml"; }
  void InitWindow() override;
  void OnClick(ui::TNotifyUI& msg) override;
  intptr_t OnSysCommand(uintptr_t wParam, intptr_t lParam, bool& handled) override;
  void OnFinalMessage() override { delete this; }

 private:
  void SwitchTo(uint16_t languageId);
};
