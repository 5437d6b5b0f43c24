// The three kinds of cell text: mark-up and rich text through the mark-up
// layout, and plain text with its alignment, links and cut.
#include <algorithm>
#include <string>

#include "grid/render/cell_extent.h"
#include "grid/render/cell_painter.h"
#include "grid/render/rich_text.h"

namespace kelvora {
namespace {

constexpr int kTextInset = 2;
constexpr int kMarkupSortRoom = 10;
constexpr int kCenteredSortRoom = 10;
constexpr int kSortGlyphWidth = 14;
constexpr std::string_view kEllipsis = "...";

// Moves the sides in without ever turning the rectangle inside out, so that a
// cell narrower than its insets gets an empty text rectangle inside itself.
TRect Inset(const TRect& r, int left, int top, int right) {
  TRect inner{r.Left + left, r.Top + top, r.Right - right, r.Bottom};
  inner.Left = std::min(inner.Left, r.Right);
  inner.Top = std::min(inner.Top, r.Bottom);
  inner.Right = std::max(inner.Right, inner.Left);
  return inner;
}

bool IsLeadByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }

}  // namespace

bool TCellPainter::IsLink() const {
  return settings_.URLShow &&
         (text_.find("://") != std::string::npos || text_.find("mailto:") != std::string::npos);
}

void TCellPainter::PaintMarkup() {
  const bool sortHeader = IsSortHeader(settings_, cell_.DataCol, cell_.Row);
  TMarkupInput input;
  input.Text = text_;
  input.Rect = Inset(rect_, kTextInset, kTextInset, sortHeader ? rect_.Right - SortGlyphLeft() : 0);
  input.Images = settings_.GridImages;
  input.LinkColor = linkColor_;
  input.BlinkPhase = settings_.BlinkPhase;
  {
    const TCellClip clip(canvas_, rect_, context_.PaintArea);
    context_.PaintMarkup(canvas_, input);
  }
  if (sortHeader) DrawSortGlyph();
}

// Rich text is laid out as mark-up is, in the same rectangle, over the cell
// painted in the brush colour first, except for a selected cell whose
// selection keeps the cell's own look. Text without a colour of its own
// takes the cell's text colour, the selection's too.
void TCellPainter::PaintRichText() {
  canvas_.Pen().Color = canvas_.Brush().Color;
  const bool keepsLook =
      state_.contains(gdSelected) && !state_.contains(gdFocused) && settings_.SelectionColor == clNone;
  if (!keepsLook) canvas_.Rectangle(rect_);
  TMarkupInput input;
  input.Text = text_;
  input.Rect = Inset(rect_, kTextInset, kTextInset, 0);
  const TCellClip clip(canvas_, rect_, context_.PaintArea);
  DrawRichText(canvas_, input);
}

void TCellPainter::PaintPlainText() {
  const TAlignment alignment = host_.CellAlignment(cell_.DataCol, cell_.Row);
  const bool sortColumnHeader = cell_.Row == 0 && settings_.SortShow && cell_.DataCol == settings_.SortColumn;
  const bool sortHeader = IsSortHeader(settings_, cell_.DataCol, cell_.Row);
  TRect box = Inset(rect_, kTextInset, kTextInset, kTextInset);
  if (alignment == taCenter && sortColumnHeader) box.Left = std::min(box.Left + kCenteredSortRoom, box.Right);
  // The text stops where the glyph and its rank begin, so the two never meet.
  if (sortHeader) box.Right = std::max(box.Left, std::min(box.Right - kSortGlyphWidth, SortGlyphLeft() - kTextInset));
  const int width = box.Width() - (sortColumnHeader && !sortHeader ? kSortGlyphWidth : 0);
  if (IsLink()) {
    canvas_.Font().Style.insert(fsUnderline);
    canvas_.Font().Color = linkColor_;
  }
  const bool severalLines = settings_.Multilinecells && text_.find('\r') != std::string::npos;
  const std::string_view shown = severalLines ? std::string_view(text_) : ShownLine(width);
  // The background is filled already, and may be a picture.
  canvas_.SetTransparentText(true);
  canvas_.DrawText(shown, box, PlainTextFlags(alignment, severalLines));
  if (sortHeader) DrawSortGlyph();
}

