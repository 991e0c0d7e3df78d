#include "ui/gtk/HostGtk.h"

#include <gtk/gtk.h>

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <mutex>

#include "base/MessageBus.h"
#include "base/WideText.h"
#include "ui/core/SystemConstants.h"
#include "ui/gtk/GtkGlue.h"
#include "ui/gtk/HostWindowGtk.h"

namespace ui {

namespace {

constexpr unsigned kButtonsMask = 0x0F;  // MB_TYPEMASK
constexpr unsigned kIconMask = 0xF0;     // MB_ICONMASK

struct GFree {
  void operator()(gchar* text) const { g_free(text); }
};

// One dispatch source at a time: a wake that finds one scheduled and not yet started
// needs no second one, since that source will see the message queued before the wake.
std::atomic<bool> dispatchScheduled{false};

gboolean DispatchMessages(gpointer) {
  dispatchScheduled.store(false);
  GuardGtkCallback("window messages", 0, [] { return MessageBus::Instance().DispatchPending(); });
  return G_SOURCE_REMOVE;
}

// Called by the message bus on a sending thread: only thread-safe GLib calls here.
void WakeUiThread() {
  if (!dispatchScheduled.exchange(true)) {
    // Default priority: sent messages go before redraws, as sent messages do on Windows.
    g_idle_add_full(G_PRIORITY_DEFAULT, DispatchMessages, nullptr, nullptr);
  }
  g_main_context_wakeup(nullptr);
}

// Makes this host's loop the one that the message bus wakes; another host (a headless
// one of a test) may have taken or cleared the wake in between.
void ClaimMessageWake() {
  MessageBus::Instance().SetWakeCallback(WakeUiThread);
  // Messages queued while no wake was set are waiting already.
  if (MessageBus::Instance().HasPending()) WakeUiThread();
}

GtkMessageType MessageTypeOf(unsigned flags) {
  switch (flags & kIconMask) {
    case 0x10:
      return GTK_MESSAGE_ERROR;
    case 0x20:
      return GTK_MESSAGE_QUESTION;
    case 0x30:
      return GTK_MESSAGE_WARNING;
    case 0x40:
      return GTK_MESSAGE_INFO;
    default:
      return GTK_MESSAGE_OTHER;
  }
}

// On the UI thread.
int RunMessageBox(WindowHandle owner, const std::wstring& text, const std::wstring& caption, unsigned flags) {
  HostWindowGtk* parent = HostWindowGtk::FromHandle(owner);
  const bool okCancel = (flags & kButtonsMask) == kMbOkCancel;
  GtkWidget* dialog =
      gtk_message_dialog_new(parent != nullptr ? parent->Gtk() : nullptr, GTK_DIALOG_MODAL, MessageTypeOf(flags),
                             okCancel ? GTK_BUTTONS_OK_CANCEL : GTK_BUTTONS_OK, "%s", WideToUtf8(text).c_str());
  gtk_window_set_title(GTK_WINDOW(dialog), WideToUtf8(caption).c_str());
  gtk_window_set_position(GTK_WINDOW(dialog), parent != nullptr ? GTK_WIN_POS_CENTER_ON_PARENT : GTK_WIN_POS_CENTER);
  gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
  const int response = gtk_dialog_run(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
  if (response == GTK_RESPONSE_OK) return kIdOk;
  // A box with only OK answers OK however it is closed, as MessageBoxW does.
  return okCancel ? kIdCancel : kIdOk;
}

struct MessageBoxRequest {
  WindowHandle owner = nullptr;
  std::wstring text;
  std::wstring caption;
  unsigned flags = 0;
  std::mutex lock;
  std::condition_variable answered;
  bool done = false;
  int result = kIdCancel;
};

// Boxes that other threads asked for. They travel through a mutex of ours, not as GLib
// callback data, so the hand-over is one that the thread sanitizer can see.
struct RequestedBoxes {
  std::mutex lock;
  std::deque<std::shared_ptr<MessageBoxRequest>> queue;
};

RequestedBoxes& Requested() {
  static auto* boxes = new RequestedBoxes();  // never destroyed: workers may still ask
  return *boxes;
}

gboolean RunRequestedMessageBoxes(gpointer) {
  for (;;) {
    std::shared_ptr<MessageBoxRequest> request;
    {
      std::lock_guard guard(Requested().lock);
      if (Requested().queue.empty()) return G_SOURCE_REMOVE;
      request = Requested().queue.front();
      Requested().queue.pop_front();
    }
    const int result = GuardGtkCallback("message box", kIdCancel, [&] {
      return RunMessageBox(request->owner, request->text, request->caption, request->flags);
    });
    std::lock_guard guard(request->lock);
    request->result = result;
    request->done = true;
    request->answered.notify_all();
  }
}

}  // namespace

std::unique_ptr<HostGtk> HostGtk::Create(std::string& whyNot) {
  // GTK is initialised once; a failed attempt may be retried once a display exists.
  static bool initialised = false;
  if (!initialised) {
    if (!gtk_init_check(nullptr, nullptr)) {
      const char* display = std::getenv("DISPLAY");
      whyNot = display != nullptr ? std::string("no display: cannot open \"") + display + "\""
                                  : std::string("no display (DISPLAY is not set)");
      return nullptr;
    }
    initialised = true;
  }
  return std::unique_ptr<HostGtk>(new HostGtk());
}

HostGtk::HostGtk() : uiThread_(std::this_thread::get_id()) {
  ClaimMessageWake();
  WatchHighContrast();
}

std::unique_ptr<HostWindow> HostGtk::CreateHostWindow(HostWindowEvents& events, const WindowCreateParams& params) {
  return std::make_unique<HostWindowGtk>(events, params);
}

int HostGtk::RunMessageLoop() {
  ClaimMessageWake();
  while (!quitPosted_) gtk_main_iteration_do(TRUE);
  // The loop takes the quit, as GetMessage takes WM_QUIT.
  quitPosted_ = false;
  return exitCode_;
}

void HostGtk::RunModalLoop(const std::function<bool()>& done) {
  ClaimMessageWake();
  while (!quitPosted_ && !done()) gtk_main_iteration_do(TRUE);
}

void HostGtk::PostQuit(int exitCode) {
  quitPosted_ = true;
  exitCode_ = exitCode;
  g_main_context_wakeup(nullptr);  // a loop blocked in its poll looks at the flag again
}

int HostGtk::ShowMessageBox(WindowHandle owner, const std::wstring& text, const std::wstring& caption, unsigned flags) {
  if (std::this_thread::get_id() == uiThread_) return RunMessageBox(owner, text, caption, flags);
  auto request = std::make_shared<MessageBoxRequest>();
  request->owner = owner;
  request->text = text;
  request->caption = caption;
  request->flags = flags;
  {
    std::lock_guard guard(Requested().lock);
    Requested().queue.push_back(request);
  }
  g_idle_add_full(G_PRIORITY_DEFAULT, RunRequestedMessageBoxes, nullptr, nullptr);
  g_main_context_wakeup(nullptr);
  std::unique_lock guard(request->lock);
  request->answered.wait(guard, [&] { return request->done; });
  return request->result;
}

int HostGtk::DisplayScalePercent() const {
  // QUORVEL_SCALE forces a scale (125, 150 ...) that GDK's whole-number factors cannot.
  if (const char* forced = std::getenv("QUORVEL_SCALE")) {
    const int percent = std::atoi(forced);
    if (percent >= 100 && percent <= 400) return percent;
  }
  GdkDisplay* display = gdk_display_get_default();
  if (display == nullptr) return 100;
  GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
  if (monitor == nullptr) monitor = gdk_display_get_monitor(display, 0);
  return monitor != nullptr ? 100 * gdk_monitor_get_scale_factor(monitor) : 100;
}

std::wstring HostGtk::ClipboardText() const {
  GtkClipboard* clipboard = gtk_clipboard_get(GDK_SELECTION_CLIPBOARD);
  std::unique_ptr<gchar, GFree> text(gtk_clipboard_wait_for_text(clipboard));
  return text ? Utf8ToWide(text.get()) : std::wstring();
}

void HostGtk::SetClipboardText(const std::wstring& text) {
  const std::string utf8 = WideToUtf8(text);
  GtkClipboard* clipboard = gtk_clipboard_get(GDK_SELECTION_CLIPBOARD);
  gtk_clipboard_set_text(clipboard, utf8.c_str(), static_cast<gint>(utf8.size()));
}

}  // namespace ui
