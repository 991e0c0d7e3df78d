// Sections: construction and teardown; HostWindow operations; hit testing and cursors;
// key mapping; signal handlers (paint, mouse, keyboard, focus, size, close); timers.
#include "ui/gtk/HostWindowGtk.h"
#include "ui/core/ResizeBorder.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "base/MessageBus.h"
#include "base/WideText.h"
#include "ui/cairo/CanvasCairo.h"
#include "ui/core/SystemConstants.h"
#include "ui/core/WindowTree.h"
#include "ui/gtk/AccessibleTreeGtk.h"
#include "ui/gtk/AccessibleWindowGtk.h"

namespace ui {

namespace {

// The toolkit's button for a GDK button number; None for the others.
MouseButton ButtonOf(guint button) {
  switch (button) {
    case GDK_BUTTON_PRIMARY:
      return MouseButton::Left;
    case GDK_BUTTON_MIDDLE:
      return MouseButton::Middle;
    case GDK_BUTTON_SECONDARY:
      return MouseButton::Right;
    default:
      return MouseButton::None;
  }
}

constexpr int kMinimumTimerMs = 10;  // USER_TIMER_MINIMUM: the product never fires faster

std::map<WindowHandle, HostWindowGtk*>& LiveWindows() {
  static std::map<WindowHandle, HostWindowGtk*> windows;
  return windows;
}

bool EdgeOf(int hit, GdkWindowEdge& edge) {
  switch (hit) {
    case kHtLeft:
      edge = GDK_WINDOW_EDGE_WEST;
      return true;
    case kHtRight:
      edge = GDK_WINDOW_EDGE_EAST;
      return true;
    case kHtTop:
      edge = GDK_WINDOW_EDGE_NORTH;
      return true;
    case kHtTopLeft:
      edge = GDK_WINDOW_EDGE_NORTH_WEST;
      return true;
    case kHtTopRight:
      edge = GDK_WINDOW_EDGE_NORTH_EAST;
      return true;
    case kHtBottom:
      edge = GDK_WINDOW_EDGE_SOUTH;
      return true;
    case kHtBottomLeft:
      edge = GDK_WINDOW_EDGE_SOUTH_WEST;
      return true;
    case kHtBottomRight:
      edge = GDK_WINDOW_EDGE_SOUTH_EAST;
      return true;
    default:
      return false;
  }
}

const char* CursorNameOf(int hit) {
  switch (hit) {
    case kHtLeft:
    case kHtRight:
      return "ew-resize";
    case kHtTop:
    case kHtBottom:
      return "ns-resize";
    case kHtTopLeft:
    case kHtBottomRight:
      return "nwse-resize";
    case kHtTopRight:
    case kHtBottomLeft:
      return "nesw-resize";
    default:
      return nullptr;
  }
}

intptr_t PackPoint(int x, int y) {
  // MAKELPARAM: signed 16-bit x and y, as GET_X_LPARAM/GET_Y_LPARAM read them back.
  const auto low = static_cast<uint16_t>(static_cast<int16_t>(x));
  const auto high = static_cast<uint16_t>(static_cast<int16_t>(y));
  return static_cast<intptr_t>(static_cast<uint32_t>(low) | (static_cast<uint32_t>(high) << 16));
}

}  // namespace

struct HostWindowGtk::TimerSlot {
  HostWindowGtk* window = nullptr;
  int id = 0;
  guint source = 0;
  TimerSlot(HostWindowGtk* w, int i) : window(w), id(i) {}
  TimerSlot(const TimerSlot&) = delete;
  TimerSlot& operator=(const TimerSlot&) = delete;
  ~TimerSlot() {
    if (source != 0) g_source_remove(source);
  }
};

// ---- construction and teardown -------------------------------------------------------

HostWindowGtk::HostWindowGtk(HostWindowEvents& events, const WindowCreateParams& params)
    : events_(events), params_(params), title_(params.title) {
  GtkWidget* widget = NewAccessibleWindow();
  // GTK holds the toplevel's own reference until it is destroyed; this one keeps the
  // object valid until this host window is deleted.
  widget_.reset(GTK_WIDGET(g_object_ref(widget)));
  GtkWindow* window = GTK_WINDOW(widget);

  gtk_window_set_decorated(window, FALSE);  // the toolkit draws its own caption
  gtk_widget_set_app_paintable(widget, TRUE);
  gtk_widget_set_can_focus(widget, TRUE);
  GdkScreen* screen = gtk_widget_get_screen(widget);
  if (GdkVisual* rgba = gdk_screen_get_rgba_visual(screen); rgba != nullptr && gdk_screen_is_composited(screen)) {
    // The toolkit's drop shadow needs a window with an alpha channel.
    gtk_widget_set_visual(widget, rgba);
    composited_ = true;
  }
  gtk_widget_add_events(widget, GDK_POINTER_MOTION_MASK | GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                                    GDK_SCROLL_MASK | GDK_LEAVE_NOTIFY_MASK | GDK_ENTER_NOTIFY_MASK |
                                    GDK_KEY_PRESS_MASK | GDK_KEY_RELEASE_MASK | GDK_FOCUS_CHANGE_MASK |
                                    GDK_STRUCTURE_MASK);
  gtk_window_set_title(window, WideToUtf8(title_).c_str());
  gtk_window_set_type_hint(window, params.popup ? GDK_WINDOW_TYPE_HINT_DIALOG : GDK_WINDOW_TYPE_HINT_NORMAL);
  if (HostWindowGtk* owner = FromHandle(params.owner)) gtk_window_set_transient_for(window, owner->Gtk());
  if (params.toolWindow) {
    gtk_window_set_skip_taskbar_hint(window, TRUE);
    gtk_window_set_skip_pager_hint(window, TRUE);
  }
  if (params.topmost) gtk_window_set_keep_above(window, TRUE);

  im_.reset(gtk_im_multicontext_new());
  g_signal_connect(im_.get(), "commit", G_CALLBACK(OnImCommit), this);

  g_signal_connect(widget, "draw", G_CALLBACK(OnDraw), this);
  g_signal_connect(widget, "button-press-event", G_CALLBACK(OnButtonPress), this);
  g_signal_connect(widget, "button-release-event", G_CALLBACK(OnButtonRelease), this);
  g_signal_connect(widget, "motion-notify-event", G_CALLBACK(OnMotion), this);
  g_signal_connect(widget, "scroll-event", G_CALLBACK(OnScroll), this);
  g_signal_connect(widget, "leave-notify-event", G_CALLBACK(OnLeave), this);
  g_signal_connect(widget, "key-press-event", G_CALLBACK(OnKeyPress), this);
  g_signal_connect(widget, "key-release-event", G_CALLBACK(OnKeyRelease), this);
  g_signal_connect(widget, "focus-in-event", G_CALLBACK(OnFocusIn), this);
  g_signal_connect(widget, "focus-out-event", G_CALLBACK(OnFocusOut), this);
  g_signal_connect(widget, "size-allocate", G_CALLBACK(OnSizeAllocate), this);
  g_signal_connect(widget, "delete-event", G_CALLBACK(OnDeleteEvent), this);
  g_signal_connect(widget, "destroy", G_CALLBACK(OnDestroy), this);
  g_signal_connect(widget, "realize", G_CALLBACK(OnRealize), this);
  g_signal_connect(widget, "unrealize", G_CALLBACK(OnUnrealize), this);

  SetAccessibleTreeSource(
      widget, [](gpointer self) { return static_cast<HostWindowGtk*>(self)->Accessibility(); }, this);

  SetBounds(params.rect);

  handle_ = MessageBus::Instance().Register([this](uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return events_.OnWindowMessage(message, wParam, lParam);
  });
  LiveWindows()[handle_] = this;
}

HostWindowGtk::~HostWindowGtk() {
  *alive_ = false;
  const bool wasLive = !destroyed_;
  Detach();
  // Handlers stay connected after the destroy signal; the widget may outlive this object.
  g_signal_handlers_disconnect_by_data(widget_.get(), this);
  g_signal_handlers_disconnect_by_data(im_.get(), this);
  if (wasLive) gtk_widget_destroy(widget_.get());
}

// Everything that must stop when the window goes, before the toolkit hears of it.
void HostWindowGtk::Detach() {
  if (destroyed_) return;
  destroyed_ = true;
  timers_.clear();
  ReleaseCapture();
  MessageBus::Instance().Unregister(handle_);
  LiveWindows().erase(handle_);
  gtk_im_context_set_client_window(im_.get(), nullptr);
  SetAccessibleTreeSource(widget_.get(), nullptr, nullptr);
  accessibility_.reset();
}

AccessibleTreeGtk* HostWindowGtk::Accessibility() {
  if (accessibility_ == nullptr && !destroyed_) {
    // A tree without root never tells when it goes; it has nothing to read either.
    WindowTree* tree = events_.AccessibleTree();
    if (tree != nullptr && tree->GetRoot() != nullptr) {
      accessibility_ = std::make_unique<AccessibleTreeGtk>(*tree, widget_.get());
    }
  }
  return accessibility_.get();
}

HostWindowGtk* HostWindowGtk::FromHandle(WindowHandle handle) {
  if (handle == nullptr) return nullptr;
  auto found = LiveWindows().find(handle);
  return found == LiveWindows().end() ? nullptr : found->second;
}

// ---- HostWindow operations -----------------------------------------------------------

int HostWindowGtk::Scale() const {
  return std::max(1, gtk_widget_get_scale_factor(widget_.get()));
}

void HostWindowGtk::SetTitle(const std::wstring& title) {
  title_ = title;
  gtk_window_set_title(Gtk(), WideToUtf8(title).c_str());
}

void HostWindowGtk::SetBounds(const Rect& screenRect) {
  const int scale = Scale();
  const int width = std::max(1, screenRect.Width() / scale);
  const int height = std::max(1, screenRect.Height() / scale);
  gtk_window_move(Gtk(), screenRect.left / scale, screenRect.top / scale);
  gtk_window_set_default_size(Gtk(), width, height);
  gtk_window_resize(Gtk(), width, height);
  ApplySizeHints();
}

Rect HostWindowGtk::Bounds() const {
  const int scale = Scale();
  int x = 0, y = 0, width = 0, height = 0;
  gtk_window_get_position(Gtk(), &x, &y);
  gtk_window_get_size(Gtk(), &width, &height);
  return {x * scale, y * scale, (x + width) * scale, (y + height) * scale};
}

Size HostWindowGtk::ClientSize() const {
  int width = 0, height = 0;
  gtk_window_get_size(Gtk(), &width, &height);
  return {width * Scale(), height * Scale()};
}

void HostWindowGtk::ApplySizeHints() {
  const int scale = Scale();
  GdkGeometry geometry{};
  unsigned hints = 0;
  if (!params_.resizable) {
    // A fixed window keeps the size it was last given; GTK's own non-resizable mode
    // would shrink a window without child widgets to nothing.
    int width = 0, height = 0;
    gtk_window_get_default_size(Gtk(), &width, &height);
    geometry.min_width = geometry.max_width = std::max(1, width);
    geometry.min_height = geometry.max_height = std::max(1, height);
    hints = GDK_HINT_MIN_SIZE | GDK_HINT_MAX_SIZE;
  } else {
    if (params_.minSize.cx > 0 || params_.minSize.cy > 0) {
      geometry.min_width = std::max(1, params_.minSize.cx / scale);
      geometry.min_height = std::max(1, params_.minSize.cy / scale);
      hints |= GDK_HINT_MIN_SIZE;
    }
    if (params_.maxSize.cx > 0 || params_.maxSize.cy > 0) {
      geometry.max_width = params_.maxSize.cx > 0 ? params_.maxSize.cx / scale : G_MAXSHORT;
      geometry.max_height = params_.maxSize.cy > 0 ? params_.maxSize.cy / scale : G_MAXSHORT;
      hints |= GDK_HINT_MAX_SIZE;
    }
  }
  gtk_window_set_geometry_hints(Gtk(), nullptr, &geometry, static_cast<GdkWindowHints>(hints));
}

void HostWindowGtk::CenterOver(WindowHandle owner) {
  const int scale = Scale();
  GdkDisplay* display = gtk_widget_get_display(widget_.get());
  GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
  if (monitor == nullptr) monitor = gdk_display_get_monitor(display, 0);
  Rect work{0, 0, 1 << 15, 1 << 15};
  if (monitor != nullptr) {
    GdkRectangle area{};
    gdk_monitor_get_workarea(monitor, &area);
    work = {area.x * scale, area.y * scale, (area.x + area.width) * scale, (area.y + area.height) * scale};
  }
  HostWindowGtk* over = FromHandle(owner);
  const Rect around = over != nullptr ? over->Bounds() : work;
  const Rect bounds = Bounds();
  int left = around.left + (around.Width() - bounds.Width()) / 2;
  int top = around.top + (around.Height() - bounds.Height()) / 2;
  // Stay on the screen, as the product's centring does.
  left = std::max(work.left, std::min(left, work.right - bounds.Width()));
  top = std::max(work.top, std::min(top, work.bottom - bounds.Height()));
  SetBounds({left, top, left + bounds.Width(), top + bounds.Height()});
}

void HostWindowGtk::Show(bool visible) {
  if (destroyed_) return;
  if (visible) {
    gtk_widget_show(widget_.get());
    gtk_window_present(Gtk());
  } else {
    gtk_widget_hide(widget_.get());
  }
}

void HostWindowGtk::Minimize() {
  gtk_window_iconify(Gtk());
}

void HostWindowGtk::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (!enabled) ReleaseCapture();
}

