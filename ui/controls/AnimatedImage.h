// Plays the frames of an animated image ("image", a GIF of the skin) at their own pace,
// centred in its box at the display scale. Stopped it shows the first frame; "autoplay"
// starts it as soon as it is in a window.
//
// Threads: UI thread only.
#pragma once

#include <string>

#include "ui/core/Control.h"

namespace ui {

class AnimatedImage : public Control {
 public:
  std::wstring_view GetClass() const override { return L"AnimatedImage"; }

  void SetImage(std::wstring name);
  void Play();
  void Stop();
  bool IsPlaying() const { return playing_; }
  int GetFrame() const { return frame_; }

  AttributeResult ApplyAttribute(std::wstring_view name, std::wstring_view value) override;
  bool DoEvent(UiEvent& event) override;

 protected:
  void PaintContent(Canvas& canvas, const Rect& dirty) override;
  void OnAttached() override;

 private:
  void ScheduleNextFrame();

  std::wstring image_;
  bool playing_ = false;
  bool autoPlay_ = false;
  int frame_ = 0;
};

}  // namespace ui
