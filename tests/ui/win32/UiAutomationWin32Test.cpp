// The UI Automation providers of a real host window, called directly as the automation
// core would: the tree and its properties, the patterns, focus, hit testing, calls from
// another thread, and elements that outlive their control or window. What they raise is
// recorded through a replaced function table.
#include <gtest/gtest.h>
#include <wrl/client.h>

#include "ui/win32/WindowsHeaders.h"

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "WaitUntil.h"
#include "ui/RecordingWindowEvents.h"
#include "ui/core/Container.h"
#include "ui/core/WindowTree.h"
#include "ui/win32/HostWin32.h"
#include "ui/win32/UiAutomationCore.h"

namespace {

using Microsoft::WRL::ComPtr;

// ---- what the providers raise --------------------------------------------------------

struct Raised {
  enum Kind { Event, Property, Structure } kind;
  IRawElementProviderSimple* provider;  // compared only, never called
  int id;
};

struct Recorder {
  std::vector<Raised> raised;
  ComPtr<IRawElementProviderSimple> returned;  // the last provider of WM_GETOBJECT
  bool listening = true;

  int Count(Raised::Kind kind, int id, IRawElementProviderSimple* provider) const {
    int count = 0;
    for (const Raised& entry : raised) count += entry.kind == kind && entry.id == id && entry.provider == provider;
    return count;
  }
};

Recorder* recorder = nullptr;

LRESULT WINAPI RecordReturn(HWND, WPARAM, LPARAM, IRawElementProviderSimple* provider) {
  recorder->returned = provider;
  return 1;
}
HRESULT WINAPI NoHostProvider(HWND, IRawElementProviderSimple** host) {
  *host = nullptr;
  return S_OK;
}
HRESULT WINAPI RecordEvent(IRawElementProviderSimple* provider, EVENTID id) {
  recorder->raised.push_back({Raised::Event, provider, id});
  return S_OK;
}
HRESULT WINAPI RecordProperty(IRawElementProviderSimple* provider, PROPERTYID id, VARIANT, VARIANT) {
  recorder->raised.push_back({Raised::Property, provider, id});
  return S_OK;
}
HRESULT WINAPI RecordStructure(IRawElementProviderSimple* provider, int, int*, int) {
  recorder->raised.push_back({Raised::Structure, provider, uia::kStructureChangedEvent});
  return S_OK;
}
BOOL WINAPI RecorderListening() {
  return recorder->listening ? TRUE : FALSE;
}

ui::UiAutomationCore RecordingCore() {
  ui::UiAutomationCore core;
  core.returnRawElementProvider = RecordReturn;
  core.hostProviderFromHwnd = NoHostProvider;
  core.raiseAutomationEvent = RecordEvent;
  core.raisePropertyChangedEvent = RecordProperty;
  core.raiseStructureChangedEvent = RecordStructure;
  core.clientsAreListening = RecorderListening;
  return core;
}

// ---- controls with a given role, doing what their default action says ----------------

class FakeControl : public ui::Control {
 public:
  FakeControl(ui::AccessibleRole role, std::wstring name, std::wstring text) : role_(role) {
    SetName(std::move(name));
    SetText(std::move(text));
  }
  ui::AccessibleRole GetAccessibleRole() const override { return role_; }
  std::wstring GetAccessibleName() const override {
    namedOn = std::this_thread::get_id();
    return Control::GetAccessibleName();
  }
  uint32_t GetAccessibleStates() const override { return Control::GetAccessibleStates() | states; }
  bool IsFocusable() const override { return focusable; }
  ui::AccessibleAction GetDefaultAction() const override {
    switch (role_) {
      case ui::AccessibleRole::PushButton:
        return ui::AccessibleAction::Press;
      case ui::AccessibleRole::CheckBox:
        return ui::AccessibleAction::Toggle;
      case ui::AccessibleRole::RadioButton:
        return ui::AccessibleAction::Select;
      default:
        return ui::AccessibleAction::None;
    }
  }
  bool DoDefaultAction() override {
    ++actions;
    if (role_ == ui::AccessibleRole::CheckBox) {
      states ^= ui::kAccChecked;
      RaiseAccessibilityEvent(ui::AccessibleEvent::Toggled);
    } else if (role_ == ui::AccessibleRole::RadioButton) {
      for (FakeControl* other : group) {
        if (other != this) other->states &= ~ui::kAccChecked;
      }
      states |= ui::kAccChecked;
      RaiseAccessibilityEvent(ui::AccessibleEvent::Toggled);
    }
    return true;
  }
  std::wstring GetAccessibleValue() const override { return value; }
  bool SetAccessibleValue(const std::wstring& text) override {
    if ((states & ui::kAccReadOnly) != 0) return false;
    value = text;
    RaiseAccessibilityEvent(ui::AccessibleEvent::ValueChanged);
    return true;
  }

