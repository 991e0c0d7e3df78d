#include "shell/app/MainPage.h"

CMainPage::CMainPage() {
  OnNotify(L"click", [](ui::TNotifyUI&) {});
  OnNotify(L"selectchanged", [](ui::TNotifyUI&) {});
  OnNotify(L"itemclick", [](ui::TNotifyUI&) {});
}
