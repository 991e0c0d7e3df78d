// Sections: appending and reading text; attributes and input; painting (scroll state,
// measuring, drawing, scroll bars).
#include "ui/controls/RichEdit.h"

#include <algorithm>

#include "ui/core/AttributeParsing.h"
#include "ui/core/Host.h"
#include "ui/core/SystemConstants.h"
#include "ui/core/TextLineBreaker.h"
#include "ui/core/Theme.h"
#include "ui/core/WindowTree.h"

namespace ui {

namespace {

constexpr int kBarUnits = 8;

bool SameFormat(const auto& run, Argb color, int heightTwips) {
  return run.color == color && run.heightTwips == heightTwips;
}

}  // namespace

RichEdit::RichEdit() : color_(theme::kText) {
  bkColor_ = theme::kBody;
  borderColor_ = theme::kBorder;
  borderSize_ = 1;
}

// ---- appending and reading text -------------------------------------------------------

void RichEdit::AppendPiece(std::wstring_view piece, Argb color, int heightTwips) {
  if (paragraphs_.empty() || paragraphs_.back().ended) paragraphs_.emplace_back();
  Paragraph& paragraph = paragraphs_.back();
  if (piece.empty()) return;
  if (paragraph.runs.empty() || !SameFormat(paragraph.runs.back(), color, heightTwips)) {
    paragraph.runs.push_back({paragraph.text.size(), color, heightTwips});
  }
  paragraph.text.append(piece);
  paragraph.height = -1;
}

void RichEdit::EndParagraph(Argb color, int heightTwips) {
  if (paragraphs_.empty() || paragraphs_.back().ended) paragraphs_.emplace_back();
  Paragraph& paragraph = paragraphs_.back();
  // An empty line keeps the format it was written in, for its height.
  if (paragraph.runs.empty()) paragraph.runs.push_back({0, color, heightTwips});
  paragraph.ended = true;
  paragraph.height = -1;
}

void RichEdit::AppendText(std::wstring_view text, Argb color, int heightTwips) {
  size_t i = 0;
  while (i <= text.size()) {
    const size_t end = text.find_first_of(L"\r\n", i);
    AppendPiece(text.substr(i, end == std::wstring_view::npos ? std::wstring_view::npos : end - i), color, heightTwips);
    if (end == std::wstring_view::npos) break;
    EndParagraph(color, heightTwips);
    i = end + 1;
    if (text[end] == L'\r' && i < text.size() && text[i] == L'\n') ++i;
  }
  Invalidate();
  if (!text.empty()) RaiseAccessibilityEvent(AccessibleEvent::ValueChanged);
}

void RichEdit::AppendText(std::wstring_view text) {
  AppendText(text, color_, 0);
}

void RichEdit::SetText(std::wstring text) {
  paragraphs_.clear();
  topParagraph_ = 0;
  topOffset_ = 0;
  scrollX_ = 0;
  widest_ = 0;
  lastHeight_ = 0;
  followBottom_ = false;
  pendingScroll_ = 0;
  pendingFraction_.reset();
  anchor_ = caret_ = 0;
  selecting_ = false;
  pendingHit_.reset();
  if (!text.empty()) {
    AppendText(text);
  } else {
    RaiseAccessibilityEvent(AccessibleEvent::ValueChanged);
  }
  Invalidate();
}

void RichEdit::PaintBorder(Canvas& canvas) {
  const WindowTree* tree = GetTree();
  if (IsFocused() && tree != nullptr && tree->IsFocusVisible()) {
    canvas.DrawRoundRect(rect_, Scaled(borderRound_), theme::kAccent, std::max(2, Scaled(2)));
    return;
  }
  Control::PaintBorder(canvas);
}

std::wstring RichEdit::GetAccessibleName() const {
  if (!GetRawAccessibleName().empty()) return Control::GetAccessibleName();
  return NameFromLabelBefore(*this);
}

uint32_t RichEdit::GetAccessibleStates() const {
  return Control::GetAccessibleStates() | kAccReadOnly | kAccMultiLine;
}

std::wstring RichEdit::GetText() const {
  std::wstring all;
  for (const Paragraph& paragraph : paragraphs_) {
    all += paragraph.text;
    if (paragraph.ended) all += L"\r\n";
  }
  return all;
}

int RichEdit::ShownCount() const {
  int count = static_cast<int>(paragraphs_.size());
  if (count > 0 && !paragraphs_.back().ended && paragraphs_.back().text.empty()) --count;
  return count;
}

int RichEdit::GetParagraphCount() const {
  return ShownCount();
}

std::optional<Argb> RichEdit::ColorAt(size_t position) const {
  for (const Paragraph& paragraph : paragraphs_) {
    if (position < paragraph.text.size()) {
      Argb color = paragraph.runs.front().color;
      for (const Run& run : paragraph.runs) {
        if (run.start <= position) color = run.color;
      }
      return color;
    }
    position -= paragraph.text.size();
    if (!paragraph.ended) break;
    if (position < 2) return paragraph.runs.back().color;
    position -= 2;
  }
  return std::nullopt;
}

size_t RichEdit::ParagraphStart(int index) const {
  size_t start = 0;
  for (int i = 0; i < index && i < static_cast<int>(paragraphs_.size()); ++i) {
    start += paragraphs_[i].text.size() + (paragraphs_[i].ended ? 2 : 0);
  }
  return start;
}

size_t RichEdit::TextLength() const {
  return ParagraphStart(static_cast<int>(paragraphs_.size()));
}

int RichEdit::ParagraphAt(size_t position, size_t* start) const {
  size_t at = 0;
  const int last = static_cast<int>(paragraphs_.size()) - 1;
  for (int i = 0; i <= last; ++i) {
    const size_t next = at + paragraphs_[i].text.size() + (paragraphs_[i].ended ? 2 : 0);
    if (position < next || i == last) {
      if (start) *start = at;
      return i;
    }
    at = next;
  }
  if (start) *start = 0;
  return -1;
}

std::pair<size_t, size_t> RichEdit::GetSel() const {
  return {std::min(anchor_, caret_), std::max(anchor_, caret_)};
}

void RichEdit::SetSel(size_t start, size_t end) {
  const size_t length = TextLength();
  anchor_ = std::min(start, length);
  caret_ = std::min(end, length);
  Invalidate();
}

std::wstring RichEdit::GetSelText() const {
  const auto [start, end] = GetSel();
  return start == end ? std::wstring() : GetText().substr(start, end - start);
}

void RichEdit::ScrollToBottom() {
  followBottom_ = true;
  pendingScroll_ = 0;
  pendingFraction_.reset();
  Invalidate();
}

// ---- attributes and input -------------------------------------------------------------

AttributeResult RichEdit::ApplyAttribute(std::wstring_view name, std::wstring_view value) {
  auto is = [&](std::wstring_view wanted) { return NameEquals(name, wanted); };
  if (is(L"textcolor")) {
    auto color = ParseColor(value);
    if (!color) return AttributeResult::BadValue;
    color_ = *color;
    return AttributeResult::Applied;
  }
  if (is(L"textpadding")) {
    auto rect = ParseRect(value);
    if (!rect) return AttributeResult::BadValue;
    textPadding_ = *rect;
    Invalidate();
    return AttributeResult::Applied;
  }
  if (is(L"hscrollbar")) {
    auto flag = ParseBool(value);
    if (!flag) return AttributeResult::BadValue;
    wrap_ = !*flag;
    cachedWidth_ = -2;
    Invalidate();
    return AttributeResult::Applied;
  }
  // Always read-only, multi-line and vertically scrolling; the layout may say so.
  if (is(L"vscrollbar") || is(L"readonly") || is(L"multiline") || is(L"autovscroll")) {
    return ParseBool(value) ? AttributeResult::Applied : AttributeResult::BadValue;
  }
  return Control::ApplyAttribute(name, value);
}

bool RichEdit::DoEvent(UiEvent& event) {
  const int total = vbar_.MaxPos();
  auto dragTo = [&] {
    pendingFraction_ = total > 0 ? static_cast<double>(vbar_.Pos()) / total : 0.0;
    Invalidate();
  };
  switch (event.type) {
    case UiEventType::Wheel:
      if (event.shift && !wrap_) {
        hbar_.SetPos(hbar_.Pos() - event.wheelDelta * Scaled(40) / 120);
        scrollX_ = hbar_.Pos();
      } else {
        pendingScroll_ -= event.wheelDelta * Scaled(48) / 120;
      }
      Invalidate();
      return true;
    case UiEventType::ButtonDown:
    case UiEventType::DoubleClick:
      if (vbar_.OnButtonDown(event.position)) {
        dragTo();
      } else if (hbar_.OnButtonDown(event.position)) {
        scrollX_ = hbar_.Pos();
        Invalidate();
      } else if (event.button == MouseButton::Left) {
        // Where the text lies is known once it is laid out: the next paint resolves it.
        pendingHit_ = PendingHit{event.position, event.shift, event.type == UiEventType::DoubleClick};
        selecting_ = event.type == UiEventType::ButtonDown;
        Invalidate();
      }
      return true;
    case UiEventType::MouseMove:
      if (vbar_.OnMouseMove(event.position)) {
        dragTo();
      } else if (hbar_.OnMouseMove(event.position)) {
        scrollX_ = hbar_.Pos();
        Invalidate();
      } else if (selecting_) {
        pendingHit_ = PendingHit{event.position, true, false};
        Invalidate();
      }
      return true;
    case UiEventType::ButtonUp:
      vbar_.OnButtonUp();
      hbar_.OnButtonUp();
      selecting_ = false;
      Invalidate();
      return true;
    case UiEventType::KeyDown:
      return HandleKey(event);
    case UiEventType::SetFocus:
    case UiEventType::KillFocus:
      Invalidate();
      return true;
    case UiEventType::MouseEnter:
    case UiEventType::MouseLeave:
      Invalidate();
      return true;
    default:
      return false;
  }
}

// ---- painting -------------------------------------------------------------------------

FontSpec RichEdit::RunFont(const Run& run) const {
  FontSpec font = Font();
  if (run.heightTwips > 0) font.size = std::max(1, Scaled((run.heightTwips + 7) / 15));  // 15 twips per pixel at 96 dpi
  return font;
}

Rect RichEdit::ViewRect() const {
  Rect view = rect_.Deflate(Scaled(textPadding_));
  view.right -= Scaled(kBarUnits) / 2;
  if (!wrap_) view.bottom -= Scaled(kBarUnits) / 2;
  return view;
}

int RichEdit::Measure(Canvas& canvas, Paragraph& paragraph, int wrapWidth) const {
  // The pane lays out its own lines, so that drawing, highlighting and hit tests agree.
  paragraph.lines.clear();
  int height = 0, width = 0;
  if (paragraph.runs.empty()) {
    height = canvas.MeasureText(L" ", Font(), 0, kTextSingleLine).cy;
    paragraph.lines.push_back({0, 0, 0, height});
  }
  for (size_t k = 0; k < paragraph.runs.size(); ++k) {
    const Run& run = paragraph.runs[k];
    const size_t end = k + 1 < paragraph.runs.size() ? paragraph.runs[k + 1].start : paragraph.text.size();
    const FontSpec font = RunFont(run);
    for (const auto& [from, to] : BreakLines(canvas, paragraph.text, run.start, end, font, wrapWidth)) {
      const std::wstring_view piece = std::wstring_view(paragraph.text).substr(from, to - from);
      const Size size = canvas.MeasureText(piece.empty() ? L" " : piece, font, 0, kTextSingleLine);
      paragraph.lines.push_back({from, to, k, size.cy});
      height += size.cy;
      width = std::max(width, piece.empty() ? 0 : size.cx);
    }
  }
  paragraph.height = std::max(1, height);
  paragraph.width = width;
  return paragraph.height;
}

void RichEdit::DrawParagraph(Canvas& canvas, const Paragraph& paragraph, size_t base, int x, int y) const {
  const auto [selStart, selEnd] = GetSel();
  for (const Line& line : paragraph.lines) {
    if (paragraph.runs.empty()) break;
    const Run& run = paragraph.runs[line.run];
    const FontSpec font = RunFont(run);
    const std::wstring_view text = std::wstring_view(paragraph.text).substr(line.start, line.end - line.start);
    const size_t first = base + line.start, last = base + line.end;
    // The line's part of the selection; a selection that goes on past it marks its end.
    if (selStart < selEnd && selStart <= last && selEnd > first && (selStart < last || selEnd > last)) {
      const size_t from = std::max(selStart, first) - first;
      const size_t to = std::min(selEnd, last) - first;
      const int left = x + LineWidth(canvas, text.substr(0, from), font);
      int right = x + LineWidth(canvas, text.substr(0, to), font);
      if (selEnd > last && line.end == paragraph.text.size()) right += Scaled(4);
      canvas.FillRect({left, y, std::max(right, left + 1), y + line.height}, theme::kAccentSoft);
    }
    if (!text.empty()) {
      const int width = LineWidth(canvas, text, font) + Scaled(16);
      canvas.DrawText(text, {x, y, x + width, y + line.height}, font, run.color, kTextSingleLine | kTextTop);
    }
    y += line.height;
  }
}

void RichEdit::ResolveHit(Canvas& canvas, const std::vector<std::pair<int, int>>& shown, int x) {
  if (!pendingHit_) return;
  const PendingHit hit = *pendingHit_;
  pendingHit_.reset();
  size_t position = 0;
  if (shown.empty()) {
    position = TextLength();
  } else if (hit.point.y < shown.front().second) {
    position = ParagraphStart(shown.front().first);
  } else {
    // The shown paragraph under the point; below the last one of all, the end.
    size_t chosen = shown.size();
    for (size_t i = 0; i < shown.size(); ++i) {
      if (hit.point.y < shown[i].second + paragraphs_[shown[i].first].height) {
        chosen = i;
        break;
      }
    }
    if (chosen == shown.size() && shown.back().first + 1 >= ShownCount()) {
      caret_ = TextLength();
      if (!hit.extend && !hit.wholeLine) anchor_ = caret_;
      Invalidate();
      return;
    }
    chosen = std::min(chosen, shown.size() - 1);
    const int index = shown[chosen].first;
    const Paragraph& paragraph = paragraphs_[index];
    const size_t base = ParagraphStart(index);
    if (hit.wholeLine) {
      anchor_ = base;
      caret_ = base + paragraph.text.size();
      Invalidate();
      return;
    }
    int y = shown[chosen].second;
    position = base + paragraph.text.size();
    for (const Line& line : paragraph.lines) {
      if (hit.point.y < y + line.height && !paragraph.runs.empty()) {
        const std::wstring_view text = std::wstring_view(paragraph.text).substr(line.start, line.end - line.start);
        position = base + line.start + IndexAtX(canvas, text, RunFont(paragraph.runs[line.run]), hit.point.x - x);
        break;
      }
      y += line.height;
    }
  }
  caret_ = position;
  if (!hit.extend) anchor_ = position;
  Invalidate();
}

bool RichEdit::HandleKey(const UiEvent& event) {
  const auto [start, end] = GetSel();
  if (event.control && event.key == 'A') {
    SetSel(0, TextLength());
    return true;
  }
  if (event.control && event.key == 'C') {
    if (start != end) CurrentHost().SetClipboardText(GetSelText());
    return true;
  }
  size_t paragraphStart = 0;
  const int paragraph = ParagraphAt(caret_, &paragraphStart);
  auto lineOf = [&](size_t position) -> std::pair<size_t, size_t> {
    if (paragraph < 0) return {0, 0};
    const Paragraph& p = paragraphs_[paragraph];
    const size_t offset = position - paragraphStart;
    for (const Line& line : p.lines) {
      if (offset < line.end || line.end == p.text.size())
        return {paragraphStart + line.start, paragraphStart + line.end};
    }
    return {paragraphStart, paragraphStart + p.text.size()};
  };
  switch (event.key) {
    case kVkLeft: {
      size_t to = caret_;
      if (start != end && !event.shift) {
        to = start;
      } else if (caret_ > 0) {
        // From a paragraph's start over its predecessor's line break in one step.
        to = caret_ == paragraphStart && paragraph > 0 ? caret_ - 2 : caret_ - 1;
      }
      MoveCaret(to, event.shift);
      return true;
    }
    case kVkRight: {
      size_t to = caret_;
      if (start != end && !event.shift) {
        to = end;
      } else if (caret_ < TextLength()) {
        const bool atBreak = paragraph >= 0 && caret_ == paragraphStart + paragraphs_[paragraph].text.size();
        to = atBreak ? caret_ + 2 : caret_ + 1;
      }
      MoveCaret(to, event.shift);
      return true;
    }
    case kVkUp:
    case kVkDown:
      MoveCaret(LineStep(event.key == kVkDown), event.shift);
      return true;
    case kVkHome:
      MoveCaret(event.control ? 0 : lineOf(caret_).first, event.shift);
      return true;
    case kVkEnd:
      MoveCaret(event.control ? TextLength() : lineOf(caret_).second, event.shift);
      return true;
    default:
      return false;
  }
}

void RichEdit::MoveCaret(size_t position, bool extend) {
  caret_ = std::min(position, TextLength());
  if (!extend) anchor_ = caret_;
  Invalidate();
}

size_t RichEdit::LineStep(bool down) const {
  size_t base = 0;
  const int index = ParagraphAt(caret_, &base);
  if (index < 0) return caret_;
  // The lines of a paragraph not laid out yet count as one.
  auto linesOf = [&](int i) {
    std::vector<std::pair<size_t, size_t>> lines;
    for (const Line& line : paragraphs_[i].lines) lines.emplace_back(line.start, line.end);
    if (lines.empty() || paragraphs_[i].height < 0) lines.assign(1, {0, paragraphs_[i].text.size()});
    return lines;
  };
  const auto lines = linesOf(index);
  const size_t offset = caret_ - base;
  size_t current = lines.size() - 1;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (offset < lines[i].second) {
      current = i;
      break;
    }
  }
  const size_t column = offset - std::min(offset, lines[current].first);
  auto within = [&](size_t start, const std::pair<size_t, size_t>& line) {
    return start + std::min(line.first + column, line.second);
  };
  if (down) {
    if (current + 1 < lines.size()) return within(base, lines[current + 1]);
    if (index + 1 >= static_cast<int>(paragraphs_.size())) return TextLength();
    return within(ParagraphStart(index + 1), linesOf(index + 1).front());
  }
  if (current > 0) return within(base, lines[current - 1]);
  if (index == 0) return 0;
  return within(ParagraphStart(index - 1), linesOf(index - 1).back());
}

