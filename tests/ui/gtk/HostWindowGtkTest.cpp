// The GTK host against a real X display (scripts/test starts Xvfb and sets DISPLAY).
#include <gtest/gtest.h>

#include <gtk/gtk.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "WaitUntil.h"
#include "base/MessageBus.h"
#include "base/WideText.h"
#include "base/WindowMessage.h"
#include "ui/gtk/GtkBoxAnswer.h"
#include "ui/gtk/GtkTestSupport.h"
#include "ui/gtk/HostGtk.h"
#include "ui/gtk/HostWindowGtk.h"

namespace {

using namespace std::chrono_literals;
using ui::HostGtk;
using ui::HostWindow;
using ui::HostWindowGtk;

// Records what the host reports, as a toolkit window would receive it.
struct Recorder : ui::HostWindowEvents {
  int paints = 0;
  ui::Rect lastDirty;
  std::vector<ui::MouseEvent> mouse;
  std::vector<ui::KeyEvent> keys;
  std::wstring text;
  std::vector<int> timers;
  std::vector<ui::Size> resizes;
  int closeRequests = 0;
  int destroyed = 0;
  intptr_t hitAnswer = 0;  // the answer to WM_NCHITTEST; 0 = not handled
  std::vector<uint32_t> messages;
  std::thread::id messageThread;
  std::function<void(int)> onTimer;
  std::function<void()> onDestroyed;

