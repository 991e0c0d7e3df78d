#include "simulated/PrintUiWindow.h"

#include "base/WideText.h"
#include "simulated/SystemDialog.h"
#include "ui/controls/Label.h"
#include "ui/core/Host.h"

namespace {

constexpr int kWidth = 420;
constexpr int kHeight = 230;

// The system's own texts, not the program's language files. Names come in by SetText,
// never into the layout's markup.
std::wstring LayoutOf(PrintUiWindowKind kind) {
  std::wstring layout =
      L"<Window size='420,230' bkcolor='fff0f0f0'><VerticalLayout inset='16,12,16,12' childpadding='6'>"
      L"<Label name='label_printui_title' height='24' font='-1' endellipsis='true'/>";
  if (kind == PrintUiWindowKind::TestPage) {
    layout += L"<Label name='label_printui_message' height='48' multiline='true'/>";
  } else {
    for (const wchar_t* row : {L"printer", L"driver", L"port"}) {
      layout += L"<Label name='label_printui_";
      layout += row;
      layout += L"' height='22' endellipsis='true'/>";
    }
  }
  layout += L"<Control/><HorizontalLayout height='28' childpadding='8'><Control/>";
  if (kind == PrintUiWindowKind::TestPage) {
    layout += L"<Button name='btn_printui_ok' text='Close' width='80' bordercolor='ff1e6fd9' bordersize='1'/>";
  } else {
    layout +=
        L"<Button name='btn_printui_ok' text='OK' width='80' bordercolor='ff1e6fd9' bordersize='1'/>"
        L"<Button name='btn_printui_cancel' text='Cancel' width='80' bordercolor='ff7a7a7a' bordersize='1'/>";
  }
  layout += L"</HorizontalLayout></VerticalLayout></Window>";
  return layout;
}

std::wstring TitleOf(const PrintUiView& view) {
  switch (view.kind) {
    case PrintUiWindowKind::Preferences:
      return view.printerName + L" Printing Preferences";
    case PrintUiWindowKind::Properties:
      return view.printerName + L" Properties";
    case PrintUiWindowKind::TestPage:
      return view.printerName;
    case PrintUiWindowKind::None:
      break;
  }
  return L"";
}

class PrintUiWindow : public SystemDialog {
 public:
  explicit PrintUiWindow(PrintUiView view) : view_(std::move(view)) {}

 protected:
  std::wstring GetWindowClassName() const override { return L"SimulatedPrintUi"; }
  std::wstring GetSkinFile() override { return LayoutOf(view_.kind); }
  void InitWindow() override {
    SetTitle(TitleOf(view_));
    SetLabel(L"label_printui_title", TitleOf(view_));
    SetLabel(L"label_printui_printer", L"Printer: " + view_.printerName);
    SetLabel(L"label_printui_driver", L"Driver: " + view_.driverName);
    SetLabel(L"label_printui_port", L"Port: " + view_.portName);
    SetLabel(L"label_printui_message", L"A test page has been sent to your printer (" + view_.printerName + L").");
    Tree().SetDefaultButton(FindControl(L"btn_printui_ok"));
  }
  void OnClick(ui::TNotifyUI& msg) override {
    const std::wstring name = msg.SenderName();
    if (EqualsNoCase(name, L"btn_printui_ok") || EqualsNoCase(name, L"btn_printui_cancel") ||
        EqualsNoCase(name, L"closebtn")) {
      Close(0);
    }
  }

 private:
  void SetLabel(const wchar_t* name, const std::wstring& text) {
    if (auto* label = FindControl<ui::Label>(name)) {
      label->SetText(text);
      label->SetToolTip(text);
    }
  }

  PrintUiView view_;
};

}  // namespace

bool ShowPrintUiWindow(ui::WindowHandle owner, const PrintUiView& view) {
  // A worker's call (the installation's own test page) shows nothing: windows belong to
  // the UI thread.
  if (view.kind == PrintUiWindowKind::None || !ui::OnHostThread()) return false;
  PrintUiWindow window(view);
  return window.RunModal(owner, TitleOf(view), kWidth, kHeight);
}
