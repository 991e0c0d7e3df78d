// A read-only, multi-line pane of coloured text: the log panes and summaries. Text is
// appended in runs of one colour and height; a line break ("\r\n", "\n" or "\r") ends a
// paragraph. Paragraphs wrap at the pane's width, unless "hscrollbar"="true" keeps each
// on one line and scrolls sideways. A change of colour or height inside a paragraph
// starts a new visual line.
//
// The user selects text to copy it: by dragging the mouse (a double click takes the
// whole line, Shift+click extends), with Shift and the arrow, Home and End keys, or all
// with Ctrl+A; Ctrl+C puts the selection on the clipboard. Positions count as in
// GetText().
//
// Cost: appending is proportional to the appended text; painting measures and draws only
// the paragraphs in view (their heights are kept until the width changes), so n appended
// lines cost O(n) in all and repaints stay flat however long the pane grows.
//
// Threads: UI thread only; worker threads append through window messages.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/core/Control.h"
#include "ui/core/ScrollBar.h"

namespace ui {

class RichEdit : public Control {
 public:
  RichEdit();
  std::wstring_view GetClass() const override { return L"RichEdit"; }

  // heightTwips is the character height in 1/1440 inch (225 = 11.25 pt); 0 keeps the
  // height of the pane's font.
  void AppendText(std::wstring_view text, Argb color, int heightTwips = 0);
  // In the pane's own colour and font.
  void AppendText(std::wstring_view text);
  // Replaces everything; an empty text clears the pane.
  void SetText(std::wstring text) override;
  // Every paragraph; each ended paragraph is followed by "\r\n".
  std::wstring GetText() const override;
  // Paragraphs that show: ended ones, and the last one when it holds text.
  int GetParagraphCount() const;
  // The colour of the text at a position of GetText() (tests and tools).
  std::optional<Argb> ColorAt(size_t position) const;
  // Shows the last line and keeps it in view as text is appended, until the user
  // scrolls up.
  void ScrollToBottom();
  bool IsFollowingBottom() const { return followBottom_; }

  AttributeResult ApplyAttribute(std::wstring_view name, std::wstring_view value) override;
  bool DoEvent(UiEvent& event) override;
  bool AcceptsMouse() const override { return true; }
  bool IsFocusable() const override { return IsEnabled(); }

  // A read-only document whose value is its whole text; each append is a ValueChanged.
  AccessibleRole GetAccessibleRole() const override { return AccessibleRole::Document; }
  std::wstring GetAccessibleName() const override;  // "accname", else the label before it
  uint32_t GetAccessibleStates() const override;
  std::wstring GetAccessibleValue() const override { return GetText(); }

  // The selection as [start, end) positions of GetText(); empty when start == end.
  std::pair<size_t, size_t> GetSel() const;
  // end beyond the text means its end; the caret goes to end.
  void SetSel(size_t start, size_t end);
  std::wstring GetSelText() const;

 protected:
  void PaintContent(Canvas& canvas, const Rect& dirty) override;
  void PaintBorder(Canvas& canvas) override;  // with the focus ring when Tab brought the focus

 private:
  struct Run {
    size_t start = 0;
    Argb color = 0;
    int heightTwips = 0;
  };
  // One drawn line: [start, end) of the paragraph's text in the font of one run.
  struct Line {
    size_t start = 0;
    size_t end = 0;
    size_t run = 0;
    int height = 0;
  };
  struct Paragraph {
    std::wstring text;
    std::vector<Run> runs;
    std::vector<Line> lines;  // laid out with height
    int height = -1;          // measured at the cached width; -1 unknown
    int width = -1;
    bool ended = false;
  };

  void AppendPiece(std::wstring_view piece, Argb color, int heightTwips);
  void EndParagraph(Argb color, int heightTwips);
  FontSpec RunFont(const Run& run) const;
  int Measure(Canvas& canvas, Paragraph& paragraph, int wrapWidth) const;
  // base: where the paragraph starts in GetText() positions.
  void DrawParagraph(Canvas& canvas, const Paragraph& paragraph, size_t base, int x, int y) const;
  int ShownCount() const;
  Rect ViewRect() const;
  size_t TextLength() const;
  // Where paragraph index starts in GetText() positions.
  size_t ParagraphStart(int index) const;
  // The paragraph that holds a position (the last one for the end).
  int ParagraphAt(size_t position, size_t* start = nullptr) const;
  bool HandleKey(const UiEvent& event);
  void MoveCaret(size_t position, bool extend);
  // A position one visual line up or down from the caret, keeping its column.
  size_t LineStep(bool down) const;
  // Turns a pending mouse press or drag into the selection, on the painted lines.
  // shown: the painted paragraphs with their tops; x: the left edge of their lines.
  void ResolveHit(Canvas& canvas, const std::vector<std::pair<int, int>>& shown, int x);

  std::vector<Paragraph> paragraphs_;
  Argb color_;
  Rect textPadding_{6, 4, 6, 4};
  bool wrap_ = true;
  int cachedWidth_ = -1;
  int topParagraph_ = 0;
  int topOffset_ = 0;
  bool followBottom_ = false;
  int pendingScroll_ = 0;
  std::optional<double> pendingFraction_;
  int scrollX_ = 0;
  int widest_ = 0;
  int lastHeight_ = 0;  // the shortest measured paragraph: the estimate for the others
  ScrollBar vbar_{true};
  ScrollBar hbar_{false};
  size_t anchor_ = 0;
  size_t caret_ = 0;
  bool selecting_ = false;
  struct PendingHit {
    Point point;
    bool extend = false;
    bool wholeLine = false;
  };
  std::optional<PendingHit> pendingHit_;
};

}  // namespace ui