  uint32_t states = 0;
  bool focusable = false;
  int actions = 0;
  std::wstring value;
  std::vector<FakeControl*> group;
  ui::Rect place;
  mutable std::thread::id namedOn;

 private:
  ui::AccessibleRole role_;
};

class TreeEvents : public RecordingWindowEvents {
 public:
  ui::WindowTree* AccessibleTree() override { return &tree; }
  bool DoAccessibleAction(uint32_t id) override { return tree.DoAccessibleAction(id); }
  bool SetAccessibleValue(uint32_t id, const std::wstring& value) override {
    return tree.SetAccessibleValue(id, value);
  }
  ui::WindowTree tree;
};

// A shown window with a button, a check box, two options in a group, an edit and a log.
class UiAutomationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) == 0) GTEST_SKIP() << "no display";
    recorder = &record_;
    previous_ = ui::UiAutomationCore::Replace(RecordingCore());
    host_ = std::make_unique<ui::HostWin32>(GetModuleHandleW(nullptr));
    auto root = std::make_unique<ui::Container>();
    auto group = std::make_unique<ui::Container>();
    button_ = Add(*root, ui::AccessibleRole::PushButton, L"go", L"Go", {10, 10, 90, 40});
    check_ = Add(*root, ui::AccessibleRole::CheckBox, L"default", L"Default printer", {10, 50, 190, 70});
    first_ = Add(*group, ui::AccessibleRole::RadioButton, L"usb", L"USB", {10, 80, 90, 100});
    second_ = Add(*group, ui::AccessibleRole::RadioButton, L"com", L"COM", {100, 80, 190, 100});
    first_->group = second_->group = {first_, second_};
    first_->states |= ui::kAccChecked;
    group->SetName(L"ports");
    groupControl_ = root->Add(std::move(group));
    edit_ = Add(*root, ui::AccessibleRole::Edit, L"queue", L"Office queue", {10, 110, 190, 130});
    edit_->focusable = true;
    edit_->value = L"Quorvel";
    log_ = Add(*root, ui::AccessibleRole::Document, L"log", L"", {10, 140, 190, 190});
    log_->states |= ui::kAccReadOnly;
    log_->value = L"line one\r\n";
    events_.tree.SetRoot(std::move(root));

    ui::WindowCreateParams params;
    params.title = L"Quorvel automation test";
    params.rect = {100, 100, 400, 300};
    events_.window = host_->CreateHostWindow(events_, params);
    ASSERT_NE(events_.window, nullptr);
    window_ = static_cast<HWND>(events_.window->Handle());
    events_.tree.AttachHost(events_.window.get());
    // The layout would place the group around its options; these are fixed.
    for (FakeControl* control : {button_, check_, first_, second_, edit_, log_}) control->SetPos(control->place);
    groupControl_->SetPos({5, 75, 195, 105});
    first_->SetPos(first_->place);
    second_->SetPos(second_->place);

    SendMessageW(window_, WM_GETOBJECT, 0, static_cast<LPARAM>(uia::kRootObjectId));
    ASSERT_NE(record_.returned, nullptr);
    ASSERT_TRUE(SUCCEEDED(record_.returned.As(&root_)));
  }
  void TearDown() override {
    root_.Reset();
    if (events_.window != nullptr) events_.window->Destroy();
    events_.window.reset();
    record_.returned.Reset();
    host_.reset();
    if (recorder == &record_) ui::UiAutomationCore::Replace(previous_);
    recorder = nullptr;
  }

  FakeControl* Add(ui::Container& parent, ui::AccessibleRole role, const wchar_t* name, const wchar_t* text,
                   ui::Rect place) {
    auto control = std::make_unique<FakeControl>(role, name, text);
    control->place = place;
    return static_cast<FakeControl*>(parent.Add(std::move(control)));
  }

  // The element of a control, found by walking the tree from the root by automation id.
  ComPtr<IRawElementProviderFragment> Find(const std::wstring& automationId) {
    std::vector<ComPtr<IRawElementProviderFragment>> pending;
    ComPtr<IRawElementProviderFragment> root;
    root_.As(&root);
    pending.push_back(root);
    while (!pending.empty()) {
      ComPtr<IRawElementProviderFragment> element = pending.back();
      pending.pop_back();
      if (AutomationId(element.Get()) == automationId) return element;
      ComPtr<IRawElementProviderFragment> child;
      element->Navigate(NavigateDirection_FirstChild, &child);
      while (child != nullptr) {
        pending.push_back(child);
        ComPtr<IRawElementProviderFragment> next;
        child->Navigate(NavigateDirection_NextSibling, &next);
        child = next;
      }
    }
    return nullptr;
  }

  static VARIANT Property(IUnknown* element, PROPERTYID id) {
    ComPtr<IRawElementProviderSimple> simple;
    VARIANT value;
    VariantInit(&value);
    if (SUCCEEDED(element->QueryInterface(IID_PPV_ARGS(&simple)))) simple->GetPropertyValue(id, &value);
    return value;
  }
  static std::wstring TextProperty(IUnknown* element, PROPERTYID id) {
    VARIANT value = Property(element, id);
    std::wstring text = value.vt == VT_BSTR ? std::wstring(value.bstrVal, SysStringLen(value.bstrVal)) : L"";
    VariantClear(&value);
    return text;
  }
  static std::wstring AutomationId(IUnknown* element) { return TextProperty(element, uia::kAutomationIdProperty); }
  static int IntProperty(IUnknown* element, PROPERTYID id) {
    VARIANT value = Property(element, id);
    return value.vt == VT_I4 ? value.lVal : -1;
  }
  static bool FlagProperty(IUnknown* element, PROPERTYID id) {
    VARIANT value = Property(element, id);
    return value.vt == VT_BOOL && value.boolVal == VARIANT_TRUE;
  }
  template <class Pattern>
  static ComPtr<Pattern> PatternOf(IUnknown* element, PATTERNID id) {
    ComPtr<IRawElementProviderSimple> simple;
    ComPtr<IUnknown> provider;
    ComPtr<Pattern> pattern;
    if (SUCCEEDED(element->QueryInterface(IID_PPV_ARGS(&simple))) &&
        SUCCEEDED(simple->GetPatternProvider(id, &provider)) && provider != nullptr) {
      provider.As(&pattern);
    }
    return pattern;
  }
  static IRawElementProviderSimple* Identity(IUnknown* element) {
    ComPtr<IRawElementProviderSimple> simple;
    element->QueryInterface(IID_PPV_ARGS(&simple));
    return simple.Get();
  }
  static void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }

  Recorder record_;
  ui::UiAutomationCore previous_;
  std::unique_ptr<ui::HostWin32> host_;
  TreeEvents events_;
  HWND window_ = nullptr;
  ComPtr<IRawElementProviderFragmentRoot> root_;
  FakeControl* button_ = nullptr;
  FakeControl* check_ = nullptr;
  FakeControl* first_ = nullptr;
  FakeControl* second_ = nullptr;
  FakeControl* edit_ = nullptr;
  FakeControl* log_ = nullptr;
  ui::Control* groupControl_ = nullptr;
};

