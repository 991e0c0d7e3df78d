#include "ui/controls/Edit.h"

#include <algorithm>

#include "ui/core/AttributeParsing.h"
#include "ui/core/SystemConstants.h"
#include "ui/core/Theme.h"
#include "ui/core/WindowTree.h"

namespace ui {

namespace {

constexpr int kBlinkTimer = 1;
constexpr int kBlinkMs = 530;

bool IsLowSurrogate(wchar_t c) {
  return sizeof(wchar_t) == 2 && c >= 0xDC00 && c <= 0xDFFF;
}

std::wstring WithoutControls(std::wstring_view text) {
  std::wstring out;
  for (wchar_t c : text) {
    if (c >= 0x20 && c != 0x7F) out += c;
  }
  return out;
}

}  // namespace

Edit::Edit() {
  textPadding_ = {6, 0, 6, 0};
}

void Edit::SetText(std::wstring text) {
  Control::SetText(std::move(text));
  caret_ = anchor_ = static_cast<int>(GetRawText().size());
  Invalidate();
}

std::wstring Edit::GetAccessibleName() const {
  if (!GetRawAccessibleName().empty()) return Label::GetAccessibleName();
  return NameFromLabelBefore(*this);
}

uint32_t Edit::GetAccessibleStates() const {
  return Label::GetAccessibleStates() | (readOnly_ ? kAccReadOnly : 0u);
}

bool Edit::SetAccessibleValue(const std::wstring& value) {
  if (readOnly_ || !IsEnabled() || !IsShownInTree()) return false;
  SetSel(0, -1);
  ReplaceSel(value);
  return true;
}

void Edit::SetMaxChar(int count) {
  maxChar_ = std::max(0, count);
}

void Edit::SetReadOnly(bool on) {
  readOnly_ = on;
  Invalidate();
}

void Edit::SetSel(int start, int end) {
  const int length = static_cast<int>(GetRawText().size());
  anchor_ = start < 0 ? length : std::min(start, length);
  caret_ = end < 0 ? length : std::min(end, length);
  RestartBlink();
  Invalidate();
}

std::pair<int, int> Edit::GetSel() const {
  return {std::min(anchor_, caret_), std::max(anchor_, caret_)};
}

int Edit::Previous(int position) const {
  const std::wstring& text = GetRawText();
  if (position <= 0) return 0;
  --position;
  if (position > 0 && IsLowSurrogate(text[position])) --position;
  return position;
}

int Edit::Next(int position) const {
  const std::wstring& text = GetRawText();
  const int length = static_cast<int>(text.size());
  if (position >= length) return length;
  ++position;
  if (position < length && IsLowSurrogate(text[position])) ++position;
  return position;
}

void Edit::ChangeText(std::wstring text, int caret) {
  const bool changed = text != GetRawText();
  Control::SetText(std::move(text));
  caret_ = anchor_ = caret;
  RestartBlink();
  Invalidate();
  if (changed) Notify(L"textchanged");
}

void Edit::ReplaceSel(std::wstring_view inserted) {
  if (readOnly_) return;
  std::wstring text = GetRawText();
  const auto [start, end] = GetSel();
  std::wstring clean = WithoutControls(inserted);
  const int room = maxChar_ - (static_cast<int>(text.size()) - (end - start));
  if (room <= 0) {
    clean.clear();
  } else if (static_cast<int>(clean.size()) > room) {
    clean.resize(room);
    if (!clean.empty() && sizeof(wchar_t) == 2 && clean.back() >= 0xD800 && clean.back() <= 0xDBFF) clean.pop_back();
  }
  if (clean.empty() && start == end) return;
  text.replace(start, end - start, clean);
  ChangeText(std::move(text), start + static_cast<int>(clean.size()));
}

void Edit::DeleteSelection() {
  ReplaceSel(L"");
}

void Edit::MoveCaret(int position, bool extend) {
  caret_ = position;
  if (!extend) anchor_ = position;
  RestartBlink();
  Invalidate();
}

void Edit::RestartBlink() {
  caretOn_ = true;
  if (WindowTree* tree = GetTree(); tree != nullptr && IsFocused()) tree->SetTimer(this, kBlinkTimer, kBlinkMs);
}

AttributeResult Edit::ApplyAttribute(std::wstring_view name, std::wstring_view value) {
  if (NameEquals(name, L"maxchar")) {
    auto count = ParseInt(value);
    if (!count || *count < 0) return AttributeResult::BadValue;
    SetMaxChar(*count);
    return AttributeResult::Applied;
  }
  if (NameEquals(name, L"readonly")) {
    auto flag = ParseBool(value);
    if (!flag) return AttributeResult::BadValue;
    SetReadOnly(*flag);
    return AttributeResult::Applied;
  }
  return Label::ApplyAttribute(name, value);
}

int Edit::IndexAt(int x) const {
  const int relative = x - TextRect().left + scrollX_;
  if (offsets_.size() != GetRawText().size() + 1) return static_cast<int>(GetRawText().size());
  int best = 0;
  for (size_t i = 1; i < offsets_.size(); ++i) {
    if (relative >= (offsets_[i - 1] + offsets_[i]) / 2) best = static_cast<int>(i);
  }
  if (best > 0 && IsLowSurrogate(GetRawText()[best])) --best;
  return best;
}

bool Edit::HandleKey(const UiEvent& event) {
  const std::wstring& text = GetRawText();
  const int length = static_cast<int>(text.size());
  const auto [start, end] = GetSel();
  if (event.control) {
    switch (event.key) {
      case 'A':
        SetSel(0, -1);
        return true;
      case 'C':
        if (start != end) CurrentHost().SetClipboardText(text.substr(start, end - start));
        return true;
      case 'X':
        if (start != end && !readOnly_) {
          CurrentHost().SetClipboardText(text.substr(start, end - start));
          DeleteSelection();
        }
        return true;
      case 'V':
        ReplaceSel(CurrentHost().ClipboardText());
        return true;
      default:
        break;
    }
  }
  switch (event.key) {
    case kVkLeft:
      MoveCaret(start != end && !event.shift ? start : Previous(caret_), event.shift);
      return true;
    case kVkRight:
      MoveCaret(start != end && !event.shift ? end : Next(caret_), event.shift);
      return true;
    case kVkHome:
      MoveCaret(0, event.shift);
      return true;
    case kVkEnd:
      MoveCaret(length, event.shift);
      return true;
    case kVkBack:
      if (readOnly_) return true;
      if (start == end && start > 0) anchor_ = Previous(start);
      DeleteSelection();
      return true;
    case kVkDelete:
      if (readOnly_) return true;
      if (start == end && end < length) anchor_ = Next(end);
      DeleteSelection();
      return true;
    default:
      return false;
  }
}

bool Edit::DoEvent(UiEvent& event) {
  switch (event.type) {
    case UiEventType::ButtonDown:
      if (event.button != MouseButton::Left) return true;
      MoveCaret(IndexAt(event.position.x), event.shift);
      dragging_ = true;
      return true;
    case UiEventType::DoubleClick:
      SetSel(0, -1);
      return true;
    case UiEventType::MouseMove:
      if (dragging_) MoveCaret(IndexAt(event.position.x), true);
      return true;
    case UiEventType::ButtonUp:
      dragging_ = false;
      return true;
    case UiEventType::MouseEnter:
    case UiEventType::MouseLeave:
      Invalidate();
      return true;
    case UiEventType::SetFocus:
      RestartBlink();
      Invalidate();
      return true;
    case UiEventType::KillFocus:
      if (WindowTree* tree = GetTree()) tree->KillTimer(this, kBlinkTimer);
      dragging_ = false;
      Invalidate();
      return true;
    case UiEventType::Timer:
      if (event.timerId != kBlinkTimer) return false;
      caretOn_ = !caretOn_;
      Invalidate();
      return true;
    case UiEventType::KeyDown:
      return HandleKey(event);
    case UiEventType::Text:
      ReplaceSel(event.text);
      return true;
    default:
      return false;
  }
}

void Edit::PaintBackground(Canvas& canvas) {
  const int radius = borderRound_ > 0 ? Scaled(borderRound_) : Scaled(theme::kCornerRadius);
  canvas.FillRoundRect(rect_, radius, IsEnabled() ? bkColor_.value_or(theme::kBody) : theme::kButtonDisabled);
}

void Edit::PaintBorder(Canvas& canvas) {
  const int radius = borderRound_ > 0 ? Scaled(borderRound_) : Scaled(theme::kCornerRadius);
  const WindowTree* tree = GetTree();
  const bool hot = tree != nullptr && tree->GetHover() == this;
  Argb color = borderColor_.value_or(theme::kBorder);
  if (!IsEnabled()) color = theme::kBorderDisabled;
  if (hot && IsEnabled()) color = theme::kTextMuted;
  if (IsFocused()) color = theme::kAccent;
  canvas.DrawRoundRect(rect_, radius, color, std::max(1, Scaled(1)));
}

void Edit::PaintText(Canvas& canvas) {
  const std::wstring& text = GetRawText();
  const FontSpec font = Font();
  if (offsetsText_ != text || !(offsetsFont_ == font) || offsets_.size() != text.size() + 1) {
    offsets_ = canvas.CaretOffsets(text, font);
    if (offsets_.size() != text.size() + 1) offsets_.assign(text.size() + 1, 0);
    offsetsText_ = text;
    offsetsFont_ = font;
  }
  const Rect area = TextRect();
  const int caretX = offsets_[std::clamp(caret_, 0, static_cast<int>(text.size()))];
  const int textWidth = offsets_.back();
  const int caretWidth = std::max(1, Scaled(1));
  if (textWidth + caretWidth <= area.Width()) {
    scrollX_ = 0;
  } else {
    if (caretX - scrollX_ > area.Width() - caretWidth) scrollX_ = caretX - area.Width() + caretWidth;
    if (caretX < scrollX_) scrollX_ = caretX;
    scrollX_ = std::clamp(scrollX_, 0, std::max(0, textWidth + caretWidth - area.Width()));
  }
  const int lineHeight = canvas.MeasureText(L"Ag", font, 0, kTextSingleLine).cy;
  const int lineTop = area.top + (area.Height() - lineHeight) / 2;

  canvas.PushClip(area);
  const auto [start, end] = GetSel();
  if (start != end && IsFocused()) {
    canvas.FillRect(
        {area.left + offsets_[start] - scrollX_, lineTop, area.left + offsets_[end] - scrollX_, lineTop + lineHeight},
        theme::kAccentSoft);
  }
  if (!text.empty()) {
    canvas.DrawText(text, {area.left - scrollX_, area.top, area.left - scrollX_ + textWidth + lineHeight, area.bottom},
                    font, CurrentTextColor(), kTextSingleLine | kTextVCenter);
  }
  const WindowTree* tree = GetTree();
  const Rect caret{area.left + caretX - scrollX_, lineTop, area.left + caretX - scrollX_ + caretWidth,
                   lineTop + lineHeight};
  if (IsFocused() && tree != nullptr && tree->WindowHasFocus() && caretOn_ && !readOnly_) {
    canvas.FillRect(caret, textColor_.value_or(theme::kText));
  }
  canvas.PopClip();
  if (IsFocused() && tree != nullptr) GetTree()->SetCaretRect(caret);
}

}  // namespace ui
