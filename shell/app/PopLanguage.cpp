#include "shell/app/PopLanguage.h"

#include <string>

#include "base/WideText.h"
#include "base/WindowMessage.h"
#include "shell/LanguageTexts.h"
#include "shell/Languages.h"
#include "shell/MainWindowMessages.h"
#include "ui/controls/Option.h"
#include "ui/core/Container.h"
#include "ui/core/Host.h"
#include "ui/core/ResourceManager.h"
#include "ui/core/SystemConstants.h"
#include "ui/core/WindowTree.h"
#include "wizard/WizardContext.h"

CPopLanguage::CPopLanguage() {
  OnNotify(L"selectchanged", [](ui::TNotifyUI&) {});
  OnNotify(L"itemselect", [](ui::TNotifyUI&) {});
}

void CPopLanguage::InitWindow() {
  auto* list = FindControl<ui::Container>(L"verLanList");
  if (!list) return;
  const LanguageTable rows = WizardContext::Instance().languageTable;
  const uint16_t current = WizardContext::Instance().currentLanguageId;
  for (const auto& [languageId, row] : rows) {
    auto* option = list->Add(std::make_unique<ui::Option>());
    option->SetResourceText(true);
    option->SetText(row.displayKey);
    option->SetUserData(std::to_wstring(languageId));
    option->SetAttribute(L"name", L"radiolan");
    option->ApplyStyle(L"radio_style");
    option->SetAttribute(L"autocalcwidth", L"true");
    option->SetAttribute(L"minWidth", L"180");
    option->SetAttribute(L"align", L"left");
    option->SetAttribute(L"group", L"lanGroup");
    option->SetAttribute(L"textpadding", L"20,0,6,0");
    if (languageId == current) option->SetAttribute(L"selected", L"true");
  }
}

void CPopLanguage::OnClick(ui::TNotifyUI& msg) {
  const std::wstring name = ToLowerUnits(msg.SenderName());
  if (name == L"closebtn") {
    Close(0);
    return;
  }
  if (name != L"radiolan") return;
  // The user data is the decimal language id this option was built with.
  const std::wstring data = msg.SenderUserData();
  wchar_t* end = nullptr;
  const long value = std::wcstol(data.c_str(), &end, 10);
  SwitchTo(static_cast<uint16_t>(value & 0xFFFF));
}

void CPopLanguage::SwitchTo(uint16_t languageId) {
  auto& resources = ui::ResourceManager::Instance();
  const LanguageEntry row = LanguageById(languageId);
  WizardContext::Instance().currentLanguageId = languageId;
  resources.SetLanguageName(row.code);
  LoadLanguageTexts(row);
  resources.ReloadTexts();
  Tree().TextsReloaded();
  ui::SendWindowMessage(GetOwner(), kMsgLanguageChanged, 0, 0);
  SetMessageLanguageId(row.languageId);
}

intptr_t CPopLanguage::OnSysCommand(uintptr_t wParam, intptr_t lParam, bool& handled) {
  // Alt+F4 on the chooser ends the program, not only the chooser.
  if ((wParam & 0xFFF0) == ui::kScClose) {
    ui::CurrentHost().PostQuit(0);
    handled = true;
    return 0;
  }
  return ui::WindowImplBase::OnSysCommand(wParam, lParam, handled);
}
