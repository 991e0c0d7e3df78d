// Sections: appending and reading text; attributes and input; painting (scroll state,
// measuring, drawing, scroll bars).
#include "ui/controls/RichEdit.h"

#include <algorithm>

#include "ui/core/AttributeParsing.h"
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
    AppendPiece(text.substr(i, end == std::wstring_view::npos ? std::wstring_view::npos : end - i), color,
                heightTwips);
    if (end == std::wstring_view::npos) break;
    EndParagraph(color, heightTwips);
    i = end + 1;
    if (text[end] == L'\r' && i < text.size() && text[i] == L'\n') ++i;
  }
  Invalidate();
}

void RichEdit::AppendText(std::wstring_view text) { AppendText(text, color_, 0); }

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
  if (!text.empty()) AppendText(text);
  Invalidate();
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

int RichEdit::GetParagraphCount() const { return ShownCount(); }

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
      }
      return true;
    case UiEventType::MouseMove:
      if (vbar_.OnMouseMove(event.position)) {
        dragTo();
      } else if (hbar_.OnMouseMove(event.position)) {
        scrollX_ = hbar_.Pos();
        Invalidate();
      }
      return true;
    case UiEventType::ButtonUp:
      vbar_.OnButtonUp();
      hbar_.OnButtonUp();
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
  const unsigned format = wrapWidth > 0 ? kTextWordBreak : kTextSingleLine;
  int height = 0, width = 0;
  if (paragraph.runs.empty()) {
    height = canvas.MeasureText(L" ", Font(), 0, kTextSingleLine).cy;
  }
  for (size_t k = 0; k < paragraph.runs.size(); ++k) {
    const Run& run = paragraph.runs[k];
    const size_t end = k + 1 < paragraph.runs.size() ? paragraph.runs[k + 1].start : paragraph.text.size();
    std::wstring_view piece = std::wstring_view(paragraph.text).substr(run.start, end - run.start);
    if (piece.empty()) piece = L" ";
    const Size size = canvas.MeasureText(piece, RunFont(run), wrapWidth, format);
    height += size.cy;
    width = std::max(width, size.cx);
  }
  paragraph.height = std::max(1, height);
  paragraph.width = width;
  return paragraph.height;
}

void RichEdit::DrawParagraph(Canvas& canvas, const Paragraph& paragraph, int x, int y, int wrapWidth) const {
  const unsigned format = (wrapWidth > 0 ? kTextWordBreak : kTextSingleLine) | kTextTop;
  const int width = wrapWidth > 0 ? wrapWidth : paragraph.width + Scaled(16);
  for (size_t k = 0; k < paragraph.runs.size(); ++k) {
    const Run& run = paragraph.runs[k];
    const size_t end = k + 1 < paragraph.runs.size() ? paragraph.runs[k + 1].start : paragraph.text.size();
    const std::wstring_view piece = std::wstring_view(paragraph.text).substr(run.start, end - run.start);
    const FontSpec font = RunFont(run);
    const int height = paragraph.runs.size() == 1
                           ? paragraph.height
                           : canvas.MeasureText(piece.empty() ? L" " : piece, font, wrapWidth, format).cy;
    if (!piece.empty()) canvas.DrawText(piece, {x, y, x + width, y + height}, font, run.color, format);
    y += height;
  }
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

  canvas.PushClip(view.Intersect(dirty));
  int y = view.top - topOffset_;
  for (int i = topParagraph_; i < count && y < view.bottom; ++i) {
    const int h = height(i);
    if (y + h > view.top) DrawParagraph(canvas, paragraphs_[i], view.left - scrollX_, y, wrapWidth);
    y += h;
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
    hbar_.SetTrack({rect_.left + inset, rect_.bottom - inset - thickness, rect_.right - inset - thickness,
                    rect_.bottom - inset});
    hbar_.Paint(canvas, hot);
  }
}

}  // namespace ui
