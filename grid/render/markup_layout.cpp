#include "grid/render/markup_layout.h"

#include <algorithm>
#include <cmath>

#include "grid/render/markup_colour.h"
#include "grid/render/markup_flow.h"
#include "grid/render/markup_parse.h"
#include "toolkit/ascii_case.h"

namespace kelvora {
namespace {

constexpr int kListIndent = 12;  // pixels a list level
constexpr int kDeepestList = 1 << 16;
// No position goes past this, however far a text piles up indents, images
// or lines; the difference of two positions still fits an int.
constexpr int kFar = 1 << 29;
// Words are taken in batches of about this many bytes, so that a run of
// words that fits is measured once, yet a huge text is never measured whole.
constexpr std::size_t kBatchBytes = 256;
// The bullet the Symbol font has at code 183, written as the character it
// is, so that any face that has the character can stand in for Symbol.
constexpr std::string_view kOddLevelBullet = "\xE2\x80\xA2";
constexpr std::string_view kEvenLevelBullet = "o";
constexpr const char* kBulletFace = "Symbol";

int Saturated(long long value) { return static_cast<int>(std::clamp<long long>(value, -kFar, kFar)); }
int Plus(int a, long long b) { return Saturated(a + b); }

double PrintScale(const TMarkupInput& input) {
  if (!input.Printing || !std::isfinite(input.PrintScale) || input.PrintScale <= 0) return 1.0;
  return std::clamp(input.PrintScale, 0.01, 100.0);
}

// Where the text of a line sits when an image makes the line taller.
enum TTextPlacement { tpBottom, tpTop, tpMiddle };
enum TLineAlign { laLeft, laRight, laCenter };

struct TWord {
  std::size_t Start;  // into PlainText
  std::size_t Length;
};

struct TSpanExtent {
  int Body;   // without a trailing space
  int Space;  // the trailing space, 0 when there is none
  int Height;
};

// Until its line ends, a run's vertical place is kept here.
struct TRunShape {
  int Shift;  // down for subscript, up (negative) for superscript
  int Height;
};

class TMarkupLayouter {
 public:
  TMarkupLayouter(TCanvas& canvas, const TMarkupInput& input, TMarkupFlow& flow, TMarkupLayout& out)
      : canvas_(canvas),
        input_(input),
        out_(out),
        flow_(flow),
        entryFont_(canvas.Font()),
        scale_(PrintScale(input)),
        keep_(!input.MeasureOnly || input.Rect.Contains(input.HitPoint)) {
    // A cell's text is short; a huge one grows these as far as it is laid out.
    constexpr std::size_t kUsualText = 256;
    out_.PlainText.reserve(std::min(input.Text.size(), kUsualText));
    words_.reserve(16);
    if (!keep_) return;
    out_.Runs.reserve(8);
    out_.Lines.reserve(4);
  }

  void Run() {
    lineTop_ = input_.Rect.Top;
    stopped_ = lineTop_ >= input_.Rect.Bottom;
    StartLine();
    while (!stopped_) {
      const TMarkupPiece piece = NextPiece();
      if (piece.Kind == mpEnd) break;
      lineStarted_ = true;
      if (piece.Kind == mpWord) TakeWords(piece);
      else ApplyTag(piece.Tag);
    }
    if (!stopped_ && lineStarted_) EndLine();
    Finish();
  }

 private:
  TMarkupPiece NextPiece() {
    if (!hasPending_) return flow_.Next();
    hasPending_ = false;
    return pending_;
  }

  int Scaled(long long pixels) const {
    return Saturated(scale_ == 1.0 ? pixels : std::llround(static_cast<double>(pixels) * scale_));
  }

  bool Fits(int width) const { return static_cast<long long>(x_) + width <= input_.Rect.Width(); }

  // --- Words ------------------------------------------------------------------

