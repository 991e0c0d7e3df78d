// The ATK objects of a real GTK window's controls, read as the AT-SPI bridge reads them
// (the bridge itself stays off: NO_AT_BRIDGE).
#include <gtest/gtest.h>

#include <atk/atk.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/WideText.h"
#include "ui/UiTestSupport.h"
#include "ui/controls/Button.h"
#include "ui/controls/Edit.h"
#include "ui/controls/Label.h"
#include "ui/controls/Option.h"
#include "ui/gtk/AccessibleTreeGtk.h"
#include "ui/gtk/GtkTestSupport.h"
#include "ui/gtk/HostGtk.h"
#include "ui/gtk/HostWindowGtk.h"

namespace {

using namespace std::chrono_literals;
using uitest::TestWindow;

const wchar_t* kPage =
    L"<Window size='400,300'>"
    L"<VerticalLayout>"
    L"  <Button name='next' text='Next' height='30'/>"
    L"  <Label name='note' text='Note' height='20'/>"
    L"  <HorizontalLayout name='ports' height='30'>"
    L"    <Option name='usb' text='USB' width='80' group='port' selected='true'/>"
    L"    <Option name='com' text='COM' width='80' group='port'/>"
    L"  </HorizontalLayout>"
    L"  <Edit name='printer' text='Dispatch' height='30'/>"
    L"</VerticalLayout></Window>";

struct GUnref {
  void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using Ref = std::unique_ptr<T, GUnref>;

std::string Utf8(const std::wstring& text) {
  return WideToUtf8(text);
}

// ATK names may be null: a defunct object has none.
std::string NameOf(gpointer object) {
  const char* name = atk_object_get_name(ATK_OBJECT(object));
  return name != nullptr ? name : "";
}

class AccessibleTreeGtkTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string whyNot;
    auto host = gtktest::MakeTestHost(whyNot);
    if (host == nullptr && whyNot.empty()) GTEST_SKIP() << "DISPLAY is not set: the GTK host needs an X server (Xvfb)";
    ASSERT_NE(host, nullptr) << whyNot;
    ui::InstallHost(std::move(host));
    ui::SkinFiles::SetMemoryFiles({});
    ui::WindowTree::ClearShared();
    window_ = std::make_unique<TestWindow>(kPage);
    ASSERT_NE(window_->Create(nullptr, L"Setup", ui::kWsVisible | ui::kWsPopup, 0, {100, 100, 500, 400}), nullptr);
    ASSERT_TRUE(PumpUntil([&] { return gtk_widget_get_mapped(Widget()); }));
    Pump();
    accessible_ = gtk_widget_get_accessible(Widget());
  }
  void TearDown() override {
    window_.reset();
    Pump();
  }

  GtkWidget* Widget() const { return GTK_WIDGET(ui::HostWindowGtk::FromHandle(window_->GetHWND())->Gtk()); }

  static bool PumpUntil(const std::function<bool()>& done) { return gtktest::PumpUntil(done); }
  static void Pump() {
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
  }

  // The window's child object of a control, found by its name as a client would.
  Ref<AtkObject> Child(const char* name) const {
    for (int i = 0; i < atk_object_get_n_accessible_children(accessible_); ++i) {
      Ref<AtkObject> child(atk_object_ref_accessible_child(accessible_, i));
      if (child != nullptr && NameOf(child.get()) == name) return child;
      for (int j = 0; child != nullptr && j < atk_object_get_n_accessible_children(child.get()); ++j) {
        Ref<AtkObject> inner(atk_object_ref_accessible_child(child.get(), j));
        if (inner != nullptr && NameOf(inner.get()) == name) return inner;
      }
    }
    return nullptr;
  }

  static bool Has(AtkObject* object, AtkStateType state) {
    Ref<AtkStateSet> states(atk_object_ref_state_set(object));
    return atk_state_set_contains_state(states.get(), state);
  }