void HostWindowGtk::Invalidate(const Rect& rect) {
  if (destroyed_ || rect.IsEmpty()) return;
  const int scale = Scale();
  const int left = rect.left / scale;
  const int top = rect.top / scale;
  const int right = (rect.right + scale - 1) / scale;
  const int bottom = (rect.bottom + scale - 1) / scale;
  gtk_widget_queue_draw_area(widget_.get(), left, top, right - left, bottom - top);
}

void HostWindowGtk::InvalidateAll() {
  if (!destroyed_) gtk_widget_queue_draw(widget_.get());
}

void HostWindowGtk::SetTimer(int timerId, int intervalMs) {
  if (destroyed_) return;
  auto slot = std::make_unique<TimerSlot>(this, timerId);
  slot->source = g_timeout_add(static_cast<guint>(std::max(intervalMs, kMinimumTimerMs)), OnTimerTick, slot.get());
  timers_[timerId] = std::move(slot);  // a running timer of the same id is replaced
}

void HostWindowGtk::KillTimer(int timerId) {
  timers_.erase(timerId);
}

void HostWindowGtk::CaptureMouse(bool capture) {
  if (!capture) {
    ReleaseCapture();
    return;
  }
  GdkWindow* window = gtk_widget_get_window(widget_.get());
  if (captured_ || destroyed_ || window == nullptr || !gtk_widget_get_mapped(widget_.get())) return;
  GdkSeat* seat = gdk_display_get_default_seat(gtk_widget_get_display(widget_.get()));
  captured_ = gdk_seat_grab(seat, window, GDK_SEAT_CAPABILITY_ALL_POINTING, FALSE, nullptr, nullptr, nullptr,
                            nullptr) == GDK_GRAB_SUCCESS;
}

