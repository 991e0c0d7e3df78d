// The toolkit's own controls through UI Automation on the Windows host: a window built
// from a layout answers WM_GETOBJECT, and the patterns act on its button, options and
// edit as a click or typing would, with what the window is told and what is raised.
#include <gtest/gtest.h>
#include <wrl/client.h>

#include "ui/win32/WindowsHeaders.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "ui/controls/Edit.h"
#include "ui/controls/List.h"
#include "ui/controls/Option.h"
#include "ui/core/SkinFiles.h"
#include "ui/core/SystemConstants.h"
#include "ui/core/TNotifyUI.h"
#include "ui/win32/HostWin32.h"
#include "ui/win32/UiAutomationCore.h"
#include "ui/window/WindowImplBase.h"

namespace {

using Microsoft::WRL::ComPtr;

IRawElementProviderSimple* returned = nullptr;
int focusEvents = 0;

LRESULT WINAPI KeepReturned(HWND, WPARAM, LPARAM, IRawElementProviderSimple* provider) {
  if (returned != nullptr) returned->Release();
  returned = provider;
  if (returned != nullptr) returned->AddRef();
  return 1;
}
HRESULT WINAPI CountFocus(IRawElementProviderSimple*, EVENTID id) {
  focusEvents += id == uia::kFocusChangedEvent;
  return S_OK;
}
BOOL WINAPI Listening() {
  return TRUE;
}

class LayoutWindow : public ui::WindowImplBase {
 public:
  std::vector<std::wstring> notes;  // "type:sender name"

  void Notify(ui::TNotifyUI& msg) override {
    notes.push_back(msg.type + L":" + msg.SenderName());
    WindowImplBase::Notify(msg);
  }

 protected:
  std::wstring GetWindowClassName() const override { return L"QuorvelUiaControls"; }
  std::wstring GetSkinFile() override {
    return L"<Window size='300,360'><VerticalLayout>"
           L"<Button name='next' text='Next' height='30'/>"
           L"<Option name='usb' group='kind' text='USB' height='30' selected='true'/>"
           L"<Option name='com' group='kind' text='COM' height='30'/>"
           L"<Label text='Printer name' height='20'/><Edit name='printer' height='30'/>"
           L"<List name='models' height='80'><ListHeader><ListHeaderItem text='Model'/></ListHeader></List>"
           L"<List name='printers' height='80'><ListHeader><ListHeaderItem width='30' checkable='true'/>"
           L"<ListHeaderItem text='Printer'/></ListHeader></List>"
           L"</VerticalLayout></Window>";
  }
};

class UiAutomationControls : public ::testing::Test {
 protected:
  void SetUp() override {
    if (GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) == 0) GTEST_SKIP() << "no display";
    ui::UiAutomationCore core;
    core.returnRawElementProvider = KeepReturned;
    core.raiseAutomationEvent = CountFocus;
    core.clientsAreListening = Listening;
    previous_ = ui::UiAutomationCore::Replace(core);
    replaced_ = true;
    ui::InstallHost(std::make_unique<ui::HostWin32>(GetModuleHandleW(nullptr)));
    ui::SkinFiles::SetMemoryFiles({});
    window_ = std::make_unique<LayoutWindow>();
    ASSERT_NE(window_->Create(nullptr, L"Setup", ui::kWsPopup, 0, {0, 0, 300, 360}), nullptr);
    handle_ = static_cast<HWND>(window_->GetHWND());
    for (const wchar_t* model : {L"A4(203)", L"A4(300)"}) {
      window_->FindControl<ui::List>(L"models")->AddItem({{model}, {}, false});
      window_->FindControl<ui::List>(L"printers")->AddItem({{L"", model}, {}, false});
    }
    // The lists build their row controls at the layout, which comes with a paint.
    ShowWindow(handle_, SW_SHOWNOACTIVATE);
    UpdateWindow(handle_);
    Pump();
    SendMessageW(handle_, WM_GETOBJECT, 0, static_cast<LPARAM>(uia::kRootObjectId));
    ASSERT_NE(returned, nullptr);
  }
  void TearDown() override {
    window_.reset();
    if (returned != nullptr) returned->Release();
    returned = nullptr;
    if (replaced_) ui::UiAutomationCore::Replace(previous_);
    ui::InstallHost(nullptr);
  }