  void OnPaint(ui::Canvas& canvas, const ui::Rect& dirty) override {
    ++paints;
    lastDirty = dirty;
    canvas.FillRect(dirty, 0xFFFFFFFF);
  }
  void OnMouse(const ui::MouseEvent& event) override { mouse.push_back(event); }
  void OnKey(const ui::KeyEvent& event) override { keys.push_back(event); }
  void OnText(const std::wstring& typed) override { text += typed; }
  void OnTimer(int id) override {
    timers.push_back(id);
    if (onTimer) onTimer(id);
  }
  void OnResize(ui::Size size) override { resizes.push_back(size); }
  void OnFocusChanged(bool) override {}
  void OnCloseRequest() override { ++closeRequests; }
  void OnDestroyed() override {
    ++destroyed;
    if (onDestroyed) onDestroyed();
  }
  intptr_t OnWindowMessage(uint32_t message, uintptr_t wParam, intptr_t) override {
    if (message == 0x0084) return hitAnswer;
    messages.push_back(message);
    messageThread = std::this_thread::get_id();
    return static_cast<intptr_t>(wParam) * 2;
  }
  std::vector<ui::MouseEvent> Pressed() const {
    std::vector<ui::MouseEvent> out;
    for (const auto& m : mouse)
      if (m.action != ui::MouseAction::Move && m.action != ui::MouseAction::Leave) out.push_back(m);
    return out;
  }
};

class HostWindowGtkTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string whyNot;
    host_ = gtktest::MakeTestHost(whyNot);
    if (host_ == nullptr && whyNot.empty()) GTEST_SKIP() << "DISPLAY is not set: the GTK host needs an X server (Xvfb)";
    ASSERT_NE(host_, nullptr) << whyNot;
  }

  std::unique_ptr<HostWindow> MakeWindow(Recorder& events, ui::Rect rect = {100, 120, 420, 360}) {
    ui::WindowCreateParams params;
    params.title = L"Quorvel 宋体";
    params.rect = rect;
    params.captionHeight = 64;
    params.resizeBorder = {4, 4, 6, 6};
    params.minSize = {160, 120};
    return host_->CreateHostWindow(events, params);
  }

  static bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 5s) {
    return gtktest::PumpUntil(done, limit);
  }
  // Runs the loop until a timer of that length has fired: every timer due before it (a
  // killed one, or one of a destroyed window) would have fired by then.
  static bool PumpPast(std::chrono::milliseconds span) {
    bool fired = false;
    const guint source = g_timeout_add(
        static_cast<guint>(span.count()),
        [](gpointer flag) -> gboolean {
          *static_cast<bool*>(flag) = true;
          return G_SOURCE_REMOVE;
        },
        &fired);
    if (PumpUntil([&] { return fired; })) return true;
    g_source_remove(source);
    return false;
  }
  // Runs the loop until nothing is pending: events already put are handled.
  static void PumpUntilIdle() {
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
  }

  static GtkWidget* Widget(HostWindow& window) { return GTK_WIDGET(static_cast<HostWindowGtk&>(window).Gtk()); }

  static void ShowAndWait(HostWindow& window, Recorder& events) {
    window.Show(true);
    ASSERT_TRUE(PumpUntil([&] { return gtk_widget_get_mapped(Widget(window)) && events.paints > 0; }));
  }

  // Puts a pointer event into GDK's queue, as the X server would deliver it.
  static void PutButton(HostWindow& window, GdkEventType type, unsigned button, double x, double y) {
    GdkEvent* event = gdk_event_new(type);
    GdkWindow* target = gtk_widget_get_window(Widget(window));
    event->button.window = GDK_WINDOW(g_object_ref(target));
    event->button.button = button;
    event->button.x = x;
    event->button.y = y;
    event->button.time = GDK_CURRENT_TIME;
    GdkSeat* seat = gdk_display_get_default_seat(gdk_window_get_display(target));
    gdk_event_set_device(event, gdk_seat_get_pointer(seat));
    gdk_event_put(event);
    gdk_event_free(event);
  }
  static void PutScroll(HostWindow& window, GdkScrollDirection direction) {
    GdkEvent* event = gdk_event_new(GDK_SCROLL);
    GdkWindow* target = gtk_widget_get_window(Widget(window));
    event->scroll.window = GDK_WINDOW(g_object_ref(target));
    event->scroll.direction = direction;
    event->scroll.x = 50;
    event->scroll.y = 80;
    gdk_event_set_device(event, gdk_seat_get_pointer(gdk_display_get_default_seat(gdk_window_get_display(target))));
    gdk_event_put(event);
    gdk_event_free(event);
  }

  // Delivers a key as the keyboard would: the key value and its hardware key code.
  static void SendKey(HostWindow& window, guint keyval, unsigned state, bool press = true) {
    GtkWidget* widget = Widget(window);
    GdkWindow* target = gtk_widget_get_window(widget);
    GdkEvent* event = gdk_event_new(press ? GDK_KEY_PRESS : GDK_KEY_RELEASE);
    event->key.window = GDK_WINDOW(g_object_ref(target));
    event->key.keyval = keyval;
    event->key.state = state;
    event->key.time = GDK_CURRENT_TIME;
    GdkKeymapKey* keys = nullptr;
    gint count = 0;
    if (gdk_keymap_get_entries_for_keyval(gdk_keymap_get_for_display(gdk_window_get_display(target)), keyval, &keys,
                                          &count) &&
        count > 0) {
      event->key.hardware_keycode = static_cast<guint16>(keys[0].keycode);
      event->key.group = static_cast<guint8>(keys[0].group);
    }
    g_free(keys);
    gdk_event_set_device(event, gdk_seat_get_keyboard(gdk_display_get_default_seat(gdk_window_get_display(target))));
    gtk_widget_event(widget, event);
    gdk_event_free(event);
  }

  std::unique_ptr<HostGtk> host_;
};

TEST_F(HostWindowGtkTest, ShowsAnUndecoratedWindowWithItsTitleSizeAndPaint) {
  Recorder events;
  auto window = MakeWindow(events);
  ShowAndWait(*window, events);
  GtkWindow* gtkWindow = static_cast<HostWindowGtk&>(*window).Gtk();
  EXPECT_STREQ(gtk_window_get_title(gtkWindow), "Quorvel 宋体");
  EXPECT_EQ(window->Title(), L"Quorvel 宋体");
  EXPECT_FALSE(gtk_window_get_decorated(gtkWindow));
  EXPECT_EQ(window->ClientSize(), (ui::Size{320, 240}));
  ASSERT_FALSE(events.resizes.empty());
  EXPECT_EQ(events.resizes.back(), (ui::Size{320, 240}));
  EXPECT_TRUE(PumpUntil([&] { return window->Bounds() == ui::Rect{100, 120, 420, 360}; })) << window->Bounds().left;

  window->SetTitle(L"ภาษาไทย");
  EXPECT_STREQ(gtk_window_get_title(gtkWindow), "ภาษาไทย");

  // A damaged rectangle comes back as a paint that covers it.
  const int before = events.paints;
  window->Invalidate({10, 20, 30, 40});
  ASSERT_TRUE(PumpUntil([&] { return events.paints > before; }));
  EXPECT_TRUE(events.lastDirty.Intersect({10, 20, 30, 40}) == (ui::Rect{10, 20, 30, 40}));

  window->SetBounds({50, 60, 450, 360});
  EXPECT_TRUE(PumpUntil([&] { return !events.resizes.empty() && events.resizes.back() == ui::Size{400, 300}; }));
}