  void TakeWords(TMarkupPiece piece) {
    words_.clear();
    std::size_t bytes = 0;
    while (true) {
      AddWord(piece.Word);
      bytes += piece.Word.size();
      if (bytes >= kBatchBytes) break;
      piece = flow_.Next();
      if (piece.Kind != mpWord) {
        pending_ = piece;
        hasPending_ = true;
        break;
      }
    }
    PlaceWords();
  }

  // Hidden words go into the plain text only.
  void AddWord(std::string_view raw) {
    const std::size_t start = out_.PlainText.size();
    flow_.AppendWord(out_.PlainText, raw);
    if (!flow_.Hidden()) words_.push_back({start, out_.PlainText.size() - start});
  }

  // A word that does not fit what is left of the line starts the next one.
  // A word that fits no line at all (wider than the rectangle) still stands
  // on a line of its own, which holds no other word or image: it runs past
  // the right edge, where it is cut off, rather than pushing every line
  // after it down in search of room that never comes.
  void PlaceWords() {
    std::size_t i = 0;
    const std::size_t n = words_.size();
    while (i < n && !stopped_) {
      const TSpanExtent whole = Measure(i, n);
      if (Fits(whole.Body)) {
        Place(i, n, whole);
        return;
      }
      for (; i < n; ++i) {
        const TSpanExtent one = Measure(i, i + 1);
        if (hasContent_ && !Fits(one.Body)) {
          EndLine();
          break;
        }
        Place(i, i + 1, one);
      }
    }
  }

  std::string_view SpanText(std::size_t from, std::size_t to) const {
    const std::size_t start = words_[from].Start;
    return std::string_view(out_.PlainText).substr(start, words_[to - 1].Start + words_[to - 1].Length - start);
  }

  TSize Extent(std::string_view text) {
    if (text.find('\t') == std::string_view::npos) return canvas_.TextExtent(text);
    TRect r{0, 0, kFar, 0};
    const int height = canvas_.DrawText(text, r, {tfSingleLine, tfNoPrefix, tfExpandTabs, tfCalcRect});
    return {r.Width(), height};
  }

  TSpanExtent Measure(std::size_t from, std::size_t to) {
    UseFont(flow_.Style().Font);
    const std::string_view text = SpanText(from, to);
    const bool space = text.back() == ' ';
    const TSize body = Extent(space ? text.substr(0, text.size() - 1) : text);
    if (space && spaceWidth_ < 0) spaceWidth_ = canvas_.TextWidth(" ");
    return {body.cx, space ? spaceWidth_ : 0, body.cy};
  }

  void Place(std::size_t from, std::size_t to, const TSpanExtent& extent) {
    const int room = extent.Height / 4;
    int shift = 0;
    if (flow_.Superscript()) {
      shift -= room;
      supRoom_ = std::max(supRoom_, room);
    }
    if (flow_.Subscript()) {
      shift += room;
      subRoom_ = std::max(subRoom_, room);
    }
    textHeight_ = std::max(textHeight_, extent.Height);
    const int advance = Plus(extent.Body, extent.Space);
    const std::string_view text = SpanText(from, to);
    if (keep_) Keep(words_[from].Start, text, advance, shift, extent.Height);
    x_ = Plus(x_, advance);
    trailingSpace_ = extent.Space;
    hasContent_ = true;
    lineStarted_ = true;
    mergeable_ = text.find('\t') == std::string_view::npos;
  }

  void Keep(std::size_t start, std::string_view text, int advance, int shift, int height) {
    const int style = CurrentStyle();
    const int link = flow_.Link();
    if (Extends(style, link, shift, start) && text.find('\t') == std::string_view::npos) {
      TMarkupRun& last = out_.Runs.back();
      last.Length += text.size();
      last.Box.Right = Plus(last.Box.Right, advance);
    } else {
      out_.Runs.push_back({style, link, {x_, 0, Plus(x_, advance), 0}, start, text.size(), {}});
      shapes_.push_back({shift, height});
    }
    NoteLink(link);
  }

