#include "shell/StartUp.h"

#include "shell/EmbeddedPackage.h"
#include "shell/Languages.h"
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
