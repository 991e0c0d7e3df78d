// A push button: "click" when released over it, or on Enter or Space while it has the
// focus. Looks: images per state ("normalimage", "hotimage", "pushedimage",
// "focusedimage", "disabledimage"), colours per state ("hotbkcolor", "pushedbkcolor",
// "disabledbkcolor", "hottextcolor", "pushedtextcolor", "hotbordercolor"), or a glyph
// the painter draws ("glyph" = close, minimize, maximize, restore, language, about,
// search) for caption buttons. Without any of these it takes the toolkit's flat look.
//
// Threads: UI thread only.
#pragma once

#include <optional>
#include <string>

#include "ui/controls/Label.h"

namespace ui {

class Button : public Label {
 public:
  Button();
  std::wstring_view GetClass() const override { return L"Button"; }

  // What a click does: sends "click"; false when the button is disabled.
  virtual bool Activate();

  bool IsHot() const;
  bool IsPushed() const;

  AttributeResult ApplyAttribute(std::wstring_view name, std::wstring_view value) override;
  bool DoEvent(UiEvent& event) override;
  bool IsFocusable() const override { return true; }
  bool AcceptsMouse() const override { return true; }

  AccessibleRole GetAccessibleRole() const override;
  AccessibleAction GetDefaultAction() const override { return AccessibleAction::Press; }
  // Presses it as a click does; false when it is disabled or not shown.
  bool DoDefaultAction() override;

 protected:
  void PaintBackground(Canvas& canvas) override;
  void PaintContent(Canvas& canvas, const Rect& dirty) override;
  void PaintBorder(Canvas& canvas) override;
  Argb CurrentTextColor() const override;
  // Paints the image of the present state; false when there is none.
  bool PaintStateImage(Canvas& canvas);
  bool UsesFlatLook() const;

  std::wstring normalImage_, hotImage_, pushedImage_, focusedImage_, disabledImage_;
  std::optional<Argb> hotBkColor_, pushedBkColor_, disabledBkColor_;
  std::optional<Argb> hotTextColor_, pushedTextColor_;
  std::optional<Argb> hotBorderColor_, focusBorderColor_;
  std::wstring glyph_;
};

}  // namespace ui