void RichEdit::PaintContent(Canvas& canvas, const Rect& dirty) {
  const Rect view = ViewRect();
  if (view.IsEmpty()) return;
  const int wrapWidth = wrap_ ? view.Width() : 0;
  if (wrapWidth != cachedWidth_) {
    for (Paragraph& paragraph : paragraphs_) paragraph.height = -1;
    cachedWidth_ = wrapWidth;
    widest_ = 0;
  }
  const int count = ShownCount();
  // Paragraphs not measured yet count as one line, as short as the shortest measured.
  const int lineEstimate = lastHeight_ > 0 ? lastHeight_ : canvas.MeasureText(L"Ag", Font(), 0, kTextSingleLine).cy;
  auto height = [&](int i) {
    Paragraph& paragraph = paragraphs_[i];
    if (paragraph.height < 0) {
      Measure(canvas, paragraph, wrapWidth);
      widest_ = std::max(widest_, paragraph.width);
      lastHeight_ = lastHeight_ > 0 ? std::min(lastHeight_, paragraph.height) : paragraph.height;
    }
    return paragraph.height;
  };
  auto fillsView = [&] {
    int below = -topOffset_;
    for (int i = topParagraph_; i < count && below <= view.Height(); ++i) below += height(i);
    return below > view.Height();
  };
  topParagraph_ = std::clamp(topParagraph_, 0, std::max(0, count - 1));

  if (pendingFraction_) {
    long long total = 0;
    for (const Paragraph& paragraph : paragraphs_) total += paragraph.height >= 0 ? paragraph.height : lineEstimate;
    long long target = static_cast<long long>(*pendingFraction_ * std::max<long long>(0, total - view.Height()));
    pendingFraction_.reset();
    followBottom_ = false;
    topParagraph_ = 0;
    topOffset_ = 0;
    for (int i = 0; i < count; ++i) {
      const int h = paragraphs_[i].height >= 0 ? paragraphs_[i].height : lineEstimate;
      if (target < h) {
        topParagraph_ = i;
        topOffset_ = static_cast<int>(target);
        break;
      }
      target -= h;
      topParagraph_ = i;
    }
    if (!fillsView()) followBottom_ = true;
  }
  auto anchorBottom = [&] {
    int remaining = view.Height();
    topParagraph_ = 0;
    topOffset_ = 0;
    for (int i = count - 1; i >= 0; --i) {
      const int h = height(i);
      if (h >= remaining) {
        topParagraph_ = i;
        topOffset_ = h - remaining;
        return;
      }
      remaining -= h;
    }
  };
  if (followBottom_) anchorBottom();
  if (pendingScroll_ != 0) {
    followBottom_ = false;
    topOffset_ += pendingScroll_;
    pendingScroll_ = 0;
    while (topOffset_ < 0 && topParagraph_ > 0) topOffset_ += height(--topParagraph_);
    topOffset_ = std::max(0, topOffset_);
    while (topParagraph_ < count - 1 && topOffset_ >= height(topParagraph_)) topOffset_ -= height(topParagraph_++);
    if (!fillsView()) {
      followBottom_ = true;
      anchorBottom();
    }
  }

  std::vector<std::pair<int, int>> shown;  // paragraph, top
  int y = view.top - topOffset_;
  for (int i = topParagraph_; i < count && y < view.bottom; ++i) {
    const int h = height(i);
    if (y + h > view.top) shown.emplace_back(i, y);
    y += h;
  }
  const int left = view.left - scrollX_;
  ResolveHit(canvas, shown, left);
  canvas.PushClip(view.Intersect(dirty));
  size_t base = shown.empty() ? 0 : ParagraphStart(shown.front().first);
  for (const auto& [i, top] : shown) {
    DrawParagraph(canvas, paragraphs_[i], base, left, top);
    base += paragraphs_[i].text.size() + (paragraphs_[i].ended ? 2 : 0);
  }
  canvas.PopClip();

  long long total = 0, above = topOffset_;
  for (int i = 0; i < count; ++i) {
    const int h = paragraphs_[i].height >= 0 ? paragraphs_[i].height : lineEstimate;
    total += h;
    if (i < topParagraph_) above += h;
  }
  const int thickness = Scaled(kBarUnits);
  const int inset = std::max(1, Scaled(borderSize_));
  const WindowTree* tree = GetTree();
  const bool hot = tree != nullptr && (tree->GetHover() == this || tree->GetCapture() == this);
  vbar_.SetRange(static_cast<int>(std::min<long long>(total, 1 << 30)), view.Height());
  vbar_.SetPos(static_cast<int>(std::min<long long>(above, 1 << 30)));
  vbar_.SetTrack({rect_.right - inset - thickness, rect_.top + inset, rect_.right - inset,
                  rect_.bottom - inset - (wrap_ ? 0 : thickness)});
  vbar_.Paint(canvas, hot);
  if (!wrap_) {
    hbar_.SetRange(widest_, view.Width());
    hbar_.SetPos(scrollX_);
    scrollX_ = hbar_.Pos();
    hbar_.SetTrack(
        {rect_.left + inset, rect_.bottom - inset - thickness, rect_.right - inset - thickness, rect_.bottom - inset});
    hbar_.Paint(canvas, hot);
  }
}

}  // namespace ui
