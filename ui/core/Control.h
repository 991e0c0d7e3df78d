// The base of every control: name, texts (with "resourcetext"), user data, visibility,
// enabled state, attributes and styles, the box it takes in a layout, background and
// border, font, and the hooks through which the window tree lays it out, paints it and
// hands it events.
//
// Threads: UI thread only.
// Ownership: a container owns its children, the window tree owns the root. A control
// removed while an event is being handled is freed once that event is done.
//
// Sizes given to the setters are layout units (pixels at 100 %); the tree scales them by
// the display scale. GetPos() is in device pixels.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ui/core/Accessibility.h"
#include "ui/core/Canvas.h"
#include "ui/core/Geometry.h"
#include "ui/core/UiEvent.h"

namespace ui {

class WindowTree;

enum class AttributeResult { Applied, Unknown, BadValue };

class Control {
 public:
  Control();
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  // The element name of the class in layouts ("Button", "Label" ...).
  virtual std::wstring_view GetClass() const { return L"Control"; }

  // ---- identity, texts and data
  const std::wstring& GetName() const { return name_; }
  void SetName(std::wstring name) { name_ = std::move(name); }
  // The shown text: with "resourcetext" the text is an id, looked up at every read.
  virtual std::wstring GetText() const;
  const std::wstring& GetRawText() const { return text_; }
  virtual void SetText(std::wstring text);
  std::wstring GetToolTip() const;
  void SetToolTip(std::wstring tip) { tooltip_ = std::move(tip); }
  bool IsResourceText() const { return resourceText_; }
  void SetResourceText(bool on);
  const std::wstring& GetUserData() const { return userData_; }
  void SetUserData(std::wstring data) { userData_ = std::move(data); }
  // The virtual window that gets this control's notifications: its own "virtualwnd" or
  // the nearest ancestor's.
  std::wstring GetVirtualWnd() const;

  // ---- state
  bool IsVisible() const { return visible_ && internVisible_; }
  virtual void SetVisible(bool visible);
  bool IsEnabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);
  bool IsFocused() const;
  void SetFocus();
  // Takes the focus by click and by Tab.
  virtual bool IsFocusable() const { return false; }
  // Handles clicks itself; a point over such a control is never part of the caption.
  virtual bool AcceptsMouse() const { return false; }

  // ---- accessibility (ui/core/Accessibility.h)
  // A number that stays the control's own for the life of the process.
  uint32_t AccessibleId() const { return accessibleId_; }
  // The window's root is the Window; a control that holds others, and one without text, is
  // None (its accessible children take its place); a role set by the container (tab pages)
  // comes before the class's own.
  virtual AccessibleRole GetAccessibleRole() const;
  void SetAccessibleRole(AccessibleRole role) { accessibleRole_ = role; }
  // "accname" (a text id of the language files, or the name itself where the table has
  // no such id), otherwise the shown text, otherwise the tool tip; a tab page without
  // either is named by the title it starts with. The root's name is the window's title
  // (or, without one, the text it starts with).
  virtual std::wstring GetAccessibleName() const;
  void SetAccessibleName(std::wstring name);
  const std::wstring& GetRawAccessibleName() const { return accessibleName_; }
  // Whether it is in the accessible tree when shown (list rows that show no row are not).
  virtual bool IsAccessiblyShown() const { return IsVisible(); }
  // False where the control speaks for its parts itself (a list row's columns).
  virtual bool ExposesAccessibleChildren() const { return true; }
  // An input takes the focus when the page that holds it is shown (edits, lists, the
  // chosen option).
  virtual bool IsInput() const { return false; }
  virtual uint32_t GetAccessibleStates() const;  // AccessibleState bits
  virtual AccessibleAction GetDefaultAction() const { return AccessibleAction::None; }
  // Does what the default action says as a click or Space would; false when it cannot.
  // From outside an event of the window, go through HostWindowEvents::DoAccessibleAction.
  virtual bool DoDefaultAction() { return false; }
  // An edit's text, a log pane's text; empty for the others.
  virtual std::wstring GetAccessibleValue() const { return {}; }
  // Replaces an edit's text as typing would; false for read-only and other controls.
  virtual bool SetAccessibleValue(const std::wstring& /*value*/) { return false; }
  // Raises an event for this control to the window's listeners, when it is in the
  // accessible tree. ChildrenChanged goes to the nearest control in the tree, as one of
  // role None is not there itself.
  void RaiseAccessibilityEvent(AccessibleEvent event);