  // Words that follow each other in one look are drawn as one run.
  bool Extends(int style, int link, int shift, std::size_t start) const {
    if (!mergeable_ || out_.Runs.size() <= firstRun_) return false;
    const TMarkupRun& last = out_.Runs.back();
    return last.Style == style && last.Link == link && shapes_.back().Shift == shift &&
           last.Start + last.Length == start && last.Box.Right == x_;
  }

  void NoteLink(int link) {
    if (link >= 0 && (out_.Links.empty() || out_.Links.back().first != link))
      out_.Links.emplace_back(link, flow_.LinkTarget());
  }

  int CurrentStyle() {
    const TMarkupStyle& now = flow_.Style();
    if (styleIndex_ >= 0 && out_.Styles[static_cast<std::size_t>(styleIndex_)] == now) return styleIndex_;
    return Intern(now);
  }

  int Intern(const TMarkupStyle& style) {
    out_.Styles.push_back(style);
    styleIndex_ = static_cast<int>(out_.Styles.size()) - 1;
    return styleIndex_;
  }

  void UseFont(const TFont& font) {
    if (canvas_.Font() == font) return;
    canvas_.Font() = font;
    spaceWidth_ = -1;
  }

  // --- Tags ---------------------------------------------------------------------

  void ApplyTag(const TMarkupTag& tag) {
    if (flow_.ApplyStyle(tag)) return;
    switch (tag.Kind) {
      case mtBreak:
        out_.PlainText += '\r';
        if (!hasContent_ && flow_.EmptyLinesHaveHeight()) HoldLineOpen();
        EndLine();
        return;
      case mtRule:
        rule_ = true;
        EndLine();
        return;
      case mtParagraph: tag.Closing ? EndParagraph() : StartParagraph(tag); return;
      case mtBody: SetBody(tag); return;
      case mtList: ChangeListLevel(tag.Closing); return;
      case mtListItem: ListItem(); return;
      case mtIndent: Indent(tag); return;
      case mtImage: PlaceImage(tag); return;
      default: return;  // not a tag we know: dropped
    }
  }

  void StartParagraph(const TMarkupTag& tag) {
    const std::string_view align = AttributeValue(tag, "align");
    align_ = EqualsIgnoringAsciiCase(align, "RIGHT") ? laRight : EqualsIgnoringAsciiCase(align, "CENTER") ? laCenter : laLeft;
    if (const auto colour = MarkupColour(AttributeValue(tag, "bgcolor"))) paragraphFill_ = fill_ = *colour;
  }

  void EndParagraph() {
    EndLine();
    align_ = laLeft;
    paragraphFill_ = fill_ = clNone;
  }

  // An empty paragraph of rich text is a line of the font in force high.
  void HoldLineOpen() {
    UseFont(flow_.Style().Font);
    textHeight_ = std::max(textHeight_, canvas_.TextHeight("gh"));
  }

  void SetBody(const TMarkupTag& tag) {
    if (const auto colour = MarkupColour(AttributeValue(tag, "bgcolor"))) out_.BodyColor = *colour;
    const std::string_view background = AttributeValue(tag, "background");
    if (background.empty() || input_.MeasureOnly) return;
    std::optional<TMarkupPicture> picture = ResolveMarkupPicture({background, input_.Images, {}, true});
    if (picture && !picture->IsIcon) out_.BodyPicture = std::move(picture);
  }

  void ChangeListLevel(bool down) {
    if (down && listLevel_ > 0) --listLevel_;
    if (!down && listLevel_ < kDeepestList) ++listLevel_;
  }

  void ListItem() {
    if (hadListItem_) {
      EndLine();
      if (stopped_) return;
      lineStarted_ = true;
    }
    hadListItem_ = true;
    const int indent = Scaled(kListIndent);
    x_ = Plus(x_, static_cast<long long>(indent) * listLevel_);
    trailingSpace_ = 0;
    mergeable_ = false;
    if (listLevel_ > 0 && !flow_.Hidden()) PlaceBullet(indent);
  }

