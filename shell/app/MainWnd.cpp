#include "shell/app/MainWnd.h"

#include <algorithm>

#include "appearance/PopAbout.h"
#include "base/Version.h"
#include "base/WideText.h"
#include "shell/LanguageTexts.h"
#include "shell/Languages.h"
#include "shell/LocalTime.h"
#include "shell/MainWindowMessages.h"
#include "shell/app/PopLanguage.h"
#include "ui/controls/AnimatedImage.h"
#include "ui/controls/Button.h"
#include "ui/controls/Label.h"
#include "ui/controls/Option.h"
#include "ui/controls/RichEdit.h"
#include "ui/controls/TabLayout.h"
#include "ui/core/Host.h"
#include "ui/core/ResourceManager.h"
#include "ui/core/SystemConstants.h"
#include "ui/core/WindowTree.h"
#include "wizard/WizardContext.h"

namespace {

constexpr const wchar_t* kVersion = kVersionText;
constexpr ui::Argb kLogRed = 0xFFFF0000;
constexpr ui::Argb kLogBlue = 0xFF0000FF;
constexpr int kLogLineTwips = 225;  // 11.25 points

const UiTextMessage* Payload(intptr_t lParam) {
  return reinterpret_cast<const UiTextMessage*>(lParam);
}

void SetShown(ui::Control* control, bool shown) {
  if (control) control->SetVisible(shown);
}

void RunAnimation(ui::AnimatedImage* animation, bool run) {
  if (!animation) return;
  animation->SetVisible(run);
  if (run) {
    animation->Play();
  } else {
    animation->Stop();
  }
}

}  // namespace

CMainWnd::CMainWnd() {
  // Clicks are handled in Notify before the pump; the window's own map leaves them be.
  OnNotify(L"click", [](ui::TNotifyUI&) {});
}

CMainWnd::~CMainWnd() {
  RemoveVirtualWnd(L"mainpage");
  ui::ResourceManager::Instance().SetTextQueryCallback(nullptr);
}

void CMainWnd::InitWindow() {
  auto& context = WizardContext::Instance();
  auto& resources = ui::ResourceManager::Instance();
  resources.SetTextQueryCallback(this);

  const LanguageEntry language = ChooseStartLanguage();
  LoadLanguageTexts(language);
  SetMessageLanguageId(language.languageId);

  titleLabel_ = FindControl<ui::Label>(L"title_lb");
  closeButton_ = FindControl<ui::Button>(L"closebtn");
  aboutButton_ = FindControl<ui::Button>(L"btnAbout");
  languageButton_ = FindControl<ui::Button>(L"btnLan");
  minimizeButton_ = FindControl<ui::Button>(L"minbtn");
  tabSwitch_ = FindControl<ui::TabLayout>(L"tab_switch");
  installLog_ = FindControl<ui::RichEdit>(L"wordedit_installInfo");
  removalLog_ = FindControl<ui::RichEdit>(L"wordedit_deleteInfo_start");
  installAnimation_ = FindControl<ui::AnimatedImage>(L"ani_gif_install");
  removalAnimation_ = FindControl<ui::AnimatedImage>(L"ani_gif_delete");
  finishBar_ = FindControl(L"hor_btn_h1");
  wizardBar_ = FindControl(L"hor_btn_h2");
  preferencesButton_ = FindControl<ui::Button>(L"btn_setup_preferences");
  propertiesButton_ = FindControl<ui::Button>(L"btn_setup_properties");
  testPageButton_ = FindControl<ui::Button>(L"btn_setup_testpage");
  printerNameInfo_ = FindControl<ui::Label>(L"label_show_printername_info");
  previousButton_ = FindControl<ui::Button>(L"btn_setup_previous");
  nextButton_ = FindControl<ui::Button>(L"btn_setup_next");
  // Enter goes on to the next step wherever no button has the focus.
  Tree().SetDefaultButton(nextButton_);
  bluetoothRow_ = FindControl(L"hor_bluetooth_adapter");
  bluetoothInfo_ = FindControl<ui::Label>(L"label_bluetooth_adapter_info");
  AddVirtualWnd(L"mainpage", &page_);

  context.mainWindow = GetHWND();
  ApplyTitle();

  context.mainTab = tabSwitch_;
  context.installTab = FindControl<ui::TabLayout>(L"tab_switch_install");
  context.removalTab = FindControl<ui::TabLayout>(L"tab_switch_delete");

  Send(kMsgFinishBar, 0);
  Send(kMsgWizardBar, 1);

  for (const wchar_t* family : {L"Quorvel-A4(203)", L"Quorvel-A4(300)"}) {
    if (std::find(context.familyNames.begin(), context.familyNames.end(), family) == context.familyNames.end()) {
      context.familyNames.emplace_back(family);
    }
  }

  context.mode = WizardMode::Install;
  if (auto* remove = FindControl<ui::Option>(L"option_delete")) remove->SetSelected(false, false);
  context.Home();
  ApplyLanguageFont();
}

