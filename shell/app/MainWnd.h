// The program's only top-level window: it hosts the wizard, owns the caption buttons, and
// is the one place where the user interface changes on behalf of other code. Workers
// and the wizard send it the numbered messages of shell/MainWindowMessages.h.
//
// Threads: UI thread only; other threads reach it through ui::SendWindowMessage.
#pragma once

#include <string>

#include "shell/UiTextMessage.h"
#include "shell/app/MainPage.h"
#include "ui/window/WindowImplBase.h"

namespace ui {
class AnimatedImage;
class Button;
class Control;
class Label;
class Option;
class RichEdit;
class TabLayout;
}  // namespace ui

class CMainWnd : public ui::WindowImplBase {
 public:
  CMainWnd();
  ~CMainWnd() override;

  // Caption and "title_lb": the title of the language, two blanks and the version.
  void ApplyTitle();
  // The language's default font size; "title_lb" uses font 3 at size 14, else font 22.
  void ApplyLanguageFont();
  // One time-stamped line, red for errors and blue otherwise, or an emptied pane.
  static void AppendLogLine(ui::RichEdit* pane, const UiTextMessage& message);

  void Notify(ui::TNotifyUI& msg) override;

 protected:
  std::wstring GetWindowClassName() const override { return L"MainWnd"; }
  std::wstring GetSkinFile() override { return L"XML_MAIN"; }
  void InitWindow() override;
  void OnClick(ui::TNotifyUI& msg) override;
  intptr_t HandleCustomMessage(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled) override;
  intptr_t OnDestroy(uintptr_t wParam, intptr_t lParam, bool& handled) override;
  bool PrepareCreate(ui::WindowCreateParams& params) override;

 private:
  intptr_t HandleNumberedMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
  void OpenAbout();
  void OpenLanguageChooser();

  ui::Label* titleLabel_ = nullptr;
  ui::Button* closeButton_ = nullptr;
  ui::Button* aboutButton_ = nullptr;
  ui::Button* languageButton_ = nullptr;
  ui::Button* minimizeButton_ = nullptr;
  ui::TabLayout* tabSwitch_ = nullptr;
  ui::RichEdit* installLog_ = nullptr;
  ui::RichEdit* removalLog_ = nullptr;
  ui::AnimatedImage* installAnimation_ = nullptr;
  ui::AnimatedImage* removalAnimation_ = nullptr;
  ui::Control* finishBar_ = nullptr;
  ui::Control* wizardBar_ = nullptr;
  ui::Button* preferencesButton_ = nullptr;
  ui::Button* propertiesButton_ = nullptr;
  ui::Button* testPageButton_ = nullptr;
  ui::Label* printerNameInfo_ = nullptr;
  ui::Button* previousButton_ = nullptr;
  ui::Button* nextButton_ = nullptr;
  ui::Control* bluetoothRow_ = nullptr;
  ui::Label* bluetoothInfo_ = nullptr;
  CMainPage page_;
};