TEST_F(UiAutomationTest, TreeFollowsTheAccessibleControlsWithTheirProperties) {
  // Plain layouts are left out: the options are children of the root like the others.
  std::vector<std::wstring> ids;
  std::vector<int> types;
  ComPtr<IRawElementProviderFragment> root;
  ASSERT_TRUE(SUCCEEDED(root_.As(&root)));
  ComPtr<IRawElementProviderFragment> child;
  root->Navigate(NavigateDirection_FirstChild, &child);
  while (child != nullptr) {
    ids.push_back(AutomationId(child.Get()));
    types.push_back(IntProperty(child.Get(), uia::kControlTypeProperty));
    ComPtr<IRawElementProviderFragment> parent;
    child->Navigate(NavigateDirection_Parent, &parent);
    EXPECT_EQ(Identity(parent.Get()), Identity(root.Get()));
    ComPtr<IRawElementProviderFragment> next;
    child->Navigate(NavigateDirection_NextSibling, &next);
    child = next;
  }
  EXPECT_EQ(ids, (std::vector<std::wstring>{L"go", L"default", L"usb", L"com", L"queue", L"log"}));
  EXPECT_EQ(types, (std::vector<int>{uia::kButtonControl, uia::kCheckBoxControl, uia::kRadioButtonControl,
                                     uia::kRadioButtonControl, uia::kEditControl, uia::kDocumentControl}));
  EXPECT_EQ(IntProperty(root.Get(), uia::kControlTypeProperty), uia::kWindowControl);

  ComPtr<IRawElementProviderFragment> last, previous;
  root->Navigate(NavigateDirection_LastChild, &last);
  EXPECT_EQ(AutomationId(last.Get()), L"log");
  last->Navigate(NavigateDirection_PreviousSibling, &previous);
  EXPECT_EQ(AutomationId(previous.Get()), L"queue");

  auto check = Find(L"default");
  ASSERT_NE(check, nullptr);
  EXPECT_EQ(TextProperty(check.Get(), uia::kNameProperty), L"Default printer");
  EXPECT_TRUE(FlagProperty(check.Get(), uia::kIsEnabledProperty));
  check_->SetEnabled(false);
  EXPECT_FALSE(FlagProperty(check.Get(), uia::kIsEnabledProperty));
  // One element per control: found twice, the same object.
  EXPECT_EQ(Identity(Find(L"default").Get()), Identity(check.Get()));

  SAFEARRAY* runtimeId = nullptr;
  ASSERT_EQ(check->GetRuntimeId(&runtimeId), S_OK);
  ASSERT_NE(runtimeId, nullptr);
  int parts[2] = {};
  for (LONG i = 0; i < 2; ++i) SafeArrayGetElement(runtimeId, &i, &parts[i]);
  SafeArrayDestroy(runtimeId);
  EXPECT_EQ(parts[0], uia::kAppendRuntimeId);
  EXPECT_EQ(parts[1], static_cast<int>(check_->AccessibleId()));
}

