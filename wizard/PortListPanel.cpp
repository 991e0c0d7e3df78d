// Panel 5, "tab_panel_install_portList": the spooler's ports of the chosen kind, with the
// buttons that add, delete and configure a port.
#include <memory>
#include <optional>

#include "base/WideText.h"
#include "engine/spooler/SpoolerOperations.h"
#include "shell/MessageBoxes.h"
#include "ui/controls/List.h"
#include "ui/core/ResourceManager.h"
#include "ui/core/SystemConstants.h"
#include "wizard/FailureLine.h"
#include "wizard/InstallControls.h"
#include "wizard/InstallPanels.h"
#include "wizard/PopAddPort.h"
#include "wizard/WizardContext.h"

namespace {

// The port that is proposed when none is chosen yet.
const wchar_t* ProposedPortOf(int portKind) {
  return portKind == PortKind::Lpt ? L"LPT1:" : L"COM1:";
}

// The port of the list's chosen row; without one the user is asked to choose one, and
// nothing is asked of the spooler. (The request may hold another kind's port, which the
// list does not show.)
std::optional<std::wstring> ChosenPort() {
  auto* list = FindInstallControl<ui::List>(L"listex_install_driver_port");
  const int chosen = list != nullptr ? list->GetCurSel() : -1;
  const ui::ListItem* item = chosen >= 0 ? list->GetItem(chosen) : nullptr;
  if (item == nullptr || item->userData.empty()) {
    ShowNotice(ui::GetText(L"tab.install.title.portlist.specifyport"));
    return std::nullopt;
  }
  return item->userData;
}

}  // namespace

void EnterPortListPanel() {
  auto& context = WizardContext::Instance();
  context.SetNextButton(false, L"", true);
  auto* list = FindInstallControl<ui::List>(L"listex_install_driver_port");
  if (list == nullptr) return;
  PrepareInstallList(*list, L"listex_install_driver_port_group", L"listex_install_port_item");
  std::vector<SpoolerEntry> ports;
  const SystemOutcome listed = ListPorts(ports);
  ShowFailureLine(FindInstallControl(L"label_install_port_failed"), L"list.ports.unreadable", listed.Error());
  auto& request = context.request;
  const wchar_t* const namePart = PortNamePartOf(request.portKind);
  // An empty choice takes the kind's usual port, but only when that port is there.
  const std::wstring wanted = request.portName.empty() ? ProposedPortOf(request.portKind) : request.portName;
  for (auto& port : ports) {
    // SpoolerEntry of a port: name, description, monitor.
    const std::wstring& name = port.printerName;
    if (name.find(namePart) == std::wstring::npos) continue;
    const int index = list->AddItem({{L"", name, port.infPath, port.driverName}, name});
    if (name == wanted) {
      request.portName = name;
      list->SelectRow(index);
      context.SetNextButton(true, L"", true);
    }
  }
}

void AddPortThroughDialog() {
  auto& context = WizardContext::Instance();
  auto* dialog = new CPopAddPort();  // deletes itself when its window is gone
  if (dialog->Create(context.mainWindow, L"", ui::kWsPopup | ui::kWsVisible, ui::kWsExToolWindow,
                     ui::Rect{0, 0, 440, 340})) {
    dialog->CenterWindow();
    dialog->ShowModal();
  }
  EnterPortListPanel();
}

void DeleteChosenPort() {
  auto& context = WizardContext::Instance();
  auto& request = context.request;
  const auto port = ChosenPort();
  if (!port) return;
  if (!AskQuestion(FormatText(ui::GetText(L"tip.isdeleteport"), *port))) return;
  std::wstring errorText;
  if (DeletePortByName(*port, context.mainWindow, errorText)) {
    request.portName.clear();
    EnterPortListPanel();
  } else {
    ShowNotice(FormatText(ui::GetText(L"tip.deletefailreason"), errorText));
  }
}

void ConfigureChosenPort() {
  const auto port = ChosenPort();
  if (port) ConfigurePortByName(*port, WizardContext::Instance().mainWindow);
}
