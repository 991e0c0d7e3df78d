#include "shell/app/StartUp.h"

#include "shell/EmbeddedPackage.h"
#include "shell/Languages.h"
#include "shell/app/MainWnd.h"
#include "ui/core/Host.h"
#include "ui/core/ResourceManager.h"
#include "ui/core/SystemConstants.h"
#include "wizard/WizardContext.h"

void OpenResourcePackage(const std::wstring& executableDirectory) {
  auto& resources = ui::ResourceManager::Instance();
  resources.SetResourcePath(executableDirectory + L"skin\\Skelvane\\");
  if (auto package = OpenEmbeddedPackage()) {
    resources.SetPackage(std::move(package));
    resources.LoadResourceIndex("res.xml");
  }
}

void FillContextLanguageTable() {
  FillLanguageTable(WizardContext::Instance().languageTable);
}

void TerminateToolkit() {
  ui::ResourceManager::Instance().Terminate();
}

std::unique_ptr<CMainWnd> StartMainWindow() {
  OpenResourcePackage(ExecutableDirectory());
  FillContextLanguageTable();
  auto window = std::make_unique<CMainWnd>();
  if (!window->Create(nullptr, L"printer driver", ui::kWsOverlappedWindow | ui::kWsVisible, 0,
                      ui::Rect{0, 0, 560, 400})) {
    return nullptr;
  }
  window->CenterWindow();
  return window;
}

int RunMainWindow() {
  auto window = StartMainWindow();
  if (window) ui::CurrentHost().RunMessageLoop();
  const int code = window ? 0 : 1;
  window.reset();
  TerminateToolkit();
  return code;
}
