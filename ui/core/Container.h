// A control that holds others. A plain Container lays each child over its whole inner
// area; VerticalLayout and HorizontalLayout stack them; a vertical stack can scroll.
//
// Threads: UI thread only.
//
// Stacking: a child with a fixed size (or one it measures, as "autocalcwidth" does)
// gets it; the others share what is left equally, within their minimum and maximum.
// "padding" of a child is its margin, "inset" the container's inner margin,
// "childpadding" the gap between children.
#pragma once

#include <memory>
#include <vector>

#include "ui/core/Control.h"
#include "ui/core/ScrollBar.h"

namespace ui {

class Container : public Control {
 public:
  Container();
  ~Container() override;

  std::wstring_view GetClass() const override { return L"Container"; }

  int GetChildCount() const override { return static_cast<int>(children_.size()); }
  Control* GetChildAt(int index) const override;
  int IndexOf(const Control* child) const;  // -1 when it is no child
  Control* Add(std::unique_ptr<Control> child);
  template <class T>
  T* Add(std::unique_ptr<T> child) {
    return static_cast<T*>(Add(std::unique_ptr<Control>(std::move(child))));
  }
  Control* AddAt(std::unique_ptr<Control> child, int index);
  // Frees the child at once, or when the event being handled is done.
  bool Remove(Control* child);
  virtual void RemoveAll();
  // How the layout builder adds a child element; false when this container takes no
  // child of that kind.
  virtual bool AddFromLayout(std::unique_ptr<Control> child);

  void SetInset(const Rect& inset);
  void SetChildPadding(int padding);
  // Vertical scrolling of a vertical stack ("vscrollbar").
  void EnableScroll(bool on);
  int GetScrollPos() const { return vbar_.Pos(); }
  void SetScrollPos(int pos);
  int GetScrollRange() const { return vbar_.MaxPos(); }

  AttributeResult ApplyAttribute(std::wstring_view name, std::wstring_view value) override;
  Control* FindControlAt(Point point) override;
  void SetPos(const Rect& rect) override;
  bool DoEvent(UiEvent& event) override;
  bool AcceptsMouse() const override { return vbar_.IsShown(); }

 protected:
  void PaintContent(Canvas& canvas, const Rect& dirty) override;
  virtual void OnChildAdded(Control*) {}
  Rect InnerRect() const;
  // Lays the children out in a row (horizontal) or a column (vertical).
  void LayoutStack(bool vertical);

  std::vector<std::unique_ptr<Control>> children_;
  Rect inset_;
  int childPadding_ = 0;
  bool scrollable_ = false;
  ScrollBar vbar_{true};
  unsigned childAlign_ = 0;  // kTextCenter / kTextRight across a column, kTextVCenter / kTextBottom across a row
};

}  // namespace ui
