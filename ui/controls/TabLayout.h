// Shows one of its children (a panel) at a time, selected by index; the panels are tab
// pages to assistive technology, and only the shown one is in the tree. A panel that is
// shown gives the focus to its first input (Control::IsInput), as a wizard page does. With "animation"
// the new panel slides in from the side it lies on, in a few frames of the window's
// timer; input goes to the new panel at once.
//
// Threads: UI thread only.
#pragma once

#include "ui/core/Container.h"

namespace ui {

class TabLayout : public Container {
 public:
  std::wstring_view GetClass() const override { return L"TabLayout"; }

  // Shows the panel at index; false (and nothing changes) when there is none.
  bool SelectItem(int index);
  // Gives the focus to the shown panel's first input unless the focus is in that panel
  // already: for a panel whose choices are filled in after it was shown.
  void FocusShownPanel();
  int GetCurSel() const { return selected_; }
  void SetAnimation(bool on) { animate_ = on; }
  bool IsAnimating() const { return animFrom_ >= 0; }

  AttributeResult ApplyAttribute(std::wstring_view name, std::wstring_view value) override;
  void SetPos(const Rect& rect) override;
  bool DoEvent(UiEvent& event) override;

  static constexpr int kAnimationFrames = 10;
  static constexpr int kFrameMs = 16;

 protected:
  void OnChildAdded(Control* child) override;

 private:
  void FinishAnimation();

  int selected_ = 0;
  bool animate_ = false;
  int animFrom_ = -1;
  int animFrame_ = 0;
  int direction_ = 1;
};

}  // namespace ui
