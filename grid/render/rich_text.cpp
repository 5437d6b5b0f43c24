#include "grid/render/rich_text.h"

#include <algorithm>
#include <utility>

#include "grid/render/markup_flow.h"
#include "grid/render/markup_style.h"
#include "grid/render/rich_text_reader.h"

namespace kelvora {
namespace {

// Alignment changes reach the layout as the paragraph tags of mark-up.
std::string_view AlignTag(TRichAlign align) {
  switch (align) {
    case raRight: return "P align=\"right\"";
    case raCenter: return "P align=\"center\"";
    case raLeft: break;
  }
  return "P align=\"left\"";
}

// Half points to the pixel height a TFont holds, within the sizes mark-up
// may take.
int PixelHeightOfHalfPoints(int halfPoints) {
  const long long clamped = std::clamp(halfPoints, 2 * kMarkupMinPoints, 2 * kMarkupMaxPoints);
  return static_cast<int>((clamped * kPixelsPerInch + 72) / 144);
}

// The document as a flow of words. Each text of one format is cut into
// words (up to and including a space, as mark-up's are); a new look comes
// first as a tag of its own.
class TRichTextFlow : public TMarkupFlow {
 public:
  TRichTextFlow(std::string_view document, const TFont& entryFont) : reader_(document), entryFont_(entryFont) {
    style_.Font = entryFont;
    style_.Font.Style = {};
  }

  TMarkupPiece Next() override {
    while (pos_ >= chunk_.size()) {
      if (!reader_.Next(event_)) return {};
      if (event_.Kind == reBreak) return Tag(mtBreak, "BR");
      if (event_.Kind == reAlign) return Tag(mtParagraph, AlignTag(event_.Align));
      chunk_ = std::move(event_.Text);
      pos_ = 0;
      if (!(StyleOf(event_.Format) == style_)) return Tag(mtFont, {});
    }
    return NextWord();
  }

  void AppendWord(std::string& shown, std::string_view word) const override { shown.append(word); }

  bool ApplyStyle(const TMarkupTag& tag) override {
    if (tag.Kind != mtFont) return false;
    style_ = lastStyle_;
    return true;
  }

  const TMarkupStyle& Style() const override { return style_; }
  bool Hidden() const override { return false; }
  bool Subscript() const override { return false; }
  bool Superscript() const override { return false; }
  int Link() const override { return -1; }
  std::string_view LinkTarget() const override { return {}; }
  bool EmptyLinesHaveHeight() const override { return true; }

 private:
  static TMarkupPiece Tag(TMarkupTagKind kind, std::string_view text) { return {mpTag, {}, {kind, false, text}}; }

  TMarkupPiece NextWord() {
    const std::size_t space = chunk_.find(' ', pos_);
    const std::size_t end = space == std::string::npos ? chunk_.size() : space + 1;
    TMarkupPiece piece{mpWord, std::string_view(chunk_).substr(pos_, end - pos_), {}};
    pos_ = end;
    return piece;
  }

  // The look of a text's format. Texts of one format follow each other
  // often; the look is worked out once for each run of them, and a new look
  // stays here until the layout applies it, before it asks for more text.
  const TMarkupStyle& StyleOf(const TRichCharFormat& format) {
    if (lastFormat_ && *lastFormat_ == format) return lastStyle_;
    TFont& font = lastStyle_.Font;
    font = entryFont_;
    font.Style = {};
    if (const std::string_view name = reader_.FontName(format.Font); !name.empty()) font.Name = name;
    if (format.HalfPoints > 0) font.Height = -PixelHeightOfHalfPoints(format.HalfPoints);
    if (const auto colour = reader_.Colour(format.Colour)) font.Color = *colour;
    if (format.Bold) font.Style.insert(fsBold);
    if (format.Italic) font.Style.insert(fsItalic);
    if (format.Underline) font.Style.insert(fsUnderline);
    if (format.StrikeOut) font.Style.insert(fsStrikeOut);
    lastFormat_ = format;
    return lastStyle_;
  }

  TRichTextReader reader_;
  const TFont entryFont_;
  TRichEvent event_;
  std::string chunk_;
  std::size_t pos_ = 0;
  TMarkupStyle style_;
  std::optional<TRichCharFormat> lastFormat_;
  TMarkupStyle lastStyle_;
};

}  // namespace

std::string RichTextToPlainText(std::string_view document) {
  TRichTextReader reader(document);
  TRichEvent event;
  std::string text;
  while (reader.Next(event)) {
    if (event.Kind == reText) text += event.Text;
    if (event.Kind == reBreak) text += "\r\n";
  }
  if (text.ends_with("\r\n")) text.resize(text.size() - 2);
  return text;
}

TMarkupResult DrawRichText(TCanvas& canvas, const TMarkupInput& input) {
  TRichTextFlow flow(input.Text, canvas.Font());
  return DrawFlow(canvas, input, flow);
}

}  // namespace kelvora
