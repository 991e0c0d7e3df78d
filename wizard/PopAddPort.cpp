#include "wizard/PopAddPort.h"

#include "base/WideText.h"
#include "engine/spooler/SpoolerOperations.h"
#include "ui/controls/List.h"
#include "ui/controls/ListRow.h"

CPopAddPort::CPopAddPort() : monitorNames_{L"WSD Port", L"Standard TCP/IP Port", L"Local Port", L"Appmon"} {
  OnNotify(L"selectchanged", [](ui::TNotifyUI&) {});
  OnNotify(L"itemselect", [](ui::TNotifyUI&) {});
}

void CPopAddPort::InitWindow() {
  auto* list = FindControl<ui::List>(L"listex_addport_type");
  if (list == nullptr) return;
  list->SetRowBinder([](ui::ListRow& row, int) {
    if (!row.GetName().empty()) return;  // a control is styled once
    row.SetFixedHeight(30);
    row.SetAttribute(L"style", L"listex_item_style");
    row.SetName(L"listex_addport_type_item");
  });
  for (size_t i = 0; i < monitorNames_.size(); ++i) list->AddItem({{std::to_wstring(i + 1), monitorNames_[i]}});
}

void CPopAddPort::Notify(ui::TNotifyUI& msg) {
  if (EqualsNoCase(msg.SenderName(), L"listex_addport_type_item") && EqualsNoCase(msg.type, L"itemclick")) {
    if (auto* row = dynamic_cast<ui::ListRow*>(msg.sender)) chosenMonitor_ = row->GetColumnText(1);
  }
  WindowImplBase::Notify(msg);
}

void CPopAddPort::OnClick(ui::TNotifyUI& msg) {
  const std::wstring name = msg.SenderName();
  if (EqualsNoCase(name, L"closebtn") || EqualsNoCase(name, L"btn_port_cancel")) {
    Close(0);
  } else if (EqualsNoCase(name, L"btn_port_add")) {
    // The monitor's dialog tells the user what went wrong; this one shows no outcome.
    std::wstring errorText;
    AddPortThroughMonitor(chosenMonitor_, GetHWND(), errorText);
  }
}