void CMainWnd::ApplyTitle() {
  const std::wstring title = ui::GetText(L"mainTitle") + L"  " + kVersion;
  SetTitle(title);
  if (titleLabel_) titleLabel_->SetText(title);
}

void CMainWnd::ApplyLanguageFont() {
  const LanguageEntry language = CurrentLanguage();
  Tree().SetDefaultFont(ui::FontDef{L"宋体", language.fontSize, false, false, false});
  if (titleLabel_) titleLabel_->SetFont(language.fontSize == 14 ? 3 : 22);
}

void CMainWnd::AppendLogLine(ui::RichEdit* pane, const UiTextMessage& message) {
  if (!pane) return;
  if (message.flag2) {
    pane->SetText(L"");
    return;
  }
  const ui::Argb color = message.flag1 ? kLogRed : kLogBlue;
  pane->AppendText(LogTimePrefix(CurrentLocalTime()), color, kLogLineTwips);
  pane->AppendText(message.text, color, kLogLineTwips);
  pane->AppendText(L"\r\n", color, kLogLineTwips);
  pane->ScrollToBottom();
}

void CMainWnd::Notify(ui::TNotifyUI& msg) {
  if (msg.Is(L"click")) {
    if (EqualsNoCase(msg.SenderName(), L"closebtn")) {
      DestroyWindow();
      return;
    }
    if (minimizeButton_ && msg.sender == minimizeButton_) Send(ui::kWmSysCommand, ui::kScMinimize);
    OnClick(msg);
  }
  WizardContext::Instance().OnWizardNotify(msg);
  NotifyPump(msg);
}

void CMainWnd::OnClick(ui::TNotifyUI& msg) {
  auto& context = WizardContext::Instance();
  context.OnWizardClick(msg.sender);
  const std::wstring name = msg.SenderName();
  if (EqualsNoCase(name, L"btnAbout")) {
    OpenAbout();
  } else if (EqualsNoCase(name, L"btnLan")) {
    OpenLanguageChooser();
  } else if (EqualsNoCase(name, L"option_install")) {
    context.mode = WizardMode::Install;
  } else if (EqualsNoCase(name, L"option_delete")) {
    context.mode = WizardMode::Remove;
  } else if (EqualsNoCase(name, L"btn_setup_previous")) {
    context.Back();
  } else if (EqualsNoCase(name, L"btn_setup_next")) {
    context.Next();
  } else if (EqualsNoCase(name, L"btn_setup_index")) {
    context.Home();
  } else if (EqualsNoCase(name, L"btn_setup_cancel")) {
    DestroyWindow();
  }
}

void CMainWnd::OpenAbout() {
  auto* about = new CPopAbout();  // deletes itself when its window is gone
  if (!about->Create(GetHWND(), L"", ui::kWsPopup | ui::kWsVisible, ui::kWsExToolWindow | ui::kWsExTopmost,
                     ui::Rect{0, 0, 800, 572})) {
    return;
  }
  about->CenterWindow();
  about->ShowModal();
}

