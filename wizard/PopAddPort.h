// The add-port dialog of the port list: the user picks a port monitor, and "btn_port_add"
// hands over to that monitor's own dialog, which asks for the port. It stays open until
// closed, so several ports can be added in a row.
//
// Threads: UI thread only.
#pragma once

#include <string>
#include <vector>

#include "ui/window/WindowImplBase.h"

class CPopAddPort : public ui::WindowImplBase {
 public:
  CPopAddPort();

  const std::vector<std::wstring>& MonitorNames() const { return monitorNames_; }
  const std::wstring& ChosenMonitor() const { return chosenMonitor_; }

  void Notify(ui::TNotifyUI& msg) override;

 protected:
  std::wstring GetWindowClassName() const override { return L"PopAddPort"; }
  std::wstring GetSkinFile() override { return L"pop_add_port.xml"; }
  void InitWindow() override;
  void OnClick(ui::TNotifyUI& msg) override;
  intptr_t HandleCustomMessage(uint32_t, uintptr_t, intptr_t, bool&) override { return 0; }
  void OnFinalMessage() override { delete this; }

 private:
  std::vector<std::wstring> monitorNames_;
  std::wstring chosenMonitor_;
};