  // The element whose automation id is that control name, among the root's descendants.
  static ComPtr<IRawElementProviderSimple> Find(IRawElementProviderFragment* from, const std::wstring& id) {
    ComPtr<IRawElementProviderFragment> child;
    from->Navigate(NavigateDirection_FirstChild, &child);
    while (child != nullptr) {
      ComPtr<IRawElementProviderSimple> simple;
      child.As(&simple);
      VARIANT value;
      VariantInit(&value);
      simple->GetPropertyValue(uia::kAutomationIdProperty, &value);
      const bool match = value.vt == VT_BSTR && id == value.bstrVal;
      VariantClear(&value);
      if (match) return simple;
      if (auto inner = Find(child.Get(), id)) return inner;
      ComPtr<IRawElementProviderFragment> next;
      child->Navigate(NavigateDirection_NextSibling, &next);
      child = next;
    }
    return nullptr;
  }
  ComPtr<IRawElementProviderSimple> Find(const std::wstring& id) {
    ComPtr<IRawElementProviderFragment> root;
    returned->QueryInterface(IID_PPV_ARGS(&root));
    return Find(root.Get(), id);
  }
  template <class Pattern>
  static ComPtr<Pattern> PatternOf(IRawElementProviderSimple* element, PATTERNID id) {
    ComPtr<IUnknown> provider;
    ComPtr<Pattern> pattern;
    if (element != nullptr && SUCCEEDED(element->GetPatternProvider(id, &provider)) && provider != nullptr) {
      provider.As(&pattern);
    }
    return pattern;
  }
  // A row element of a list element; null when the list has none.
  static ComPtr<IRawElementProviderSimple> RowOf(IRawElementProviderSimple* list, NavigateDirection which) {
    ComPtr<IRawElementProviderFragment> fragment, row;
    ComPtr<IRawElementProviderSimple> element;
    if (list != nullptr && SUCCEEDED(list->QueryInterface(IID_PPV_ARGS(&fragment))) &&
        SUCCEEDED(fragment->Navigate(which, &row)) && row != nullptr) {
      row.As(&element);
    }
    return element;
  }
  static void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }

  ui::UiAutomationCore previous_;
  bool replaced_ = false;
  std::unique_ptr<LayoutWindow> window_;
  HWND handle_ = nullptr;
};

TEST_F(UiAutomationControls, PatternsActOnTheControlsAsTheUserWould) {
  auto invoke = PatternOf<IInvokeProvider>(Find(L"next").Get(), uia::kInvokePattern);
  ASSERT_NE(invoke, nullptr);
  ASSERT_EQ(invoke->Invoke(), S_OK);
  Pump();
  EXPECT_NE(std::find(window_->notes.begin(), window_->notes.end(), L"click:next"), window_->notes.end());

  auto com = PatternOf<ISelectionItemProvider>(Find(L"com").Get(), uia::kSelectionItemPattern);
  ASSERT_NE(com, nullptr);
  ASSERT_EQ(com->Select(), S_OK);
  EXPECT_TRUE(window_->FindControl<ui::Option>(L"com")->IsSelected());
  EXPECT_FALSE(window_->FindControl<ui::Option>(L"usb")->IsSelected());

  auto printer = Find(L"printer");
  VARIANT name;
  VariantInit(&name);
  printer->GetPropertyValue(uia::kNameProperty, &name);
  ASSERT_EQ(name.vt, VT_BSTR);
  EXPECT_STREQ(name.bstrVal, L"Printer name");  // named by the label before it
  VariantClear(&name);
  auto value = PatternOf<IValueProvider>(printer.Get(), uia::kValuePattern);
  ASSERT_NE(value, nullptr);
  ASSERT_EQ(value->SetValue(L"Office"), S_OK);
  EXPECT_EQ(window_->FindControl<ui::Edit>(L"printer")->GetText(), L"Office");

  ComPtr<IRawElementProviderFragment> fragment;
  printer.As(&fragment);
  focusEvents = 0;
  ASSERT_EQ(fragment->SetFocus(), S_OK);
  EXPECT_EQ(focusEvents, 1);  // raised by the tree as the focus moved
}

TEST_F(UiAutomationControls, ListRowsAreChosenOrToggledAsTheirListDoes) {
  auto models = Find(L"models");
  ASSERT_NE(PatternOf<ISelectionProvider>(models.Get(), uia::kSelectionPattern), nullptr);
  auto last = RowOf(models.Get(), NavigateDirection_LastChild);
  auto item = PatternOf<ISelectionItemProvider>(last.Get(), uia::kSelectionItemPattern);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(PatternOf<IToggleProvider>(last.Get(), uia::kTogglePattern), nullptr);
  ASSERT_EQ(item->Select(), S_OK);
  EXPECT_EQ(window_->FindControl<ui::List>(L"models")->GetCurSel(), 1);

  // In a list of check boxes a row toggles its mark.
  auto first = RowOf(Find(L"printers").Get(), NavigateDirection_FirstChild);
  auto toggle = PatternOf<IToggleProvider>(first.Get(), uia::kTogglePattern);
  ASSERT_NE(toggle, nullptr);
  ASSERT_EQ(toggle->Toggle(), S_OK);
  EXPECT_TRUE(window_->FindControl<ui::List>(L"printers")->GetItem(0)->checked);
  ToggleState state = ToggleState_Off;
  toggle->get_ToggleState(&state);
  EXPECT_EQ(state, ToggleState_On);
}

}  // namespace
