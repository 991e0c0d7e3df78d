// The controls of one window and what they share: the root control, the window
// attributes of the layout, fonts, styles and default attributes, focus, hover and mouse
// capture, notification dispatch, key filters, invalidation and layout, timers and
// option groups. It reaches its host window only through HostWindow and paints through
// Canvas, so it runs alike on every host.
//
// Threads: UI thread only. Worker threads change controls only through window messages.
//
// Layout happens lazily at the next paint (the canvas measures text), so control
// positions are known once the window has painted.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "ui/core/Accessibility.h"
#include "ui/core/Canvas.h"
#include "ui/core/Control.h"
#include "ui/core/Host.h"
#include "ui/core/IMessageFilterUI.h"
#include "ui/core/INotifyUI.h"

namespace ui {

// A font of a layout, before scaling.
struct FontDef {
  std::wstring face = L"宋体";
  int size = 14;  // pixel height at 100 %
  bool bold = false;
  bool italic = false;
  bool underline = false;
};

// The <Window> attributes of a layout (layout units).
struct WindowAttributes {
  Size size;                 // "size"; 0: the size the window was created with
  Size minSize;              // "mininfo"
  Size maxSize;              // "maxinfo"
  Rect caption;              // "caption": left, top and right margins, bottom = height of the drag band
  Rect sizeBox;              // "sizebox": width of the resize border on each side
  std::wstring shadowImage;  // "shadowimage", drawn as nine slices with "shadowcorner"
  int shadowSize = 0;        // "shadowsize": the band around the body that holds the shadow
  Rect shadowCorner;
  std::optional<Argb> bkColor;  // "bkcolor": the body
};

class WindowTree {
 public:
  WindowTree();
  ~WindowTree();
  WindowTree(const WindowTree&) = delete;
  WindowTree& operator=(const WindowTree&) = delete;

  // ---- set-up, by the window
  void AttachHost(HostWindow* host);  // null once the window is gone
  HostWindow* Host() const { return host_; }
  void SetScale(int percent);
  int Scale() const { return scale_; }
  int Scaled(int units) const;
  void SetRoot(std::unique_ptr<Control> root);
  Control* GetRoot() const { return root_.get(); }
  WindowAttributes& Attributes() { return attributes_; }
  const WindowAttributes& Attributes() const { return attributes_; }
  bool IsResizable() const;
  // The client area inside the shadow band, where the root control lies.
  Rect ContentRect() const;

  // ---- fonts, styles and default attributes; shared ones serve every window
  void AddFont(int id, const FontDef& font, bool isDefault, bool shared);
  // The font of every control without a font of its own (replaces the layout's default).
  void SetDefaultFont(const FontDef& font);
  bool HasFont(int id) const;
  FontSpec GetFont(int id) const;  // scaled; an unknown id gives the default font
  void AddStyle(std::wstring name, std::wstring attributes, bool shared);
  const std::wstring* FindStyle(std::wstring_view name) const;
  void AddDefaultAttributes(std::wstring className, std::wstring attributes, bool shared);
  const std::wstring* FindDefaultAttributes(std::wstring_view className) const;
  static void ClearShared();

  // ---- looking up controls
  // The first control of that name in layout order, or null.
  Control* FindControl(std::wstring_view name) const;
  template <class T>
  T* FindControl(std::wstring_view name) const {
    return dynamic_cast<T*>(FindControl(name));
  }
  Control* FindControlAt(Point point) const;

  // ---- notifications and key filters
  void AddNotifier(INotifyUI* notifier);
  void RemoveNotifier(INotifyUI* notifier);
  void SendNotify(Control* sender, std::wstring_view type, uintptr_t wParam = 0, intptr_t lParam = 0);
  void AddMessageFilter(IMessageFilterUI* filter);
  void RemoveMessageFilter(IMessageFilterUI* filter);
  bool FilterMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);  // true: swallowed

  // ---- input, from the window
  void OnMouse(const MouseEvent& event);
  void OnKey(const KeyEvent& event);
  void OnText(const std::wstring& text);
  void OnTimer(int hostTimerId);
  void OnFocusChanged(bool focused);
  void OnResize(Size clientSize);
  intptr_t HitTest(Point client) const;  // a kHt code of ui/SystemConstants.h

  // ---- focus, hover and capture
  void SetFocus(Control* control);
  Control* GetFocus() const { return focus_; }
  // The button that Enter presses when the focused control does not take the key (an
  // edit, a list, an option, or no focus at all); null for none.
  void SetDefaultButton(Control* button) { defaultButton_ = button; }
  Control* GetDefaultButton() const { return defaultButton_; }
  bool IsFocusVisible() const { return focusVisible_; }  // moved by keyboard: draw the ring
  bool WindowHasFocus() const { return windowFocused_; }
  Control* GetHover() const { return hover_; }
  Control* GetCapture() const { return capture_; }
  void SetCaretRect(const Rect& caret);

