#include <cstdio>

#include "shell/Languages.h"
#include "shell/StartUp.h"
#include "shell/WideText.h"
#include "ui/ResourceManager.h"
#include "wizard/WizardContext.h"

// Command-line arguments are ignored, as in the product.
int main() {
  OpenResourcePackage(ExecutableDirectory());
  FillContextLanguageTable();

  auto& resources = ui::ResourceManager::Instance();
  const LanguageEntry language = ChooseStartLanguage();
  resources.LoadLanguage(language.fileName);
  SetMessageLanguageId(language.languageId);
  std::fprintf(stderr, "quorvel-setup: package %s, main layout \"%s\", language %u (%s): %s  V1.0.01\n",
               resources.Package() ? "open" : "missing", WideToUtf8(resources.LayoutFileOf(L"XML_MAIN")).c_str(),
               language.languageId, WideToUtf8(language.fileName).c_str(), WideToUtf8(resources.GetText(L"mainTitle")).c_str());

  TerminateToolkit();
  return 0;
}