TEST_F(HostWindowGtkTest, WorkerMessagesRunOnTheUiThreadWhileTheSenderWaits) {
  Recorder events;
  auto window = MakeWindow(events);
  const ui::WindowHandle handle = window->Handle();
  ASSERT_TRUE(ui::MessageBus::Instance().IsWindow(handle));
  std::vector<intptr_t> results;
  std::atomic<bool> finished{false};
  size_t seenBySender = 0;
  std::thread worker([&] {
    results.push_back(ui::SendWindowMessage(handle, 752, 21, 0));
    results.push_back(ui::SendWindowMessage(handle, 753, 1, 0));
    seenBySender = events.messages.size();  // both handled before each send returned
    finished = true;
  });
  const bool done = PumpUntil([&] { return finished.load(); });
  // A host that never dispatches: release the worker (dispatching for it, or at last
  // unregistering the window, which returns its send), then fail.
  const bool released = WaitUntil([&] {
    ui::MessageBus::Instance().DispatchPending();
    return finished.load();
  });
  if (!released) ui::MessageBus::Instance().Unregister(handle);
  worker.join();
  ASSERT_TRUE(done) << "the host never ran the worker's messages";
  EXPECT_EQ(results, (std::vector<intptr_t>{42, 2}));
  EXPECT_EQ(events.messages, (std::vector<uint32_t>{752, 753}));
  EXPECT_EQ(seenBySender, 2u);
  EXPECT_EQ(events.messageThread, std::this_thread::get_id());
}

TEST_F(HostWindowGtkTest, DestroyEndsTheWindowTimersAndPendingSends) {
  Recorder events;
  std::unique_ptr<HostWindow> window = MakeWindow(events);
  const ui::WindowHandle handle = window->Handle();
  ShowAndWait(*window, events);
  window->SetTimer(1, 10);

  // A worker waits on a message that the UI thread has not run when the user closes.
  auto waiting = std::async(std::launch::async, [&] { return ui::SendWindowMessage(handle, 752, 5, 0); });
  EXPECT_TRUE(WaitUntil([] { return ui::MessageBus::Instance().HasPending(); })) << "the send never arrived";
  // The toolkit deletes its host window when told it is gone.
  events.onDestroyed = [&] { window.reset(); };
  HostWindow* raw = window.get();
  raw->Destroy();
  EXPECT_EQ(events.destroyed, 1);
  EXPECT_EQ(window, nullptr);
  ASSERT_EQ(waiting.wait_for(2s), std::future_status::ready);
  EXPECT_EQ(waiting.get(), 0);

  // Later sends fail at once, with no loop running.
  auto late = std::async(std::launch::async, [&] { return ui::SendWindowMessage(handle, 752, 5, 0); });
  ASSERT_EQ(late.wait_for(2s), std::future_status::ready);
  EXPECT_EQ(late.get(), 0);
  EXPECT_EQ(HostWindowGtk::FromHandle(handle), nullptr);
  ASSERT_TRUE(PumpPast(60ms));
  EXPECT_TRUE(events.timers.empty());
  EXPECT_TRUE(events.messages.empty());
}

TEST_F(HostWindowGtkTest, TimersRepeatPerIdUntilKilled) {
  Recorder events;
  auto window = MakeWindow(events);
  window->SetTimer(7, 10);
  window->SetTimer(8, 15);
  int sevens = 0;
  events.onTimer = [&](int id) {
    if (id == 7 && ++sevens == 3) window->KillTimer(7);  // killed from its own tick
  };
  ASSERT_TRUE(PumpUntil([&] { return sevens == 3; }));
  window->KillTimer(8);
  const size_t ticks = events.timers.size();
  ASSERT_TRUE(PumpPast(80ms));
  EXPECT_EQ(events.timers.size(), ticks);
  EXPECT_EQ(sevens, 3);
  EXPECT_NE(std::find(events.timers.begin(), events.timers.end(), 8), events.timers.end());
}