  std::unique_ptr<TestWindow> window_;
  AtkObject* accessible_ = nullptr;
};

// Records the signals a client hears; it stops listening when it goes.
struct Heard {
  std::vector<std::string> lines;
  std::vector<std::pair<Ref<GObject>, gulong>> connections;

  Heard() = default;
  Heard(const Heard&) = delete;
  Heard& operator=(const Heard&) = delete;
  ~Heard() {
    for (auto& [object, id] : connections) g_signal_handler_disconnect(object.get(), id);
  }
  void Listen(gpointer object, const char* signal, GCallback callback) {
    connections.emplace_back(Ref<GObject>(G_OBJECT(g_object_ref(object))),
                             g_signal_connect(object, signal, callback, this));
  }
  static void State(AtkObject*, gchar* name, gboolean on, gpointer self) {
    static_cast<Heard*>(self)->lines.push_back(std::string(name) + (on ? "+" : "-"));
  }
  static void Children(AtkObject*, guint index, gpointer child, gpointer self) {
    static_cast<Heard*>(self)->lines.push_back("child " + std::to_string(index) + " " + NameOf(child));
  }
  static void Property(AtkObject*, AtkPropertyValues* values, gpointer self) {
    static_cast<Heard*>(self)->lines.push_back(values->property_name);
  }
  static void Text(AtkText*, gint position, gint length, gchar* text, gpointer self) {
    static_cast<Heard*>(self)->lines.push_back(std::to_string(position) + "+" + std::to_string(length) + " " + text);
  }
};

TEST_F(AccessibleTreeGtkTest, TheWindowsChildrenAreItsControlsWithRoleNameStatesAndExtents) {
  EXPECT_EQ(atk_object_get_role(accessible_), ATK_ROLE_FRAME);
  const std::vector<ui::Control*> controls = ui::AccessibleChildren(*window_->Tree().GetRoot());
  ASSERT_EQ(atk_object_get_n_accessible_children(accessible_), static_cast<int>(controls.size()));
  for (int i = 0; i < static_cast<int>(controls.size()); ++i) {
    Ref<AtkObject> child(atk_object_ref_accessible_child(accessible_, i));
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(NameOf(child.get()), Utf8(controls[i]->GetAccessibleName()));
    EXPECT_EQ(atk_object_get_parent(child.get()), accessible_);
    EXPECT_EQ(atk_object_get_index_in_parent(child.get()), i);
    EXPECT_TRUE(Has(child.get(), ATK_STATE_SHOWING));
  }

  Ref<AtkObject> next = Child("Next");
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(atk_object_get_role(next.get()), ATK_ROLE_PUSH_BUTTON);
  EXPECT_TRUE(Has(next.get(), ATK_STATE_FOCUSABLE));
  EXPECT_TRUE(Has(next.get(), ATK_STATE_ENABLED));
  const ui::Rect place = window_->FindControl(L"next")->GetPos();
  int x = 0, y = 0, width = 0, height = 0;
  atk_component_get_extents(ATK_COMPONENT(next.get()), &x, &y, &width, &height, ATK_XY_WINDOW);
  EXPECT_EQ((ui::Rect{x, y, x + width, y + height}), place);
  int screenX = 0, screenY = 0;
  atk_component_get_extents(ATK_COMPONENT(next.get()), &screenX, &screenY, nullptr, nullptr, ATK_XY_SCREEN);
  int originX = 0, originY = 0;
  gdk_window_get_origin(gtk_widget_get_window(Widget()), &originX, &originY);
  EXPECT_EQ(screenX, place.left + originX);
  EXPECT_EQ(screenY, place.top + originY);

  Ref<AtkObject> com = Child("COM");
  ASSERT_NE(com, nullptr);
  EXPECT_EQ(atk_object_get_role(com.get()), ATK_ROLE_RADIO_BUTTON);
  EXPECT_FALSE(Has(com.get(), ATK_STATE_CHECKED));
  EXPECT_TRUE(Has(Child("USB").get(), ATK_STATE_CHECKED));
  // The objects are kept: a client asking again gets the same one.
  EXPECT_EQ(Child("Next").get(), next.get());
}