void HostWindowGtk::ReleaseCapture() {
  if (!captured_) return;
  captured_ = false;
  gdk_seat_ungrab(gdk_display_get_default_seat(gtk_widget_get_display(widget_.get())));
}

void HostWindowGtk::SetCaretRect(const Rect& caret) {
  const int scale = Scale();
  GdkRectangle area{caret.left / scale, caret.top / scale, std::max(1, caret.Width() / scale),
                    std::max(1, caret.Height() / scale)};
  gtk_im_context_set_cursor_location(im_.get(), &area);
}

void HostWindowGtk::Destroy() {
  if (!destroyed_) gtk_widget_destroy(widget_.get());  // OnDestroy does the rest
}

// ---- hit testing and cursors ---------------------------------------------------------

int HostWindowGtk::BorderHit(Point client) const {
  if (!params_.resizable) return 0;
  return ResizeBorderHit(client, ClientSize(), params_.resizeBorder);
}

int HostWindowGtk::HitTest(Point client, Point screen) {
  const auto answer = static_cast<int>(events_.OnWindowMessage(kWmNcHitTest, 0, PackPoint(screen.x, screen.y)));
  if (answer != 0) return answer;
  const int border = BorderHit(client);
  return border != 0 ? border : kHtClient;
}

void HostWindowGtk::SetResizeCursor(int hit) {
  if (hit == cursorHit_) return;
  GdkWindow* window = gtk_widget_get_window(widget_.get());
  if (window == nullptr) return;
  cursorHit_ = hit;
  const char* name = CursorNameOf(hit);
  GObjectPtr<GdkCursor> cursor(name != nullptr ? gdk_cursor_new_from_name(gtk_widget_get_display(widget_.get()), name)
                                               : nullptr);
  gdk_window_set_cursor(window, cursor.get());
}