TEST_F(HostWindowGtkTest, ModalLoopEndsOnDoneAndAQuitEndsEveryLoop) {
  Recorder events;
  auto window = MakeWindow(events);
  int ticks = 0;
  events.onTimer = [&](int) { ++ticks; };
  window->SetTimer(1, 10);
  host_->RunModalLoop([&] { return ticks >= 3; });
  EXPECT_GE(ticks, 3);
  EXPECT_FALSE(host_->QuitPosted());

  events.onTimer = [&](int) {
    if (++ticks == 5) host_->PostQuit(3);
  };
  host_->RunModalLoop([] { return false; });
  EXPECT_TRUE(host_->QuitPosted());  // stays posted for the outer loop
  EXPECT_EQ(host_->RunMessageLoop(), 3);
  EXPECT_FALSE(host_->QuitPosted());
}

TEST_F(HostWindowGtkTest, MessageBoxesAnswerOkOrCancel) {
  Recorder events;
  auto window = MakeWindow(events);
  ShowAndWait(*window, events);

  BoxAnswer ok;
  ok.Arm();
  EXPECT_EQ(host_->ShowMessageBox(window->Handle(), L"Delete COM3:?", L"Quorvel", 0x41), 1);
  EXPECT_EQ(ok.title, "Quorvel");
  EXPECT_EQ(ok.type, GTK_MESSAGE_INFO);
  EXPECT_EQ(ok.parent, static_cast<HostWindowGtk&>(*window).Gtk());

  BoxAnswer cancel;
  cancel.response = GTK_RESPONSE_CANCEL;
  cancel.Arm();
  EXPECT_EQ(host_->ShowMessageBox(window->Handle(), L"Delete COM3:?", L"Quorvel", 0x41), 2);

  BoxAnswer closed;
  closed.response = GTK_RESPONSE_DELETE_EVENT;
  closed.Arm();
  EXPECT_EQ(host_->ShowMessageBox(nullptr, L"Delete COM3:?", L"Quorvel", 0x01), 2);
  EXPECT_EQ(closed.parent, nullptr);

  // A notice closed by its frame still answers OK, as MessageBoxW does.
  BoxAnswer notice;
  notice.response = GTK_RESPONSE_DELETE_EVENT;
  notice.Arm();
  EXPECT_EQ(host_->ShowMessageBox(nullptr, L"加载资源文件失败：XML_MAIN", L"Quorvel", 0x10), 1);
  EXPECT_EQ(notice.type, GTK_MESSAGE_ERROR);
}

TEST_F(HostWindowGtkTest, AWorkersMessageBoxRunsOnTheUiThreadAndBlocksTheWorker) {
  Recorder events;
  auto window = MakeWindow(events);
  ShowAndWait(*window, events);
  BoxAnswer answer;
  answer.response = GTK_RESPONSE_CANCEL;
  answer.Arm();
  // The worker owns its share of the answer, so a test that gives up cannot hang on it.
  auto result = std::make_shared<std::atomic<int>>(0);
  std::thread([result, host = host_.get(), owner = window->Handle()] {
    *result = host->ShowMessageBox(owner, L"port?", L"Quorvel", 0x41);
  }).detach();
  ASSERT_TRUE(PumpUntil([&] { return *result != 0; })) << "the box was never shown on the UI thread";
  EXPECT_EQ(*result, 2);
  EXPECT_TRUE(answer.answered);
  EXPECT_EQ(answer.parent, static_cast<HostWindowGtk&>(*window).Gtk());
}