  // ---- painting and layout
  void Paint(Canvas& canvas, const Rect& dirty);
  void Invalidate(const Rect& rect);
  void InvalidateAll();
  // Lays every control out again at the next paint.
  void NeedLayout();
  bool LayoutPending() const { return layoutNeeded_; }
  // Measured by the painting canvas during layout and paint; estimated otherwise.
  Size MeasureText(std::wstring_view text, const FontSpec& font, int maxWidth, unsigned format) const;
  Control* ShownToolTipOwner() const { return toolTipShown_ ? toolTipOwner_ : nullptr; }

  // ---- timers of controls (ids are the control's own)
  void SetTimer(Control* control, int id, int intervalMs);
  void KillTimer(Control* control, int id);

  // ---- option groups
  void JoinGroup(const std::wstring& group, Control* option);
  void LeaveGroup(const std::wstring& group, Control* option);
  std::vector<Control*> GroupMembers(const std::wstring& group) const;

  // ---- accessibility (ui/core/Accessibility.h)
  void AddAccessibilityListener(AccessibilityListener* listener);
  void RemoveAccessibilityListener(AccessibilityListener* listener);
  bool HasAccessibilityListeners() const { return !accessibilityListeners_.empty(); }
  void RaiseAccessibilityEvent(Control& control, AccessibleEvent event);
  // A control's default action or new value as an event of the window; false when the
  // control is not in the tree or refuses. Hosts' adapters go through
  // HostWindowEvents::DoAccessibleAction, which keeps the window alive meanwhile.
  bool DoAccessibleAction(uint32_t id);
  bool SetAccessibleValue(uint32_t id, const std::wstring& value);
  // After the language's texts were read anew: lays out and paints again, and every
  // control whose name comes from the text table raises NameChanged.
  void TextsReloaded();

  // ---- control lifetime
  // Forgets every reference to a control that leaves the tree (focus, hover, timers ...).
  void ForgetControl(Control* control);
  // Frees a removed control, later when an event is being handled.
  void ReleaseLater(std::unique_ptr<Control> control);

 private:
  class DispatchScope;
  struct TimerSlot {
    Control* control = nullptr;
    int id = 0;
    int intervalMs = 0;
  };

  Control* MouseTarget(Point point) const;
  void SetHover(Control* control);
  void MoveFocus(bool backwards);
  void Layout();
  void PaintShadow(Canvas& canvas);
  void PaintToolTip(Canvas& canvas);
  Rect ToolTipRect(Canvas* canvas) const;
  void HideToolTip();

  HostWindow* host_ = nullptr;
  std::unique_ptr<Control> root_;
  WindowAttributes attributes_;
  int scale_ = 100;
  Size clientSize_;
  std::map<int, FontDef> fonts_;
  std::optional<FontDef> defaultFont_;
  std::map<std::wstring, std::wstring, std::less<>> styles_;
  std::map<std::wstring, std::wstring, std::less<>> defaults_;
  std::vector<INotifyUI*> notifiers_;
  std::vector<IMessageFilterUI*> filters_;
  std::vector<AccessibilityListener*> accessibilityListeners_;
  // Members by the order they joined; a control is in one group at most. Lists of
  // thousands of rows join and leave one group, so both stay logarithmic.
  struct GroupSlot {
    std::wstring group;
    uint64_t order = 0;
  };
  std::map<std::wstring, std::map<uint64_t, Control*>, std::less<>> groups_;
  std::unordered_map<const Control*, GroupSlot> groupOf_;
  uint64_t nextGroupOrder_ = 0;
  std::map<int, TimerSlot> timers_;  // by host timer id
  int nextTimerId_ = 1;
  Control* focus_ = nullptr;
  Control* defaultButton_ = nullptr;
  Control* hover_ = nullptr;
  Control* capture_ = nullptr;
  bool focusVisible_ = false;
  bool windowFocused_ = false;
  bool layoutNeeded_ = true;
  bool initSent_ = false;
  Canvas* measuring_ = nullptr;
  Rect painting_;  // the area being painted: changes inside it are drawn anyway
  Point lastMouse_;
  Control* toolTipOwner_ = nullptr;
  bool toolTipShown_ = false;
  Point toolTipAt_;
  int dispatchDepth_ = 0;
  std::vector<std::unique_ptr<Control>> released_;
};

}  // namespace ui