// ---- key mapping ---------------------------------------------------------------------

unsigned HostWindowGtk::VirtualKeyFromKeyval(unsigned keyval) {
  if (keyval >= GDK_KEY_a && keyval <= GDK_KEY_z) return 'A' + (keyval - GDK_KEY_a);
  if (keyval >= GDK_KEY_A && keyval <= GDK_KEY_Z) return 'A' + (keyval - GDK_KEY_A);
  if (keyval >= GDK_KEY_0 && keyval <= GDK_KEY_9) return '0' + (keyval - GDK_KEY_0);
  if (keyval >= GDK_KEY_KP_0 && keyval <= GDK_KEY_KP_9) return 96 + (keyval - GDK_KEY_KP_0);
  if (keyval >= GDK_KEY_F1 && keyval <= GDK_KEY_F24) return 112 + (keyval - GDK_KEY_F1);
  struct Pair {
    unsigned keyval;
    unsigned key;
  };
  static constexpr Pair kKeys[] = {
      {GDK_KEY_BackSpace, 8},      {GDK_KEY_Tab, 9},           {GDK_KEY_ISO_Left_Tab, 9},
      {GDK_KEY_KP_Tab, 9},         {GDK_KEY_Clear, 12},        {GDK_KEY_KP_Begin, 12},
      {GDK_KEY_Return, 13},        {GDK_KEY_KP_Enter, 13},     {GDK_KEY_ISO_Enter, 13},
      {GDK_KEY_Shift_L, 16},       {GDK_KEY_Shift_R, 16},      {GDK_KEY_Control_L, 17},
      {GDK_KEY_Control_R, 17},     {GDK_KEY_Alt_L, 18},        {GDK_KEY_Alt_R, 18},
      {GDK_KEY_Meta_L, 18},        {GDK_KEY_Meta_R, 18},       {GDK_KEY_Pause, 19},
      {GDK_KEY_Caps_Lock, 20},     {GDK_KEY_Escape, 27},       {GDK_KEY_space, 32},
      {GDK_KEY_KP_Space, 32},      {GDK_KEY_Page_Up, 33},      {GDK_KEY_KP_Page_Up, 33},
      {GDK_KEY_Page_Down, 34},     {GDK_KEY_KP_Page_Down, 34}, {GDK_KEY_End, 35},
      {GDK_KEY_KP_End, 35},        {GDK_KEY_Home, 36},         {GDK_KEY_KP_Home, 36},
      {GDK_KEY_Left, 37},          {GDK_KEY_KP_Left, 37},      {GDK_KEY_Up, 38},
      {GDK_KEY_KP_Up, 38},         {GDK_KEY_Right, 39},        {GDK_KEY_KP_Right, 39},
      {GDK_KEY_Down, 40},          {GDK_KEY_KP_Down, 40},      {GDK_KEY_Print, 44},
      {GDK_KEY_Insert, 45},        {GDK_KEY_KP_Insert, 45},    {GDK_KEY_Delete, 46},
      {GDK_KEY_KP_Delete, 46},     {GDK_KEY_Super_L, 91},      {GDK_KEY_Super_R, 92},
      {GDK_KEY_Menu, 93},          {GDK_KEY_KP_Multiply, 106}, {GDK_KEY_KP_Add, 107},
      {GDK_KEY_KP_Separator, 108}, {GDK_KEY_KP_Subtract, 109}, {GDK_KEY_KP_Decimal, 110},
      {GDK_KEY_KP_Divide, 111},    {GDK_KEY_Num_Lock, 144},    {GDK_KEY_Scroll_Lock, 145},
      {GDK_KEY_semicolon, 186},    {GDK_KEY_equal, 187},       {GDK_KEY_comma, 188},
      {GDK_KEY_minus, 189},        {GDK_KEY_period, 190},      {GDK_KEY_slash, 191},
      {GDK_KEY_grave, 192},        {GDK_KEY_bracketleft, 219}, {GDK_KEY_backslash, 220},
      {GDK_KEY_bracketright, 221}, {GDK_KEY_apostrophe, 222},
  };
  for (const Pair& pair : kKeys) {
    if (pair.keyval == keyval) return pair.key;
  }
  return 0;
}

