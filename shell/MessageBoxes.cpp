#include "shell/MessageBoxes.h"

#include "ui/core/Host.h"
#include "ui/core/ResourceManager.h"
#include "base/WindowMessage.h"
#include "shell/MainWindowHandle.h"

namespace {

int Show(const std::wstring& text, unsigned flags) {
  const ui::WindowHandle owner = ProcessMainWindow();
  const std::wstring caption = ui::GetText(L"tip.dlgtitle");
  auto show = [&]() -> intptr_t { return ui::CurrentHost().ShowMessageBox(owner, text, caption, flags); };
  // Without a main window there is nothing to own the box; it is shown on its own.
  return static_cast<int>(owner ? ui::RunOnWindowThread(owner, show) : show());
}

}  // namespace

void ShowNotice(const std::wstring& text) { Show(text, kMessageBoxNotice); }

bool AskQuestion(const std::wstring& text) { return Show(text, kMessageBoxQuestion) == kMessageBoxOk; }