  void PlaceBullet(int slot) {
    TMarkupStyle bullet = flow_.Style();
    bullet.Font.Name = kBulletFace;
    UseFont(bullet.Font);
    const std::string_view glyph = listLevel_ % 2 == 1 ? kOddLevelBullet : kEvenLevelBullet;
    const int height = canvas_.TextHeight(glyph);
    textHeight_ = std::max(textHeight_, height);
    if (!keep_) return;
    out_.Runs.push_back({Intern(bullet), -1, {Plus(x_, -slot), 0, x_, 0}, 0, 0, glyph});
    shapes_.push_back({0, height});
  }

  void Indent(const TMarkupTag& tag) {
    const int to = Scaled(MarkupNumber(AttributeValue(tag, "x")));
    if (to <= x_) return;
    x_ = to;
    trailingSpace_ = 0;
    mergeable_ = false;
  }

  void PlaceImage(const TMarkupTag& tag) {
    if (flow_.Hidden()) return;
    const TSize stretch{MarkupNumber(AttributeValue(tag, "width")), MarkupNumber(AttributeValue(tag, "height"))};
    std::optional<TMarkupPicture> picture =
        ResolveMarkupPicture({AttributeValue(tag, "src"), input_.Images, stretch, !input_.MeasureOnly});
    if (!picture) return;
    const int width = Scaled(picture->Size.cx);
    const int height = Scaled(picture->Size.cy);
    if (hasContent_ && !Fits(width)) {
      EndLine();
      if (stopped_) return;
      lineStarted_ = true;
    }
    if (keep_) {
      const int link = flow_.Link();
      out_.Images.push_back({{x_, 0, Plus(x_, width), height}, link, std::move(*picture)});
      NoteLink(link);
    }
    x_ = Plus(x_, width);
    trailingSpace_ = 0;
    hasContent_ = true;
    mergeable_ = false;
    imageHeight_ = std::max(imageHeight_, height);
    const std::string_view align = AttributeValue(tag, "align");
    if (EqualsIgnoringAsciiCase(align, "TOP")) placement_ = tpTop;
    else if (EqualsIgnoringAsciiCase(align, "MIDDLE")) placement_ = tpMiddle;
  }

  // --- Lines --------------------------------------------------------------------

  void StartLine() {
    x_ = 0;
    trailingSpace_ = 0;
    hasContent_ = false;
    hadListItem_ = false;
    lineStarted_ = false;
    mergeable_ = false;
    textHeight_ = supRoom_ = subRoom_ = imageHeight_ = 0;
    placement_ = tpBottom;
    rule_ = false;
    fill_ = paragraphFill_;
    firstRun_ = out_.Runs.size();
    firstImage_ = out_.Images.size();
    shapes_.clear();
  }

  int AlignOffset(int width) const {
    const long long room = static_cast<long long>(input_.Rect.Width()) - width;
    if (room <= 0 || align_ == laLeft) return 0;
    return Saturated(align_ == laRight ? room : room / 2);
  }

  // The text of a line sits on one bottom edge, raised by the room that
  // superscripts need above it and by the room subscripts need below.
  int TextBottom(int height) const {
    const int textBox = supRoom_ + textHeight_ + subRoom_;
    switch (placement_) {
      case tpTop: return supRoom_ + textHeight_;
      case tpMiddle: return (height - textBox) / 2 + supRoom_ + textHeight_;
      case tpBottom: break;
    }
    return height - subRoom_;
  }

  // The space after a line's last word is not part of the line: it neither
  // widens it nor shows (underlined, or on a background) past its end.
  void DropTrailingSpace() {
    if (trailingSpace_ == 0 || out_.Runs.size() <= firstRun_) return;
    TMarkupRun& last = out_.Runs.back();
    if (!last.Glyph.empty() || last.Box.Right != x_ || last.Length == 0 ||
        out_.PlainText[last.Start + last.Length - 1] != ' ')
      return;
    --last.Length;
    last.Box.Right -= trailingSpace_;
  }