  // ---- attributes
  // Applies one attribute as a layout would; an unknown name or bad value is reported on
  // stderr and gives false.
  bool SetAttribute(std::wstring_view name, std::wstring_view value);
  // The same without the report; each class handles its own names, then its base's.
  virtual AttributeResult ApplyAttribute(std::wstring_view name, std::wstring_view value);
  // Applies the attributes of a shared style of the window ("style" attribute); false
  // when the window has no such style.
  bool ApplyStyle(std::wstring_view styleName);

  // ---- box in the parent's layout (layout units; 0 = take what the parent gives)
  int GetFixedWidth() const { return fixedWidth_; }
  void SetFixedWidth(int width);
  int GetFixedHeight() const { return fixedHeight_; }
  void SetFixedHeight(int height);
  void SetMinMax(Size minSize, Size maxSize);
  const Rect& GetPadding() const { return padding_; }  // the margin around it
  void SetPadding(const Rect& padding);
  const Rect& GetPos() const { return rect_; }

  // ---- look
  int GetFont() const { return fontId_; }  // -1: the window's default font
  void SetFont(int fontId);
  std::optional<Argb> GetBkColor() const { return bkColor_; }
  void SetBkColor(Argb color);

  // ---- tree
  Control* GetParent() const { return parent_; }
  WindowTree* GetTree() const { return tree_; }
  virtual int GetChildCount() const { return 0; }
  virtual Control* GetChildAt(int) const { return nullptr; }
  // This control or the first descendant of that name, in layout order.
  Control* FindSubControl(std::wstring_view name);
  template <class T>
  T* FindSubControl(std::wstring_view name) {
    return dynamic_cast<T*>(FindSubControl(name));
  }
  // The deepest visible control at a point (this one when no child is there).
  virtual Control* FindControlAt(Point point);

  void Invalidate();
  // Its size may have changed: the window lays its controls out again.
  void NeedUpdate();

  // ---- called by the window tree and by containers
  Size ClampSize(Size size) const;  // by its minimum and maximum, in device pixels
  // Visible itself and every ancestor visible.
  bool IsShownInTree() const;
  // The size it asks for; 0 in a dimension takes what the parent gives.
  virtual Size EstimateSize(Size available);
  virtual void SetPos(const Rect& rect);
  void Paint(Canvas& canvas, const Rect& dirty);
  // True when the event was used (wheel events go to the parent otherwise).
  virtual bool DoEvent(UiEvent& event);
  // Whether its descendants' mouse events come to it instead (list rows).
  virtual bool TakesChildMouse() const { return false; }
  void SetParent(Control* parent) { parent_ = parent; }
  void AttachTree(WindowTree* tree);
  void SetInternVisible(bool visible);  // hidden by its container (tab pages)

 protected:
  virtual void PaintBackground(Canvas& canvas);
  virtual void PaintContent(Canvas& canvas, const Rect& dirty);
  virtual void PaintBorder(Canvas& canvas);
  virtual void OnAttached() {}
  virtual void OnDetaching() {}
  // After SetText changed the text: the name changed, unless the text is a value.
  virtual void RaiseTextChanged();

  int Scaled(int units) const;
  Rect Scaled(const Rect& units) const;
  // Sets a colour attribute from its layout text and repaints; BadValue leaves it as it was.
  AttributeResult ApplyColor(std::wstring_view value, std::optional<Argb>& target);
  int ScalePercent() const;
  FontSpec Font() const;
  void Notify(std::wstring_view type, uintptr_t wParam = 0, intptr_t lParam = 0);

  Rect rect_;
  std::optional<Argb> bkColor_;
  std::optional<Argb> borderColor_;
  int borderSize_ = 0;
  int borderRound_ = 0;
  std::wstring bkImage_;

 private:
  std::wstring name_;
  std::wstring text_;
  std::wstring tooltip_;
  std::wstring userData_;
  std::wstring virtualWnd_;
  std::wstring pendingStyle_;
  std::wstring accessibleName_;
  std::optional<AccessibleRole> accessibleRole_;
  uint32_t accessibleId_;
  Control* parent_ = nullptr;
  WindowTree* tree_ = nullptr;
  bool resourceText_ = false;
  bool visible_ = true;
  bool internVisible_ = true;
  bool enabled_ = true;
  int fixedWidth_ = 0;
  int fixedHeight_ = 0;
  Size minSize_;
  Size maxSize_;
  Rect padding_;
  int fontId_ = -1;
};

}  // namespace ui
