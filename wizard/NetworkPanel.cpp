// Panel 6, "tab_panel_install_portLan": the printer's address and the name of the
// Standard TCP/IP port that the installation will create for it.
#include "engine/FreeNames.h"
#include "engine/NetworkAddress.h"
#include "engine/spooler/SpoolerNamesInUse.h"
#include "ui/controls/Edit.h"
#include "ui/controls/Label.h"
#include "wizard/InstallControls.h"
#include "wizard/InstallPanels.h"
#include "wizard/WizardContext.h"

namespace {

constexpr const wchar_t* kProposedAddress = L"192.168.1.100";
// Fixed texts, the same in every language.
constexpr const wchar_t* kAddressInvalid = L"IP地址无效";
constexpr const wchar_t* kPortExists = L"端口已存在，请重新输入";

void SetEditText(const wchar_t* name, const std::wstring& text) {
  if (auto* edit = FindInstallControl<ui::Edit>(name)) edit->SetText(text);
}

std::wstring EditText(const wchar_t* name) {
  auto* edit = FindInstallControl<ui::Edit>(name);
  return edit ? edit->GetText() : std::wstring();
}

// Fails with the label's text and the focus in the edit that is wrong.
bool Refuse(const wchar_t* text, const wchar_t* editName) {
  if (auto* info = FindInstallControl<ui::Label>(L"label_show_lanPort_info")) info->SetText(text);
  if (auto* edit = FindInstallControl(editName)) edit->SetFocus();
  return false;
}

}  // namespace

void EnterNetworkPanel() {
  auto& request = WizardContext::Instance().request;
  if (request.ipAddress.empty()) {
    request.ipAddress = kProposedAddress;
    request.portName = ProposeNetworkPortName(kProposedAddress, PortNameInUse);
  }
  SetEditText(L"edit_install_lan_ip", request.ipAddress);
  SetEditText(L"edit_install_lan_portName", request.portName);
}

bool CheckNetworkChoice() {
  if (!IsValidIpv4Address(EditText(L"edit_install_lan_ip"))) return Refuse(kAddressInvalid, L"edit_install_lan_ip");
  // The spooler refuses a port whose name differs from an existing one only in case.
  if (PortNameInUse(EditText(L"edit_install_lan_portName"))) return Refuse(kPortExists, L"edit_install_lan_portName");
  if (auto* info = FindInstallControl<ui::Label>(L"label_show_lanPort_info")) info->SetText(L"");
  return true;
}
