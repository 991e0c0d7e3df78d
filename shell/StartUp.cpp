#include "shell/StartUp.h"

#include "shell/EmbeddedPackage.h"
#include "shell/Languages.h"
#include "shell/MainWnd.h"
#include "ui/Host.h"
#include "ui/SystemConstants.h"
#include "ui/ResourceManager.h"
#include "wizard/WizardContext.h"

void OpenResourcePackage(const std::wstring& executableDirectory) {
  auto& resources = ui::ResourceManager::Instance();
  resources.SetResourcePath(executableDirectory + L"skin\\Skelvane\\");
  if (auto package = OpenEmbeddedPackage()) {
    resources.SetPackage(std::move(package));
    resources.LoadResourceIndex("res.xml");
  }
}

void FillContextLanguageTable() { FillLanguageTable(WizardContext::Instance().languageTable); }

void TerminateToolkit() { ui::ResourceManager::Instance().Terminate(); }

int RunMainWindow() {
  auto* window = new CMainWnd();
  if (!window->Create(nullptr, L"printer driver", ui::kWsOverlappedWindow | ui::kWsVisible, 0,
                      ui::Rect{0, 0, 560, 400})) {
    delete window;
    TerminateToolkit();
    return 1;
  }
  window->CenterWindow();
  ui::CurrentHost().RunMessageLoop();
  delete window;
  TerminateToolkit();
  return 0;
}