void CMainWnd::OpenLanguageChooser() {
  auto* chooser = new CPopLanguage();  // deletes itself when its window is gone
  if (!chooser->Create(
          GetHWND(), L"",
          ui::kWsPopup | ui::kWsVisible | ui::kWsClipSiblings | ui::kWsClipChildren | ui::kWsCaption | ui::kWsSysMenu,
          0)) {
    return;
  }
  chooser->CenterWindow();
  chooser->ShowModal();
}

intptr_t CMainWnd::OnDestroy(uintptr_t, intptr_t, bool& handled) {
  // The context outlives the window: it must not keep pointers to controls that go with it.
  auto& context = WizardContext::Instance();
  context.mainTab = nullptr;
  context.installTab = nullptr;
  context.removalTab = nullptr;
  ui::CurrentHost().PostQuit(0);
  handled = true;
  return 0;
}

intptr_t CMainWnd::HandleCustomMessage(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& /*handled*/) {
  if (message >= kFirstMainWindowMessage && message <= kLastMainWindowMessage) {
    // Left unmarked: default processing ignores these numbers and the sender gets 0.
    HandleNumberedMessage(message, wParam, lParam);
    return 0;
  }
  if (message == ui::kWmShowWindow) {
    Tree().NeedLayout();
    Tree().InvalidateAll();
  }
  return 0;
}

intptr_t CMainWnd::HandleNumberedMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  const bool visible = wParam == 1;
  switch (message) {
    case kMsgLanguageChanged:
      ui::ResourceManager::Instance().ReloadTexts();
      ApplyLanguageFont();
      Tree().TextsReloaded();
      ApplyTitle();
      break;
    case kMsgRemoveLog:
      if (lParam) AppendLogLine(removalLog_, *Payload(lParam));
      break;
    case kMsgInstallLog:
      if (lParam) AppendLogLine(installLog_, *Payload(lParam));
      break;
    case kMsgRemoveAnimation:
      RunAnimation(removalAnimation_, visible);
      break;
    case kMsgInstallAnimation:
      RunAnimation(installAnimation_, visible);
      break;
    case kMsgFinishBar:
      SetShown(finishBar_, visible);
      break;
    case kMsgWizardBar:
      SetShown(wizardBar_, visible);
      break;
    case kMsgFinishActions:
      SetShown(preferencesButton_, visible);
      SetShown(propertiesButton_, visible);
      SetShown(testPageButton_, visible);
      break;
    case kMsgPrinterNameInfo:
      if (printerNameInfo_ && lParam) {
        printerNameInfo_->SetAttribute(L"textcolor", Payload(lParam)->flag1 ? L"ffff0000" : L"ff0eed1e");
        printerNameInfo_->SetText(Payload(lParam)->text);
      }
      break;
    case kMsgNextButton:
      if (nextButton_) {
        nextButton_->SetVisible(visible);
        if (lParam) {
          nextButton_->SetEnabled(Payload(lParam)->flag3 != 0);
          if (!Payload(lParam)->text.empty()) nextButton_->SetText(Payload(lParam)->text);
        }
      }
      break;
    case kMsgPreviousButton:
      SetShown(previousButton_, visible);
      break;
    case kMsgRunEnded:
      WizardContext::Instance().EndRun(static_cast<ShownPage>(lParam), visible);
      break;
    case kMsgWizardNext:
      WizardContext::Instance().Next();
      break;
    case kMsgWizardBack:
      WizardContext::Instance().Back();
      break;
    case kMsgBluetoothBar:
      SetShown(bluetoothRow_, visible);
      if (bluetoothInfo_ && lParam) bluetoothInfo_->SetText(Payload(lParam)->text);
      break;
    default:
      break;
  }
  return 0;
}