unsigned HostWindowGtk::VirtualKeyOf(const GdkEventKey* event) const {
  // Windows names the physical key: Shift+1 is VK '1', not '!'. Translate the hardware
  // key without modifiers, in the event's layout group first, then the first group.
  GdkKeymap* keymap = gdk_keymap_get_for_display(gtk_widget_get_display(widget_.get()));
  for (int group : {static_cast<int>(event->group), 0}) {
    guint plain = 0;
    if (gdk_keymap_translate_keyboard_state(keymap, event->hardware_keycode, static_cast<GdkModifierType>(0), group,
                                            &plain, nullptr, nullptr, nullptr)) {
      if (const unsigned key = VirtualKeyFromKeyval(plain); key != 0) return key;
    }
  }
  return VirtualKeyFromKeyval(gdk_keyval_to_lower(event->keyval));
}

// ---- signal handlers -----------------------------------------------------------------

MouseEvent HostWindowGtk::MakeMouseEvent(MouseAction action, double x, double y, unsigned state) const {
  MouseEvent event;
  event.action = action;
  const int scale = Scale();
  event.position = {static_cast<int>(std::floor(x * scale)), static_cast<int>(std::floor(y * scale))};
  event.shift = (state & GDK_SHIFT_MASK) != 0;
  event.control = (state & GDK_CONTROL_MASK) != 0;
  return event;
}

