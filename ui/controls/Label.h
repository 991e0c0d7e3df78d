// Shows a text: font, colour, alignment ("align" left/center/right, "valign"
// top/vcenter/bottom), "textpadding", "wordbreak" for several lines, "endellipsis", and
// "autocalcwidth" to take the width of its text.
//
// Threads: UI thread only.
#pragma once

#include <optional>

#include "ui/core/Control.h"

namespace ui {

class Label : public Control {
 public:
  Label();
  std::wstring_view GetClass() const override { return L"Label"; }

  void SetTextColor(Argb color);
  std::optional<Argb> GetTextColor() const { return textColor_; }
  void SetTextPadding(const Rect& padding);
  const Rect& GetTextPadding() const { return textPadding_; }
  void SetAutoCalcWidth(bool on);
  unsigned GetTextFormat() const;

  AttributeResult ApplyAttribute(std::wstring_view name, std::wstring_view value) override;
  Size EstimateSize(Size available) override;

 protected:
  void PaintContent(Canvas& canvas, const Rect& dirty) override;
  virtual void PaintText(Canvas& canvas);
  // The colour of the text in the control's present state.
  virtual Argb CurrentTextColor() const;
  // The margins of the text inside the control (device pixels).
  virtual Rect TextInsets() const;
  Rect TextRect() const;

  std::optional<Argb> textColor_;
  std::optional<Argb> disabledTextColor_;
  Rect textPadding_;
  unsigned align_ = kTextLeft | kTextVCenter;
  bool wordBreak_ = false;
  bool endEllipsis_ = true;
  bool autoCalcWidth_ = false;
};

}  // namespace ui
