// A thin, flat scroll bar drawn over one edge of its owner and shown only while the
// content is larger than the view. Not a control: the owning control feeds it its range
// and the mouse events that fall on it.
//
// Threads: UI thread only.
#pragma once

#include "ui/core/Canvas.h"
#include "ui/core/Geometry.h"

namespace ui {

class ScrollBar {
 public:
  explicit ScrollBar(bool vertical = true) : vertical_(vertical) {}

  void SetRange(int content, int view);
  int Pos() const { return pos_; }
  bool SetPos(int pos);  // clamped; true when it moved
  int MaxPos() const;
  bool IsShown() const { return content_ > view_ && view_ > 0; }
  void SetTrack(const Rect& track) { track_ = track; }
  const Rect& Track() const { return track_; }
  Rect Thumb() const;
  void Paint(Canvas& canvas, bool hot) const;

  // The mouse on the bar: true when the bar took the event (a press on the thumb starts
  // a drag, elsewhere on the track it pages).
  bool OnButtonDown(Point point);
  bool OnMouseMove(Point point);
  void OnButtonUp() { dragging_ = false; }
  bool IsDragging() const { return dragging_; }

 private:
  bool vertical_;
  int content_ = 0;
  int view_ = 0;
  int pos_ = 0;
  Rect track_;
  bool dragging_ = false;
  int dragOffset_ = 0;
};

}  // namespace ui
