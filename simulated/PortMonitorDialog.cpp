#include "simulated/PortMonitorDialog.h"

#include "base/WideText.h"
#include "simulated/SystemDialog.h"
#include "ui/controls/Edit.h"
#include "ui/controls/Label.h"

namespace {

constexpr int kOk = 1;

// A system dialog: its texts are the system's, not the program's language files.
std::wstring LayoutOf(PortMonitorDialogKind kind) {
  const bool tcp = kind == PortMonitorDialogKind::AddTcpIpPort || kind == PortMonitorDialogKind::ConfigureTcpIpPort;
  const bool configure =
      kind == PortMonitorDialogKind::ConfigureLocalPort || kind == PortMonitorDialogKind::ConfigureTcpIpPort;
  std::wstring layout =
      L"<Window size='380,220' bkcolor='fff0f0f0'><VerticalLayout inset='16,12,16,12' childpadding='6'>"
      L"<Label name='label_monitor_title' height='24' font='-1'/>";
  if (tcp) {
    layout +=
        L"<Label text='Printer name or IP address:' height='20'/>"
        L"<Edit name='edit_monitor_host' height='26' bordercolor='ff7a7a7a' bordersize='1' maxchar='63'/>";
  }
  layout +=
      L"<Label text='Port name:' height='20'/><Edit name='edit_monitor_port' height='26' bordercolor='ff7a7a7a' "
      L"bordersize='1' maxchar='63'";
  if (configure) layout += L" readonly='true'";
  layout +=
      L"/><Control/><HorizontalLayout height='28' childpadding='8'><Control/>"
      L"<Button name='btn_monitor_ok' text='OK' width='80' bordercolor='ff1e6fd9' bordersize='1'/>"
      L"<Button name='btn_monitor_cancel' text='Cancel' width='80' bordercolor='ff7a7a7a' bordersize='1'/>"
      L"</HorizontalLayout></VerticalLayout></Window>";
  return layout;
}

const wchar_t* TitleOf(PortMonitorDialogKind kind) {
  switch (kind) {
    case PortMonitorDialogKind::AddLocalPort:
      return L"Local Port - Add Port";
    case PortMonitorDialogKind::AddTcpIpPort:
      return L"Standard TCP/IP Port - Add Port";
    case PortMonitorDialogKind::ConfigureLocalPort:
      return L"Local Port - Configure Port";
    case PortMonitorDialogKind::ConfigureTcpIpPort:
      return L"Standard TCP/IP Port - Configure Port";
  }
  return L"";
}

class PortMonitorWindow : public SystemDialog {
 public:
  PortMonitorWindow(PortMonitorDialogKind kind, std::wstring portName, std::wstring hostAddress)
      : kind_(kind), portName_(std::move(portName)), hostAddress_(std::move(hostAddress)) {
    OnNotify(L"selectchanged", [](ui::TNotifyUI&) {});
    OnNotify(L"itemselect", [](ui::TNotifyUI&) {});
  }

  PortDialogAnswer answer;

 protected:
  std::wstring GetWindowClassName() const override { return L"SimulatedPortMonitor"; }
  std::wstring GetSkinFile() override { return LayoutOf(kind_); }
  void InitWindow() override {
    SetTitle(TitleOf(kind_));
    if (auto* title = FindControl<ui::Label>(L"label_monitor_title")) title->SetText(TitleOf(kind_));
    if (auto* port = FindControl<ui::Edit>(L"edit_monitor_port")) port->SetText(portName_);
    if (auto* host = FindControl<ui::Edit>(L"edit_monitor_host")) {
      host->SetText(hostAddress_);
      host->SetFocus();
    } else if (auto* port = FindControl<ui::Edit>(L"edit_monitor_port")) {
      port->SetFocus();
    }
    Tree().SetDefaultButton(FindControl(L"btn_monitor_ok"));
  }
  void OnClick(ui::TNotifyUI& msg) override {
    const std::wstring name = msg.SenderName();
    if (EqualsNoCase(name, L"btn_monitor_ok")) {
      answer.confirmed = true;
      if (auto* port = FindControl(L"edit_monitor_port")) answer.portName = port->GetText();
      if (auto* host = FindControl(L"edit_monitor_host")) answer.hostAddress = host->GetText();
      Close(kOk);
    } else if (EqualsNoCase(name, L"btn_monitor_cancel") || EqualsNoCase(name, L"closebtn")) {
      Close(0);
    }
  }

 private:
  PortMonitorDialogKind kind_;
  std::wstring portName_;
  std::wstring hostAddress_;
};

}  // namespace

std::optional<PortDialogAnswer> RunPortMonitorDialog(ui::WindowHandle owner, PortMonitorDialogKind kind,
                                                     const std::wstring& portName, const std::wstring& hostAddress) {
  PortMonitorWindow window(kind, portName, hostAddress);
  if (!window.RunModal(owner, TitleOf(kind), 380, 220)) return std::nullopt;
  return window.answer;
}
