// Placeholder until the removal page exists.
#include "wizard/RemovalPage.h"

#include "wizard/WizardContext.h"

void EnterRemovalPanel(int /*panel*/) { WizardContext::Instance().SetNextButton(true, L"main.btn.next", true); }

bool OnRemovalClick(ui::Control* /*sender*/) { return false; }

bool OnRemovalNotify(ui::TNotifyUI& /*msg*/) { return false; }
