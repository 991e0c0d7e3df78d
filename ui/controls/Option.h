// A radio button or check box. Options with the same "group" in one window hold exactly
// one selected member; an option without a group toggles on each click. A click sends
// "click" first and changes the state after it (so a "click" handler sees the state
// before the click), then "selectchanged". SetSelected changes the state without any
// "click".
//
// Looks: "mark" auto (radio with a group, check box without), radio, check or none; the
// mark is drawn at the left inside "textpadding". "selectedimage", "selectedbkcolor",
// "selectedtextcolor" for the selected state. The layout element "CheckBox" is an
// option with mark="check".
//
// Threads: UI thread only.
#pragma once

#include <optional>
#include <string>

#include "ui/controls/Button.h"

namespace ui {

class Option : public Button {
 public:
  enum class Mark { Auto, Radio, Check, None };

  std::wstring_view GetClass() const override { return L"Option"; }

  bool IsSelected() const { return selected_; }
  // Sends "selectchanged" when notify is set and the state changes; never "click".
  void SetSelected(bool selected, bool notify = true);
  const std::wstring& GetGroup() const { return group_; }
  void SetGroup(std::wstring group);
  void SetMark(Mark mark);

  bool Activate() override;
  AccessibleRole GetAccessibleRole() const override;
  uint32_t GetAccessibleStates() const override;
  // Options of a group are picked, the others toggled.
  AccessibleAction GetDefaultAction() const override;
  bool IsInput() const override { return selected_; }
  // Space picks or toggles the option; Enter is left to the window's default button.
  bool DoEvent(UiEvent& event) override;
  AttributeResult ApplyAttribute(std::wstring_view name, std::wstring_view value) override;

 protected:
  void PaintBackground(Canvas& canvas) override;
  void PaintContent(Canvas& canvas, const Rect& dirty) override;
  void PaintBorder(Canvas& canvas) override;
  Argb CurrentTextColor() const override;
  Rect TextInsets() const override;  // keeps the text clear of the mark
  void OnAttached() override;
  void OnDetaching() override;

 private:
  Mark EffectiveMark() const;

  bool selected_ = false;
  std::wstring group_;
  Mark mark_ = Mark::Auto;
  std::wstring selectedImage_;
  std::optional<Argb> selectedBkColor_;
  std::optional<Argb> selectedTextColor_;
};

}  // namespace ui
