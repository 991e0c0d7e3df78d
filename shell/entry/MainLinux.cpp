#include <cstdio>

#include "shell/Languages.h"
#include "shell/StartUp.h"
#include "shell/WideText.h"
#include "simulated/SimulatedMachine.h"
#include "ui/ResourceManager.h"
#include "wizard/WizardContext.h"

// Command-line arguments are ignored, as in the product.
int main() {
  // The Windows machine this build runs on; one whose state cannot be read is not
  // touched, so nothing it holds is lost.
  auto machine = SimulatedMachine::Open(SimulatedMachine::DefaultFolder());
  if (!machine.machine) {
    std::fprintf(stderr, "quorvel-setup: %s\n", machine.error.c_str());
    return 1;
  }
  SimulatedMachine::Install(machine.machine);

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