  void EndLine() {
    DropTrailingSpace();
    const int width = std::max(0, x_ - trailingSpace_);
    const int height = std::max(supRoom_ + textHeight_ + subRoom_, imageHeight_);
    const int textBottom = Plus(lineTop_, TextBottom(height));
    const int left = Plus(input_.Rect.Left, AlignOffset(width));
    const auto across = [left](int relative) { return Plus(left, relative); };
    for (std::size_t i = firstRun_; i < out_.Runs.size(); ++i) {
      const TRunShape& shape = shapes_[i - firstRun_];
      TRect& box = out_.Runs[i].Box;
      const int bottom = Plus(textBottom, shape.Shift);
      box = {across(box.Left), Plus(bottom, -shape.Height), across(box.Right), bottom};
    }
    for (std::size_t i = firstImage_; i < out_.Images.size(); ++i) {
      TRect& box = out_.Images[i].Box;
      const int imageHeight = box.Bottom;
      const int top = placement_ == tpBottom ? Plus(lineTop_, height - imageHeight) : lineTop_;
      box = {across(box.Left), top, across(box.Right), Plus(top, imageHeight)};
    }
    out_.Lines.push_back({lineTop_, height, left, width, fill_, rule_});
    widest_ = std::max(widest_, width);
    lineTop_ = Plus(lineTop_, height);
    stopped_ = lineTop_ >= input_.Rect.Bottom;
    StartLine();
  }

  void Finish() {
    out_.Width = widest_;
    const long long total = static_cast<long long>(lineTop_) - input_.Rect.Top;
    if (total > 0) {
      out_.Height = Saturated(total);
      return;
    }
    canvas_.Font() = entryFont_;
    out_.Height = canvas_.TextHeight("gh");
  }

  TCanvas& canvas_;
  const TMarkupInput& input_;
  TMarkupLayout& out_;
  TMarkupFlow& flow_;
  const TFont entryFont_;
  const double scale_;

  TMarkupPiece pending_;
  bool hasPending_ = false;
  std::vector<TWord> words_;
  int styleIndex_ = -1;
  const bool keep_;  // the runs and images, for painting and hit testing
  int spaceWidth_ = -1;  // in the surface's font; -1 until measured

  // The text as a whole.
  int lineTop_ = 0;
  int widest_ = 0;
  bool stopped_ = false;
  int listLevel_ = 0;
  TLineAlign align_ = laLeft;
  TColor paragraphFill_ = clNone;

  // The line being laid out; x positions are from its start until it ends.
  int x_ = 0;
  int trailingSpace_ = 0;
  bool hasContent_ = false;   // a word or an image
  bool hadListItem_ = false;
  bool lineStarted_ = false;  // any piece at all since the last line ended
  bool mergeable_ = false;    // the next words may join the last run
  int textHeight_ = 0;
  int supRoom_ = 0;
  int subRoom_ = 0;
  int imageHeight_ = 0;
  TTextPlacement placement_ = tpBottom;
  bool rule_ = false;
  TColor fill_ = clNone;
  std::size_t firstRun_ = 0;
  std::size_t firstImage_ = 0;
  std::vector<TRunShape> shapes_;
};

}  // namespace

TMarkupLayout LayoutMarkup(TCanvas& canvas, const TMarkupInput& input) {
  TMarkupTextFlow flow(input.Text, canvas.Font(), MarkupLinkColours(input));
  return LayoutFlow(canvas, input, flow);
}

TMarkupLayout LayoutFlow(TCanvas& canvas, const TMarkupInput& input, TMarkupFlow& flow) {
  TMarkupLayout layout;
  TMarkupLayouter(canvas, input, flow, layout).Run();
  return layout;
}

TMarkupLinkColours MarkupLinkColours(const TMarkupInput& input) {
  return {input.LinkColor, input.HoverTextColor, input.HoverLinkColor, input.HoverLink};
}

}  // namespace kelvora
