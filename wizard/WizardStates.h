// The navigation state of the two wizards: which wizard the index page leads to, which
// page of "tab_switch" is shown and which wizard Next and Back move in. The values are
// those of the numbers they replace (mode 1 install, page 0 index ...).
#pragma once

enum class WizardMode : int { Remove = 0, Install = 1 };

// The pages of "tab_switch", by index.
enum class ShownPage : int { Index = 0, InstallWizard = 1, RemovalWizard = 2 };

enum class ActiveWizard : int { None = 0, Install = 1, Removal = 2 };