gboolean HostWindowGtk::OnDraw(GtkWidget*, cairo_t* cr, gpointer self) {
  auto* window = static_cast<HostWindowGtk*>(self);
  return GuardGtkCallback("draw", TRUE, [&] {
    if (window->destroyed_) return TRUE;
    const int scale = window->Scale();
    GdkRectangle clip{};
    if (!gdk_cairo_get_clip_rectangle(cr, &clip)) return TRUE;
    const Rect dirty{clip.x * scale, clip.y * scale, (clip.x + clip.width) * scale, (clip.y + clip.height) * scale};
    cairo_save(cr);
    // The toolkit paints in device pixels; GTK's cairo context counts logical ones.
    if (scale > 1) cairo_scale(cr, 1.0 / scale, 1.0 / scale);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    if (window->composited_) {
      cairo_set_source_rgba(cr, 0, 0, 0, 0);
    } else {
      cairo_set_source_rgb(cr, 1, 1, 1);
    }
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    {
      CanvasCairo canvas(cr);
      window->events_.OnPaint(canvas, dirty);
    }
    cairo_restore(cr);
    return TRUE;
  });
}

gboolean HostWindowGtk::OnButtonPress(GtkWidget*, GdkEventButton* event, gpointer self) {
  auto* window = static_cast<HostWindowGtk*>(self);
  return GuardGtkCallback("button press", TRUE, [&] {
    if (window->destroyed_ || !window->enabled_) return TRUE;
    if (event->type == GDK_3BUTTON_PRESS) return TRUE;
    if (event->type == GDK_BUTTON_PRESS) {
      // Windows reports the second click of a double click only as a double click;
      // GDK queues its 2BUTTON_PRESS right behind this press.
      GdkEvent* next = gdk_event_peek();
      const bool doubleFollows =
          next != nullptr && next->type == GDK_2BUTTON_PRESS && next->button.button == event->button;
      if (next != nullptr) gdk_event_free(next);
      if (doubleFollows) return TRUE;
    }
    const bool doubleClick = event->type == GDK_2BUTTON_PRESS;
    MouseEvent mouse = window->MakeMouseEvent(doubleClick ? MouseAction::DoubleClick : MouseAction::Down, event->x,
                                              event->y, event->state);
    mouse.button = ButtonOf(event->button);
    if (mouse.button == MouseButton::None) return TRUE;
    if (mouse.button == MouseButton::Left) {
      const int scale = window->Scale();
      const Point screen{static_cast<int>(event->x_root * scale), static_cast<int>(event->y_root * scale)};
      auto alive = window->alive_;
      const int hit = window->HitTest(mouse.position, screen);
      if (!*alive || window->destroyed_) return TRUE;
      GdkWindowEdge edge{};
      if (hit == kHtCaption) {
        if (!doubleClick) {
          gtk_window_begin_move_drag(window->Gtk(), static_cast<int>(event->button), static_cast<int>(event->x_root),
                                     static_cast<int>(event->y_root), event->time);
        }
        return TRUE;
      }
      if (EdgeOf(hit, edge)) {
        if (!doubleClick && window->params_.resizable) {
          gtk_window_begin_resize_drag(window->Gtk(), edge, static_cast<int>(event->button),
                                       static_cast<int>(event->x_root), static_cast<int>(event->y_root), event->time);
        }
        return TRUE;
      }
    }
    window->events_.OnMouse(mouse);
    return TRUE;
  });
}