TEST_F(UiAutomationTest, BoundsAreOnTheScreenAndPointsFindTheDeepestControl) {
  POINT origin{0, 0};
  ClientToScreen(window_, &origin);
  auto button = Find(L"go");
  UiaRect bounds{};
  ASSERT_EQ(button->get_BoundingRectangle(&bounds), S_OK);
  EXPECT_EQ(bounds.left, origin.x + 10);
  EXPECT_EQ(bounds.top, origin.y + 10);
  EXPECT_EQ(bounds.width, 80);
  EXPECT_EQ(bounds.height, 30);

  ComPtr<IRawElementProviderFragment> hit;
  ASSERT_EQ(root_->ElementProviderFromPoint(origin.x + 150, origin.y + 90, &hit), S_OK);
  EXPECT_EQ(AutomationId(hit.Get()), L"com");
  ComPtr<IRawElementProviderFragment> nothing;
  ASSERT_EQ(root_->ElementProviderFromPoint(origin.x + 250, origin.y + 5, &nothing), S_OK);
  EXPECT_EQ(Identity(nothing.Get()), Identity(root_.Get()));
}

TEST_F(UiAutomationTest, InvokeRunsTheButtonAfterTheCallAndRaisesInvoked) {
  auto button = Find(L"go");
  auto invoke = PatternOf<IInvokeProvider>(button.Get(), uia::kInvokePattern);
  ASSERT_NE(invoke, nullptr);
  EXPECT_EQ(PatternOf<IToggleProvider>(button.Get(), uia::kTogglePattern), nullptr);
  ASSERT_EQ(invoke->Invoke(), S_OK);
  EXPECT_EQ(button_->actions, 0);  // not inside the client's call
  Pump();
  EXPECT_EQ(button_->actions, 1);
  EXPECT_EQ(record_.Count(Raised::Event, uia::kInvokedEvent, Identity(button.Get())), 1);

  button_->SetEnabled(false);
  EXPECT_EQ(invoke->Invoke(), uia::kElementNotEnabled);
  Pump();
  EXPECT_EQ(button_->actions, 1);
}