// The first line, without its protocol when links are shown short, and cut
// to the width with "..." when asked. The cut keeps whole characters and
// works in the text buffer.
std::string_view TCellPainter::ShownLine(int width) {
  const TCellTextOptions options{settings_.EnableHTML, settings_.Multilinecells, settings_.URLShow,
                                 settings_.URLFull};
  const std::string_view line = FirstDisplayLine(text_, options);
  if (!settings_.EnhTextSize || canvas_.TextWidth(line) <= width) return line;
  const std::size_t start = static_cast<std::size_t>(line.data() - text_.data());
  const std::size_t fitting = static_cast<std::size_t>(
      std::max(0, canvas_.TextFitCount(line, std::max(0, width - canvas_.TextWidth(kEllipsis)))));
  text_.resize(start + fitting);
  text_.erase(0, start);
  text_.append(kEllipsis);
  // Widths need not add up exactly where characters meet, so the cut is
  // checked as a whole and shortened further while it does not fit.
  while (text_.size() > kEllipsis.size() && canvas_.TextWidth(text_) > width) {
    std::size_t cut = text_.size() - kEllipsis.size() - 1;
    while (cut > 0 && !IsLeadByte(text_[cut])) --cut;
    text_.erase(cut, text_.size() - kEllipsis.size() - cut);
  }
  if (text_.size() == kEllipsis.size()) text_.clear();
  return text_;
}

TTextFlags TCellPainter::PlainTextFlags(TAlignment alignment, bool severalLines) const {
  TTextFlags flags{tfNoPrefix, tfExpandTabs};
  if (alignment == taRightJustify) flags.insert(tfRight);
  if (alignment == taCenter) flags.insert(tfCenter);
  if (settings_.VAlignment == vtaCenter) flags.insert(tfVCenter);
  if (settings_.VAlignment == vtaBottom) flags.insert(tfBottom);
  if (settings_.RightToLeft) flags.insert(tfRtlReading);
  if (settings_.WordWrap) flags.insert(tfWordBreak).insert(tfEditControl);
  else if (!severalLines) flags.insert(tfSingleLine);
  return flags;
}

// The rank is shown only while several columns sort, left of the triangle.
std::string TCellPainter::SortRankText() const {
  const TSortMark* mark = FindSortMark(settings_, cell_.DataCol);
  if (!mark || settings_.SortMarks.size() < 2) return {};
  return std::to_string(mark->Rank);
}

// The left edge of the room kept at the right of a sort header for the
// triangle and the rank.
int TCellPainter::SortGlyphLeft() {
  const std::string rank = SortRankText();
  const int rankWidth = rank.empty() ? 0 : canvas_.TextWidth(rank) + 1;
  return rect_.Right - kMarkupSortRoom - rankWidth;
}

// A small triangle in the room kept at the right of the header, pointing up
// for an ascending column and down for a descending one, its rank before it.
void TCellPainter::DrawSortGlyph() {
  constexpr int kWidth = 7;
  constexpr int kHeight = 4;
  if (rect_.Width() < kSortGlyphWidth || rect_.Height() < kHeight + 2) return;
  const TSortMark* mark = FindSortMark(settings_, cell_.DataCol);
  const bool down = mark && mark->Descending;
  const int left = rect_.Right - kMarkupSortRoom;
  const int top = rect_.Top + (rect_.Height() - kHeight) / 2;
  canvas_.Pen().Color = clBtnShadow;
  canvas_.Pen().Width = 1;
  for (int step = 0; step < kHeight; ++step) {
    const int inset = down ? step : kHeight - 1 - step;
    canvas_.MoveTo(left + inset, top + step);
    canvas_.LineTo(left + kWidth - inset, top + step);
  }
  const std::string rank = SortRankText();
  if (rank.empty()) return;
  TRect room{SortGlyphLeft(), rect_.Top, left, rect_.Bottom};
  canvas_.SetTransparentText(true);
  canvas_.DrawText(rank, room, TTextFlags{tfNoPrefix, tfSingleLine, tfVCenter, tfRight});
}

}  // namespace kelvora