TEST_F(AccessibleTreeGtkTest, ActionsRunFromTheMainLoopAsAClickDoes) {
  Ref<AtkObject> next = Child("Next");
  ASSERT_NE(next, nullptr);
  ASSERT_TRUE(ATK_IS_ACTION(next.get()));
  ASSERT_EQ(atk_action_get_n_actions(ATK_ACTION(next.get())), 1);
  EXPECT_STREQ(atk_action_get_name(ATK_ACTION(next.get()), 0), "press");
  EXPECT_FALSE(ATK_IS_TEXT(next.get()));
  ASSERT_TRUE(atk_action_do_action(ATK_ACTION(next.get()), 0));
  EXPECT_EQ(std::count(window_->notes.begin(), window_->notes.end(), L"click:next"), 0);  // not inside the call
  EXPECT_TRUE(PumpUntil([&] { return std::count(window_->notes.begin(), window_->notes.end(), L"click:next") == 1; }));

  Ref<AtkObject> com = Child("COM");
  Heard heard;
  heard.Listen(com.get(), "state-change", G_CALLBACK(Heard::State));
  ASSERT_TRUE(atk_action_do_action(ATK_ACTION(com.get()), 0));
  EXPECT_TRUE(PumpUntil([&] { return Has(com.get(), ATK_STATE_CHECKED); }));
  EXPECT_NE(std::find(heard.lines.begin(), heard.lines.end(), "checked+"), heard.lines.end());
  EXPECT_FALSE(Has(Child("USB").get(), ATK_STATE_CHECKED));
}

TEST_F(AccessibleTreeGtkTest, FocusMovesAreStateChangesOfTheTwoControls) {
  Ref<AtkObject> next = Child("Next");
  Ref<AtkObject> com = Child("COM");
  Heard nextHeard, comHeard;
  nextHeard.Listen(next.get(), "state-change", G_CALLBACK(Heard::State));
  comHeard.Listen(com.get(), "state-change", G_CALLBACK(Heard::State));
  ASSERT_TRUE(atk_component_grab_focus(ATK_COMPONENT(next.get())));
  EXPECT_TRUE(Has(next.get(), ATK_STATE_FOCUSED));
  window_->FindControl(L"com")->SetFocus();
  EXPECT_EQ(nextHeard.lines, (std::vector<std::string>{"focused+", "focused-"}));
  EXPECT_EQ(comHeard.lines, (std::vector<std::string>{"focused+"}));
  EXPECT_FALSE(Has(next.get(), ATK_STATE_FOCUSED));

  // The window activated again: clients hear where the focus is.
  GdkEvent* focusIn = gdk_event_new(GDK_FOCUS_CHANGE);
  focusIn->focus_change.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(Widget())));
  focusIn->focus_change.in = TRUE;
  gtk_widget_send_focus_change(Widget(), focusIn);
  gdk_event_free(focusIn);
  EXPECT_EQ(comHeard.lines, (std::vector<std::string>{"focused+", "focused+"}));
  EXPECT_EQ(nextHeard.lines.size(), 2u);
}