TEST_F(UiAutomationTest, ToggleFlipsTheCheckBoxAndRaisesItsState) {
  auto check = Find(L"default");
  auto toggle = PatternOf<IToggleProvider>(check.Get(), uia::kTogglePattern);
  ASSERT_NE(toggle, nullptr);
  ToggleState state = ToggleState_Indeterminate;
  ASSERT_EQ(toggle->get_ToggleState(&state), S_OK);
  EXPECT_EQ(state, ToggleState_Off);
  ASSERT_EQ(toggle->Toggle(), S_OK);
  toggle->get_ToggleState(&state);
  EXPECT_EQ(state, ToggleState_On);
  EXPECT_EQ(IntProperty(check.Get(), uia::kToggleToggleStateProperty), ToggleState_On);
  EXPECT_EQ(record_.Count(Raised::Property, uia::kToggleToggleStateProperty, Identity(check.Get())), 1);

  record_.listening = false;  // nobody listens: nothing is raised
  toggle->Toggle();
  EXPECT_EQ(record_.Count(Raised::Property, uia::kToggleToggleStateProperty, Identity(check.Get())), 1);
}

TEST_F(UiAutomationTest, SelectingAnOptionChoosesItInItsGroup) {
  auto first = Find(L"usb");
  auto second = Find(L"com");
  auto item = PatternOf<ISelectionItemProvider>(second.Get(), uia::kSelectionItemPattern);
  ASSERT_NE(item, nullptr);
  BOOL selected = TRUE;
  item->get_IsSelected(&selected);
  EXPECT_FALSE(selected);
  // The chosen option cannot be unchosen alone; another cannot be added to a single choice.
  auto firstItem = PatternOf<ISelectionItemProvider>(first.Get(), uia::kSelectionItemPattern);
  EXPECT_EQ(firstItem->RemoveFromSelection(), uia::kInvalidOperation);
  EXPECT_EQ(item->AddToSelection(), uia::kInvalidOperation);

  ASSERT_EQ(item->Select(), S_OK);
  item->get_IsSelected(&selected);
  EXPECT_TRUE(selected);
  EXPECT_FALSE(FlagProperty(first.Get(), uia::kSelectionItemIsSelectedProperty));
  EXPECT_EQ(record_.Count(Raised::Event, uia::kElementSelectedEvent, Identity(second.Get())), 1);
  EXPECT_EQ(item->Select(), S_OK);  // already chosen: nothing happens
  EXPECT_EQ(second_->actions, 1);

  ComPtr<IRawElementProviderSimple> container;
  ASSERT_EQ(item->get_SelectionContainer(&container), S_OK);
  ASSERT_NE(container, nullptr);
  auto selection = PatternOf<ISelectionProvider>(container.Get(), uia::kSelectionPattern);
  ASSERT_NE(selection, nullptr);
  BOOL required = FALSE;
  selection->get_IsSelectionRequired(&required);
  EXPECT_TRUE(required);
  SAFEARRAY* chosen = nullptr;
  ASSERT_EQ(selection->GetSelection(&chosen), S_OK);
  ASSERT_NE(chosen, nullptr);
  LONG upper = -1;
  SafeArrayGetUBound(chosen, 1, &upper);
  ASSERT_EQ(upper, 0);
  IUnknown* only = nullptr;
  LONG index = 0;
  SafeArrayGetElement(chosen, &index, &only);
  EXPECT_EQ(AutomationId(only), L"com");
  only->Release();
  SafeArrayDestroy(chosen);
}

TEST_F(UiAutomationTest, EditsTakeValuesAndLogsOnlyShowThem) {
  auto edit = Find(L"queue");
  auto value = PatternOf<IValueProvider>(edit.Get(), uia::kValuePattern);
  ASSERT_NE(value, nullptr);
  BOOL readOnly = TRUE;
  value->get_IsReadOnly(&readOnly);
  EXPECT_FALSE(readOnly);
  ASSERT_EQ(value->SetValue(L"Office A4"), S_OK);
  EXPECT_EQ(edit_->value, L"Office A4");
  BSTR text = nullptr;
  ASSERT_EQ(value->get_Value(&text), S_OK);
  EXPECT_STREQ(text, L"Office A4");
  SysFreeString(text);
  EXPECT_EQ(record_.Count(Raised::Property, uia::kValueValueProperty, Identity(edit.Get())), 1);

  auto log = PatternOf<IValueProvider>(Find(L"log").Get(), uia::kValuePattern);
  ASSERT_NE(log, nullptr);
  log->get_IsReadOnly(&readOnly);
  EXPECT_TRUE(readOnly);
  EXPECT_EQ(log->SetValue(L"forged"), uia::kInvalidOperation);
  ASSERT_EQ(log->get_Value(&text), S_OK);
  EXPECT_STREQ(text, L"line one\r\n");
  SysFreeString(text);
}