TEST_F(HostWindowGtkTest, KeysArriveAsVirtualKeysFollowedByTheirText) {
  Recorder events;
  auto window = MakeWindow(events);
  ShowAndWait(*window, events);

  SendKey(*window, GDK_KEY_a, 0);
  SendKey(*window, GDK_KEY_exclam, GDK_SHIFT_MASK);  // Shift+1 names the key '1'
  SendKey(*window, GDK_KEY_Return, 0);
  SendKey(*window, GDK_KEY_Escape, 0, false);
  ASSERT_EQ(events.keys.size(), 4u);
  EXPECT_EQ(events.keys[0].key, 65u);
  EXPECT_EQ(events.keys[1].key, 49u);
  EXPECT_TRUE(events.keys[1].shift);
  EXPECT_EQ(events.keys[2].key, 13u);
  EXPECT_EQ(events.keys[3].key, 27u);
  EXPECT_FALSE(events.keys[3].down);
  EXPECT_EQ(events.text, L"a!");  // Return types no text

  // The keys the controls act on carry the Windows codes.
  const std::pair<guint, unsigned> named[] = {{GDK_KEY_Tab, 9},   {GDK_KEY_BackSpace, 8}, {GDK_KEY_Delete, 46},
                                              {GDK_KEY_Left, 37}, {GDK_KEY_Down, 40},     {GDK_KEY_Home, 36},
                                              {GDK_KEY_End, 35},  {GDK_KEY_F4, 115},      {GDK_KEY_z, 90},
                                              {GDK_KEY_9, 57},    {GDK_KEY_KP_Enter, 13}, {GDK_KEY_Page_Down, 34}};
  for (const auto& [keyval, key] : named) EXPECT_EQ(HostWindowGtk::VirtualKeyFromKeyval(keyval), key) << keyval;

  // Alt+F4 is the close command, not a key for the controls.
  SendKey(*window, GDK_KEY_F4, GDK_MOD1_MASK);
  EXPECT_EQ(events.closeRequests, 1);
  EXPECT_EQ(events.keys.size(), 4u);

  // A disabled window (the owner of a modal popup) takes no input.
  window->SetEnabled(false);
  SendKey(*window, GDK_KEY_b, 0);
  EXPECT_EQ(events.keys.size(), 4u);
  EXPECT_EQ(events.text, L"a!");
}

TEST_F(HostWindowGtkTest, MouseEventsFollowTheWindowsOrder) {
  Recorder events;
  auto window = MakeWindow(events);
  ShowAndWait(*window, events);
  using ui::MouseAction;

  PutButton(*window, GDK_BUTTON_PRESS, 1, 30, 140);
  PutButton(*window, GDK_BUTTON_RELEASE, 1, 30, 140);
  // The second click of a double click: GDK gives a press and a double press.
  PutButton(*window, GDK_BUTTON_PRESS, 1, 31, 140);
  PutButton(*window, GDK_2BUTTON_PRESS, 1, 31, 140);
  PutButton(*window, GDK_BUTTON_RELEASE, 1, 31, 140);
  PutButton(*window, GDK_BUTTON_PRESS, 3, 60, 150);
  PutScroll(*window, GDK_SCROLL_UP);
  PutScroll(*window, GDK_SCROLL_DOWN);
  ASSERT_TRUE(PumpUntil([&] { return events.Pressed().size() >= 7; }));
  const auto pressed = events.Pressed();
  ASSERT_EQ(pressed.size(), 7u);
  EXPECT_EQ(pressed[0].action, MouseAction::Down);
  EXPECT_EQ(pressed[0].button, ui::MouseButton::Left);
  EXPECT_EQ(pressed[0].position, (ui::Point{30, 140}));
  EXPECT_EQ(pressed[1].action, MouseAction::Up);
  EXPECT_EQ(pressed[2].action, MouseAction::DoubleClick);
  EXPECT_EQ(pressed[3].action, MouseAction::Up);
  EXPECT_EQ(pressed[4].button, ui::MouseButton::Right);
  EXPECT_EQ(pressed[5].action, MouseAction::Wheel);
  EXPECT_EQ(pressed[5].wheelDelta, 120);
  EXPECT_EQ(pressed[6].wheelDelta, -120);
  PutButton(*window, GDK_BUTTON_RELEASE, 3, 60, 150);
  PumpUntilIdle();
}