TEST_F(AccessibleTreeGtkTest, EditsAreTextThatClientsCanReplaceAndHearChange) {
  Ref<AtkObject> edit;
  for (int i = 0; i < atk_object_get_n_accessible_children(accessible_) && edit == nullptr; ++i) {
    Ref<AtkObject> child(atk_object_ref_accessible_child(accessible_, i));
    if (atk_object_get_role(child.get()) == ATK_ROLE_ENTRY) edit = std::move(child);
  }
  ASSERT_NE(edit, nullptr);
  ASSERT_TRUE(ATK_IS_EDITABLE_TEXT(edit.get()));
  AtkText* text = ATK_TEXT(edit.get());
  EXPECT_EQ(atk_text_get_character_count(text), 8);
  gchar* word = atk_text_get_text(text, 0, 4);
  EXPECT_STREQ(word, "Disp");
  g_free(word);

  Heard heard;
  heard.Listen(edit.get(), "text-insert", G_CALLBACK(Heard::Text));
  heard.Listen(edit.get(), "text-remove", G_CALLBACK(Heard::Text));
  atk_editable_text_set_text_contents(ATK_EDITABLE_TEXT(edit.get()), "Dispatch 宋体");
  EXPECT_EQ(window_->FindControl<ui::Edit>(L"printer")->GetText(), L"Dispatch 宋体");
  EXPECT_EQ(atk_text_get_character_count(text), 11);
  EXPECT_EQ(heard.lines, (std::vector<std::string>{"8+3  宋体"}));
  gint position = 0;
  atk_editable_text_insert_text(ATK_EDITABLE_TEXT(edit.get()), "A ", -1, &position);
  EXPECT_EQ(position, 2);
  atk_editable_text_delete_text(ATK_EDITABLE_TEXT(edit.get()), 0, 2);
  EXPECT_EQ(window_->FindControl<ui::Edit>(L"printer")->GetText(), L"Dispatch 宋体");
}

TEST_F(AccessibleTreeGtkTest, HiddenAndRemovedControlsGoDefunctAndTheWindowTellsItsChildren) {
  Ref<AtkObject> note = Child("Note");
  Ref<AtkObject> next = Child("Next");
  ASSERT_NE(note, nullptr);
  Heard heard;
  heard.Listen(accessible_, "children-changed::remove", G_CALLBACK(Heard::Children));
  const int before = atk_object_get_n_accessible_children(accessible_);

  ui::Control* label = window_->FindControl(L"note");
  label->SetVisible(false);
  label->GetParent()->RaiseAccessibilityEvent(ui::AccessibleEvent::ChildrenChanged);
  EXPECT_TRUE(Has(note.get(), ATK_STATE_DEFUNCT));
  EXPECT_EQ(atk_object_get_parent(note.get()), nullptr);
  EXPECT_EQ(atk_object_get_n_accessible_children(accessible_), before - 1);
  EXPECT_EQ(heard.lines.size(), 1u);

  label->SetVisible(true);
  label->GetParent()->RaiseAccessibilityEvent(ui::AccessibleEvent::ChildrenChanged);
  Ref<AtkObject> shownAgain = Child("Note");
  ASSERT_NE(shownAgain, nullptr);
  EXPECT_NE(shownAgain.get(), note.get());  // a defunct object stays defunct
  EXPECT_FALSE(Has(shownAgain.get(), ATK_STATE_DEFUNCT));

  // A closed window takes its objects with it; a client's reference stays safe to ask.
  window_.reset();
  Pump();
  EXPECT_TRUE(Has(next.get(), ATK_STATE_DEFUNCT));
  EXPECT_EQ(atk_object_get_n_accessible_children(next.get()), 0);
  EXPECT_FALSE(atk_action_do_action(ATK_ACTION(next.get()), 0));
}

TEST_F(AccessibleTreeGtkTest, NewTextsAndDisablingReachClientsAsTheyHappen) {
  Ref<AtkObject> next = Child("Next");
  ASSERT_NE(next, nullptr);
  Heard heard;
  heard.Listen(next.get(), "property-change::accessible-name", G_CALLBACK(Heard::Property));
  heard.Listen(next.get(), "state-change", G_CALLBACK(Heard::State));
  auto* button = window_->FindControl(L"next");
  button->SetText(L"Siguiente");
  EXPECT_EQ(NameOf(next.get()), "Siguiente");
  button->SetEnabled(false);
  EXPECT_FALSE(Has(next.get(), ATK_STATE_ENABLED));
  EXPECT_EQ(heard.lines, (std::vector<std::string>{"accessible-name", "enabled-", "sensitive-"}));
}

}  // namespace