gboolean HostWindowGtk::OnButtonRelease(GtkWidget*, GdkEventButton* event, gpointer self) {
  auto* window = static_cast<HostWindowGtk*>(self);
  return GuardGtkCallback("button release", TRUE, [&] {
    if (window->destroyed_ || !window->enabled_) return TRUE;
    MouseEvent mouse = window->MakeMouseEvent(MouseAction::Up, event->x, event->y, event->state);
    mouse.button = ButtonOf(event->button);
    if (mouse.button == MouseButton::None) return TRUE;
    window->events_.OnMouse(mouse);
    return TRUE;
  });
}

gboolean HostWindowGtk::OnMotion(GtkWidget*, GdkEventMotion* event, gpointer self) {
  auto* window = static_cast<HostWindowGtk*>(self);
  return GuardGtkCallback("motion", TRUE, [&] {
    if (window->destroyed_ || !window->enabled_) return TRUE;
    const MouseEvent mouse = window->MakeMouseEvent(MouseAction::Move, event->x, event->y, event->state);
    const bool buttonHeld = (event->state & (GDK_BUTTON1_MASK | GDK_BUTTON2_MASK | GDK_BUTTON3_MASK)) != 0;
    if (!buttonHeld) window->SetResizeCursor(window->BorderHit(mouse.position));
    window->events_.OnMouse(mouse);
    return TRUE;
  });
}

gboolean HostWindowGtk::OnScroll(GtkWidget*, GdkEventScroll* event, gpointer self) {
  auto* window = static_cast<HostWindowGtk*>(self);
  return GuardGtkCallback("scroll", TRUE, [&] {
    if (window->destroyed_ || !window->enabled_) return TRUE;
    MouseEvent mouse = window->MakeMouseEvent(MouseAction::Wheel, event->x, event->y, event->state);
    if (event->direction == GDK_SCROLL_UP) {
      mouse.wheelDelta = 120;
    } else if (event->direction == GDK_SCROLL_DOWN) {
      mouse.wheelDelta = -120;
    } else {
      return TRUE;  // horizontal wheels: the product has none
    }
    window->events_.OnMouse(mouse);
    return TRUE;
  });
}

gboolean HostWindowGtk::OnLeave(GtkWidget*, GdkEventCrossing* event, gpointer self) {
  auto* window = static_cast<HostWindowGtk*>(self);
  return GuardGtkCallback("leave", FALSE, [&] {
    // Grabs and moves into child windows are no real leave.
    if (window->destroyed_ || event->mode != GDK_CROSSING_NORMAL || event->detail == GDK_NOTIFY_INFERIOR) return FALSE;
    window->events_.OnMouse(window->MakeMouseEvent(MouseAction::Leave, event->x, event->y, event->state));
    return FALSE;
  });
}

gboolean HostWindowGtk::OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer self) {
  auto* window = static_cast<HostWindowGtk*>(self);
  return GuardGtkCallback("key press", TRUE, [&] {
    if (window->destroyed_ || !window->enabled_) return TRUE;
    KeyEvent key;
    key.down = true;
    key.key = window->VirtualKeyOf(event);
    key.shift = (event->state & GDK_SHIFT_MASK) != 0;
    key.control = (event->state & GDK_CONTROL_MASK) != 0;
    key.alt = (event->state & GDK_MOD1_MASK) != 0;
    if (key.alt && key.key == kVkF4) {
      window->events_.OnCloseRequest();  // the system-command close, as Alt+F4 on Windows
      return TRUE;
    }
    // The input method sees the key first: a key it keeps for a composition is no key
    // press for the toolkit; text it commits at once follows the key, as WM_CHAR does.
    window->filtering_ = true;
    window->filteredText_.clear();
    const bool filtered = gtk_im_context_filter_keypress(window->im_.get(), event);
    window->filtering_ = false;
    const std::wstring text = std::move(window->filteredText_);
    window->filteredText_.clear();
    if (filtered && text.empty()) return TRUE;
    auto alive = window->alive_;
    if (key.key != 0) window->events_.OnKey(key);
    if (!*alive || window->destroyed_) return TRUE;
    if (!text.empty()) window->events_.OnText(text);
    return TRUE;
  });
}

