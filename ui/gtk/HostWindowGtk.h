// A top-level window of the GTK host (Linux build): an undecorated GtkWindow that the
// toolkit paints through a cairo canvas and that reports input, timers and window
// messages to its HostWindowEvents.
//
// Lifecycle: created by HostGtk::CreateHostWindow; Destroy() destroys the GtkWindow and
// OnDestroyed follows (the events object may delete this HostWindowGtk from there).
// Deleting a HostWindowGtk that was not destroyed destroys the GtkWindow quietly, without
// OnDestroyed.
//
// Threads: UI thread only (the thread that initialised GTK). Other threads reach the
// window only through ui::SendWindowMessage with its Handle().
//
// Caption and borders: a left press asks the toolkit where it is, as the system asks a
// window on Windows: OnWindowMessage(WM_NCHITTEST 0x84, 0, lParam = screen x in the low
// and y in the high 16 bits). HTCAPTION (2) drags the window, HTLEFT..HTBOTTOMRIGHT
// (10..17) resize it, HTCLIENT (1) delivers the press to OnMouse. An answer of 0 (not
// handled) falls back to the resize border of the create parameters, else the client.
#pragma once

#include <gtk/gtk.h>

#include <map>
#include <memory>
#include <string>

#include "ui/core/Host.h"
#include "ui/gtk/GtkGlue.h"

namespace ui {

class AccessibleTreeGtk;

class HostWindowGtk final : public HostWindow {
 public:
  HostWindowGtk(HostWindowEvents& events, const WindowCreateParams& params);
  ~HostWindowGtk() override;
  HostWindowGtk(const HostWindowGtk&) = delete;
  HostWindowGtk& operator=(const HostWindowGtk&) = delete;

  WindowHandle Handle() const override { return handle_; }
  void SetTitle(const std::wstring& title) override;
  std::wstring Title() const override { return title_; }
  void SetBounds(const Rect& screenRect) override;
  Rect Bounds() const override;
  Size ClientSize() const override;
  void CenterOver(WindowHandle owner) override;
  void Show(bool visible) override;
  void Minimize() override;
  void SetEnabled(bool enabled) override;
  bool IsEnabled() const override { return enabled_; }
  void Invalidate(const Rect& rect) override;
  void InvalidateAll() override;
  void SetTimer(int timerId, int intervalMs) override;
  void KillTimer(int timerId) override;
  void CaptureMouse(bool capture) override;
  void SetCaretRect(const Rect& caret) override;
  void Destroy() override;

  GtkWindow* Gtk() const { return GTK_WINDOW(widget_.get()); }
  // The live window with this handle, or null.
  static HostWindowGtk* FromHandle(WindowHandle handle);
  // The window's controls as ATK objects, made when the window's accessible is first
  // asked for them; null for a window without controls or once destroyed.
  AccessibleTreeGtk* Accessibility();
  // Windows virtual-key code of an unshifted GDK key value; 0 when it has none.
  static unsigned VirtualKeyFromKeyval(unsigned keyval);

 private:
  struct TimerSlot;

  int Scale() const;
  int HitTest(Point client, Point screen);
  int BorderHit(Point client) const;
  void ApplySizeHints();
  void SetResizeCursor(int hit);
  void ReleaseCapture();
  void Detach();
  MouseEvent MakeMouseEvent(MouseAction action, double x, double y, unsigned state) const;
  unsigned VirtualKeyOf(const GdkEventKey* event) const;

  static gboolean OnDraw(GtkWidget*, cairo_t* cr, gpointer self);
  static gboolean OnButtonPress(GtkWidget*, GdkEventButton* event, gpointer self);
  static gboolean OnButtonRelease(GtkWidget*, GdkEventButton* event, gpointer self);
  static gboolean OnMotion(GtkWidget*, GdkEventMotion* event, gpointer self);
  static gboolean OnScroll(GtkWidget*, GdkEventScroll* event, gpointer self);
  static gboolean OnLeave(GtkWidget*, GdkEventCrossing* event, gpointer self);
  static gboolean OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer self);
  static gboolean OnKeyRelease(GtkWidget*, GdkEventKey* event, gpointer self);
  static gboolean OnFocusIn(GtkWidget*, GdkEventFocus*, gpointer self);
  static gboolean OnFocusOut(GtkWidget*, GdkEventFocus*, gpointer self);
  static void OnSizeAllocate(GtkWidget*, GdkRectangle*, gpointer self);
  static gboolean OnDeleteEvent(GtkWidget*, GdkEvent*, gpointer self);
  static void OnDestroy(GtkWidget*, gpointer self);
  static void OnRealize(GtkWidget* widget, gpointer self);
  static void OnUnrealize(GtkWidget*, gpointer self);
  static void OnImCommit(GtkIMContext*, gchar* text, gpointer self);
  static gboolean OnTimerTick(gpointer slot);

  HostWindowEvents& events_;
  WindowCreateParams params_;
  GObjectPtr<GtkWidget> widget_;
  GObjectPtr<GtkIMContext> im_;
  WindowHandle handle_ = nullptr;
  std::wstring title_;
  bool enabled_ = true;
  bool destroyed_ = false;
  bool captured_ = false;
  bool composited_ = false;
  Size lastClientSize_;
  int cursorHit_ = -1;
  // Text that the input method commits while a key press is being filtered; it is
  // delivered after that key's OnKey, in the order WM_KEYDOWN then WM_CHAR.
  bool filtering_ = false;
  std::wstring filteredText_;
  std::map<int, std::unique_ptr<TimerSlot>> timers_;
  std::unique_ptr<AccessibleTreeGtk> accessibility_;
  // Set to false when this object is deleted; handlers hold a copy across calls into
  // the toolkit, which may delete the window.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace ui