TEST_F(UiAutomationTest, FocusMovesByTheProviderAndIsRaised) {
  auto edit = Find(L"queue");
  EXPECT_TRUE(FlagProperty(edit.Get(), uia::kIsKeyboardFocusableProperty));
  EXPECT_FALSE(FlagProperty(edit.Get(), uia::kHasKeyboardFocusProperty));
  EXPECT_EQ(Find(L"go")->SetFocus(), uia::kInvalidOperation);  // not a focus stop here
  ASSERT_EQ(edit->SetFocus(), S_OK);
  EXPECT_TRUE(FlagProperty(edit.Get(), uia::kHasKeyboardFocusProperty));
  ComPtr<IRawElementProviderFragment> focused;
  ASSERT_EQ(root_->GetFocus(&focused), S_OK);
  EXPECT_EQ(Identity(focused.Get()), Identity(edit.Get()));
  // Raised by the tree as the focus moves.
  edit_->RaiseAccessibilityEvent(ui::AccessibleEvent::FocusChanged);
  EXPECT_GE(record_.Count(Raised::Event, uia::kFocusChangedEvent, Identity(edit.Get())), 1);
}

TEST_F(UiAutomationTest, NamesAndChildrenChangesAreRaised) {
  auto check = Find(L"default");
  check_->RaiseAccessibilityEvent(ui::AccessibleEvent::NameChanged);
  EXPECT_EQ(record_.Count(Raised::Property, uia::kNameProperty, Identity(check.Get())), 1);
  events_.tree.GetRoot()->RaiseAccessibilityEvent(ui::AccessibleEvent::ChildrenChanged);
  EXPECT_EQ(record_.Count(Raised::Structure, uia::kStructureChangedEvent, Identity(root_.Get())), 1);
}

TEST_F(UiAutomationTest, CallsFromAnotherThreadRunOnTheWindowsThread) {
  auto edit = Find(L"queue");
  std::wstring name;
  std::atomic<bool> done{false};
  std::thread client([&] {
    name = TextProperty(edit.Get(), uia::kNameProperty);
    done = true;
  });
  // The window's thread serves the call while it pumps its messages.
  EXPECT_TRUE(WaitUntil([&] {
    Pump();
    return done.load();
  }));
  client.join();
  EXPECT_EQ(name, L"Office queue");
  EXPECT_EQ(edit_->namedOn, std::this_thread::get_id());
}

TEST_F(UiAutomationTest, ElementsOfGoneControlsAndWindowsAreNotAvailable) {
  auto second = Find(L"com");
  auto button = Find(L"go");
  second_->SetVisible(false);  // hidden controls leave the tree
  VARIANT value;
  ComPtr<IRawElementProviderSimple> simple;
  second.As(&simple);
  EXPECT_EQ(simple->GetPropertyValue(uia::kNameProperty, &value), uia::kElementNotAvailable);
  second_->SetVisible(true);
  EXPECT_EQ(simple->GetPropertyValue(uia::kNameProperty, &value), S_OK);
  VariantClear(&value);

  ASSERT_TRUE(static_cast<ui::Container*>(events_.tree.GetRoot())->Remove(button_));
  button_ = nullptr;
  ComPtr<IRawElementProviderFragment> parent;
  EXPECT_EQ(button->Navigate(NavigateDirection_Parent, &parent), uia::kElementNotAvailable);

  events_.window->Destroy();
  EXPECT_EQ(second->Navigate(NavigateDirection_Parent, &parent), uia::kElementNotAvailable);
  EXPECT_EQ(root_->GetFocus(&parent), uia::kElementNotAvailable);
}

}  // namespace