gboolean HostWindowGtk::OnKeyRelease(GtkWidget*, GdkEventKey* event, gpointer self) {
  auto* window = static_cast<HostWindowGtk*>(self);
  return GuardGtkCallback("key release", TRUE, [&] {
    if (window->destroyed_ || !window->enabled_) return TRUE;
    if (gtk_im_context_filter_keypress(window->im_.get(), event)) return TRUE;
    KeyEvent key;
    key.down = false;
    key.key = window->VirtualKeyOf(event);
    key.shift = (event->state & GDK_SHIFT_MASK) != 0;
    key.control = (event->state & GDK_CONTROL_MASK) != 0;
    key.alt = (event->state & GDK_MOD1_MASK) != 0;
    if (key.key != 0) window->events_.OnKey(key);
    return TRUE;
  });
}

void HostWindowGtk::OnImCommit(GtkIMContext*, gchar* text, gpointer self) {
  auto* window = static_cast<HostWindowGtk*>(self);
  GuardGtkCallback("input method commit", 0, [&] {
    std::wstring wide = Utf8ToWide(text != nullptr ? text : "");
    if (window->filtering_) {
      window->filteredText_ += wide;
    } else if (!window->destroyed_ && !wide.empty()) {
      window->events_.OnText(wide);  // committed later, after a composition
    }
    return 0;
  });
}

gboolean HostWindowGtk::OnFocusIn(GtkWidget*, GdkEventFocus*, gpointer self) {
  auto* window = static_cast<HostWindowGtk*>(self);
  return GuardGtkCallback("focus in", FALSE, [&] {
    if (window->destroyed_) return FALSE;
    gtk_im_context_focus_in(window->im_.get());
    auto alive = window->alive_;
    window->events_.OnFocusChanged(true);
    if (*alive && window->accessibility_ != nullptr) window->accessibility_->WindowFocused();
    return FALSE;
  });
}

gboolean HostWindowGtk::OnFocusOut(GtkWidget*, GdkEventFocus*, gpointer self) {
  auto* window = static_cast<HostWindowGtk*>(self);
  return GuardGtkCallback("focus out", FALSE, [&] {
    if (window->destroyed_) return FALSE;
    gtk_im_context_focus_out(window->im_.get());
    window->events_.OnFocusChanged(false);
    return FALSE;
  });
}

void HostWindowGtk::OnSizeAllocate(GtkWidget*, GdkRectangle* allocation, gpointer self) {
  auto* window = static_cast<HostWindowGtk*>(self);
  GuardGtkCallback("size allocate", 0, [&] {
    if (window->destroyed_) return 0;
    const int scale = window->Scale();
    const Size size{allocation->width * scale, allocation->height * scale};
    if (size == window->lastClientSize_) return 0;
    window->lastClientSize_ = size;
    window->events_.OnResize(size);
    return 0;
  });
}

gboolean HostWindowGtk::OnDeleteEvent(GtkWidget*, GdkEvent*, gpointer self) {
  auto* window = static_cast<HostWindowGtk*>(self);
  return GuardGtkCallback("delete event", TRUE, [&] {
    // The toolkit decides whether and how the window closes.
    if (!window->destroyed_) window->events_.OnCloseRequest();
    return TRUE;
  });
}

void HostWindowGtk::OnDestroy(GtkWidget*, gpointer self) {
  auto* window = static_cast<HostWindowGtk*>(self);
  GuardGtkCallback("destroy", 0, [&] {
    if (window->destroyed_) return 0;
    window->Detach();
    window->events_.OnDestroyed();  // may delete the window: nothing after this
    return 0;
  });
}

void HostWindowGtk::OnRealize(GtkWidget* widget, gpointer self) {
  auto* window = static_cast<HostWindowGtk*>(self);
  gtk_im_context_set_client_window(window->im_.get(), gtk_widget_get_window(widget));
}

void HostWindowGtk::OnUnrealize(GtkWidget*, gpointer self) {
  auto* window = static_cast<HostWindowGtk*>(self);
  gtk_im_context_set_client_window(window->im_.get(), nullptr);
}

// ---- timers --------------------------------------------------------------------------

gboolean HostWindowGtk::OnTimerTick(gpointer data) {
  auto* slot = static_cast<TimerSlot*>(data);
  // OnTimer may kill this timer or destroy the window, deleting the slot: copy first.
  HostWindowGtk* window = slot->window;
  const int id = slot->id;
  GuardGtkCallback("timer", 0, [&] {
    window->events_.OnTimer(id);
    return 0;
  });
  return G_SOURCE_CONTINUE;
}

}  // namespace ui
