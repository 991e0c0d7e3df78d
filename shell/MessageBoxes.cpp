#include "shell/MessageBoxes.h"

#include "base/TextTable.h"
#include "base/WindowMessage.h"
#include "shell/MainWindowHandle.h"
#include "ui/core/Host.h"

namespace {

MessageBoxAnswerer& Answerer() {
  static MessageBoxAnswerer answerer;
  return answerer;
}

int Show(ui::WindowHandle owner, const std::wstring& text, unsigned flags) {
  if (const MessageBoxAnswerer& answerer = Answerer()) return answerer(text, flags);
  const std::wstring caption = GetText(L"tip.dlgtitle");
  auto show = [&]() -> intptr_t { return ui::CurrentHost().ShowMessageBox(owner, text, caption, flags); };
  // Without a main window there is nothing to own the box; it is shown on its own.
  return static_cast<int>(owner ? ui::RunOnWindowThread(owner, show) : show());
}

}  // namespace

void ShowNotice(const std::wstring& text) {
  Show(ProcessMainWindow(), text, kMessageBoxNotice);
}

void ShowNotice(ui::WindowHandle owner, const std::wstring& text) {
  Show(owner, text, kMessageBoxNotice);
}

bool AskQuestion(const std::wstring& text) {
  return Show(ProcessMainWindow(), text, kMessageBoxQuestion) == kMessageBoxOk;
}

void SetMessageBoxAnswerer(MessageBoxAnswerer answerer) {
  Answerer() = std::move(answerer);
}
