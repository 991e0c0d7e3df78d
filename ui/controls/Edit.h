// A single-line text field: caret, selection by mouse and Shift, the clipboard (Ctrl+C,
// Ctrl+X, Ctrl+V, Ctrl+A), at most "maxchar" characters, "readonly". Every change the
// user makes sends one "textchanged"; SetText sends none and puts the caret at the end.
//
// Threads: UI thread only.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "ui/controls/Label.h"

namespace ui {

class Edit : public Label {
 public:
  Edit();
  std::wstring_view GetClass() const override { return L"Edit"; }

  void SetText(std::wstring text) override;
  int GetMaxChar() const { return maxChar_; }
  void SetMaxChar(int count);
  bool IsReadOnly() const { return readOnly_; }
  void SetReadOnly(bool on);

  // Positions count UTF-16 units on Windows and characters elsewhere; -1 is the end.
  void SetSel(int start, int end);
  std::pair<int, int> GetSel() const;  // start <= end
  int GetCaret() const { return caret_; }
  void MoveCaretToEnd() { SetSel(-1, -1); }
  // Replaces the selection as typing would (the length limit applies, line breaks are
  // dropped) and sends "textchanged" when the text changed.
  void ReplaceSel(std::wstring_view text);

  AttributeResult ApplyAttribute(std::wstring_view name, std::wstring_view value) override;
  bool DoEvent(UiEvent& event) override;
  bool IsFocusable() const override { return IsEnabled(); }
  bool AcceptsMouse() const override { return true; }

  AccessibleRole GetAccessibleRole() const override { return AccessibleRole::Edit; }
  // "accname", else the label before it: its text is its value, not its name.
  std::wstring GetAccessibleName() const override;
  uint32_t GetAccessibleStates() const override;
  std::wstring GetAccessibleValue() const override { return GetText(); }
  // Replaces the whole text as typing it would ("textchanged").
  bool SetAccessibleValue(const std::wstring& value) override;
  bool IsInput() const override { return IsEnabled(); }

 protected:
  void PaintBackground(Canvas& canvas) override;
  void PaintText(Canvas& canvas) override;
  void PaintBorder(Canvas& canvas) override;
  void RaiseTextChanged() override { RaiseAccessibilityEvent(AccessibleEvent::ValueChanged); }

 private:
  bool HandleKey(const UiEvent& event);
  void MoveCaret(int position, bool extend);
  void DeleteSelection();
  int IndexAt(int x) const;
  int Previous(int position) const;
  int Next(int position) const;
  void ChangeText(std::wstring text, int caret);
  void RestartBlink();

  int maxChar_ = 255;
  bool readOnly_ = false;
  int caret_ = 0;
  int anchor_ = 0;
  int scrollX_ = 0;
  bool caretOn_ = true;
  bool dragging_ = false;
  // Caret x offsets of every position, measured at the last paint.
  std::vector<int> offsets_;
  std::wstring offsetsText_;
  FontSpec offsetsFont_;
};

}  // namespace ui