TEST_F(HostWindowGtkTest, TheToolkitsHitTestDecidesWhatAPressInTheCaptionIs) {
  Recorder events;
  auto window = MakeWindow(events);
  ShowAndWait(*window, events);

  // On a caption button the toolkit answers HTCLIENT: the press is the button's.
  events.hitAnswer = 1;
  PutButton(*window, GDK_BUTTON_PRESS, 1, 300, 20);
  PutButton(*window, GDK_BUTTON_RELEASE, 1, 300, 20);
  ASSERT_TRUE(PumpUntil([&] { return events.Pressed().size() == 2; }));

  // On the bare caption it answers HTCAPTION: the window is dragged, the controls see nothing.
  events.hitAnswer = 2;
  PutButton(*window, GDK_BUTTON_PRESS, 1, 100, 20);
  PumpUntilIdle();
  EXPECT_EQ(events.Pressed().size(), 2u);
  PutButton(*window, GDK_BUTTON_RELEASE, 1, 100, 20);
  PumpUntilIdle();
}

TEST_F(HostWindowGtkTest, CloseRequestsAndPopupsAreTheToolkitsToHandle) {
  Recorder ownerEvents;
  auto owner = MakeWindow(ownerEvents, {100, 100, 700, 600});
  ShowAndWait(*owner, ownerEvents);

  // The frame's close leaves the window open: the toolkit decides.
  gtk_window_close(static_cast<HostWindowGtk&>(*owner).Gtk());
  ASSERT_TRUE(PumpUntil([&] { return ownerEvents.closeRequests == 1; }));
  EXPECT_EQ(ownerEvents.destroyed, 0);
  EXPECT_TRUE(gtk_widget_get_visible(Widget(*owner)));

  Recorder popupEvents;
  ui::WindowCreateParams params;
  params.owner = owner->Handle();
  params.rect = {0, 0, 200, 100};
  params.popup = params.toolWindow = params.topmost = true;
  params.resizable = false;
  auto popup = host_->CreateHostWindow(popupEvents, params);
  GtkWindow* popupWindow = static_cast<HostWindowGtk&>(*popup).Gtk();
  EXPECT_EQ(gtk_window_get_transient_for(popupWindow), static_cast<HostWindowGtk&>(*owner).Gtk());
  EXPECT_TRUE(gtk_window_get_skip_taskbar_hint(popupWindow));
  popup->CenterOver(owner->Handle());
  ShowAndWait(*popup, popupEvents);
  EXPECT_TRUE(PumpUntil([&] { return popup->Bounds() == ui::Rect{300, 300, 500, 400}; }));
  EXPECT_EQ(popup->ClientSize(), (ui::Size{200, 100}));
}

TEST_F(HostWindowGtkTest, ScaleCanBeForcedAndTheClipboardKeepsText) {
  setenv("QUORVEL_SCALE", "150", 1);
  EXPECT_EQ(host_->DisplayScalePercent(), 150);
  unsetenv("QUORVEL_SCALE");
  EXPECT_EQ(host_->DisplayScalePercent() % 100, 0);

  host_->SetClipboardText(L"COM3: 宋体");
  EXPECT_EQ(host_->ClipboardText(), L"COM3: 宋体");
}

}  // namespace

TEST_F(HostWindowGtkTest, TheWizardsKeysReachTheToolkitAndStayThere) {
  Recorder events;
  auto window = MakeWindow(events);
  ShowAndWait(*window, events);
  // Shift+Tab comes as ISO_Left_Tab; GTK must not move its own focus on Tab.
  SendKey(*window, GDK_KEY_Tab, 0);
  SendKey(*window, GDK_KEY_ISO_Left_Tab, GDK_SHIFT_MASK);
  SendKey(*window, GDK_KEY_space, 0);
  SendKey(*window, GDK_KEY_Up, 0);
  SendKey(*window, GDK_KEY_KP_Down, 0);
  ASSERT_EQ(events.keys.size(), 5u);
  EXPECT_EQ(events.keys[0].key, 9u);
  EXPECT_FALSE(events.keys[0].shift);
  EXPECT_EQ(events.keys[1].key, 9u);
  EXPECT_TRUE(events.keys[1].shift);
  EXPECT_EQ(events.keys[2].key, 32u);
  EXPECT_EQ(events.keys[3].key, 38u);
  EXPECT_EQ(events.keys[4].key, 40u);
  EXPECT_EQ(events.text, L" ");  // Space is a key for buttons and a blank for edits
}
