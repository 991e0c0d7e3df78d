// Panel 6, "tab_panel_install_portLan": the printer's address and the name of the
// Standard TCP/IP port that the installation will create for it.
#include "engine/FreeNames.h"
#include "engine/NetworkAddress.h"
#include "engine/NewNameRules.h"
#include "engine/spooler/SpoolerNamesInUse.h"
#include "ui/controls/Edit.h"
#include "ui/controls/Label.h"
#include "ui/core/ResourceManager.h"
#include "wizard/InstallControls.h"
#include "wizard/InstallPanels.h"
#include "wizard/WizardContext.h"

namespace {

constexpr const wchar_t* kProposedAddress = L"192.168.1.100";

void SetEditText(const wchar_t* name, const std::wstring& text) {
  if (auto* edit = FindInstallControl<ui::Edit>(name)) edit->SetText(text);
}

std::wstring EditText(const wchar_t* name) {
  auto* edit = FindInstallControl<ui::Edit>(name);
  return edit ? edit->GetText() : std::wstring();
}

void SetCheckLine(const std::wstring& text) {
  if (auto* info = FindInstallControl<ui::Label>(L"label_show_lanPort_info")) info->SetText(text);
}

// Fails with the check line's text and the focus in the edit that is wrong.
bool Refuse(const wchar_t* key, const wchar_t* editName) {
  SetCheckLine(ui::GetText(key));
  if (auto* edit = FindInstallControl(editName)) edit->SetFocus();
  return false;
}

void UseNetworkPortName(std::wstring name) {
  auto& context = WizardContext::Instance();
  context.networkPortName = std::move(name);
  context.request.portName = context.networkPortName;
}

}  // namespace

void EnterNetworkPanel() {
  auto& context = WizardContext::Instance();
  auto& request = context.request;
  SetCheckLine(L"");
  if (request.ipAddress.empty()) {
    request.ipAddress = kProposedAddress;
    context.networkPortNameTyped = false;
    context.networkPortName = ProposeNetworkPortName(kProposedAddress, PortNameInUse);
  }
  // The request's port name may be another kind's choice (a COM port chosen since).
  UseNetworkPortName(context.networkPortName);
  SetEditText(L"edit_install_lan_ip", request.ipAddress);
  SetEditText(L"edit_install_lan_portName", context.networkPortName);
}

void OnNetworkAddressTyped(const std::wstring& address) {
  auto& context = WizardContext::Instance();
  context.request.ipAddress = address;
  if (context.networkPortNameTyped) return;
  UseNetworkPortName(address.empty() ? std::wstring() : ProposeNetworkPortName(address, PortNameInUse));
  SetEditText(L"edit_install_lan_portName", context.networkPortName);
}

void OnNetworkPortNameTyped(const std::wstring& portName) {
  WizardContext::Instance().networkPortNameTyped = true;
  UseNetworkPortName(portName);
}

bool CheckNetworkChoice() {
  if (!IsValidIpv4Address(EditText(L"edit_install_lan_ip"))) return Refuse(L"check.ip.invalid", L"edit_install_lan_ip");
  const std::wstring portName = EditText(L"edit_install_lan_portName");
  if (const wchar_t* fault = NetworkPortNameFault(portName)) return Refuse(fault, L"edit_install_lan_portName");
  // The spooler refuses a port whose name differs from an existing one only in case.
  if (PortNameInUse(portName)) return Refuse(L"check.port.exists", L"edit_install_lan_portName");
  SetCheckLine(L"");
  return true;
}
