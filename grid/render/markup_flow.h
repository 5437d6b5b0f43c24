#pragma once

#include <string>
#include <string_view>

#include "grid/render/markup_parse.h"
#include "grid/render/markup_style.h"

namespace kelvora {

// What the layout of formatted cell text reads: words, each in the look in
// force when it comes, and the tags that break lines, align paragraphs or
// place images. Mark-up is read this way, and so is rich text, so that the
// two are laid out, measured and painted by one routine.
//
// A word's view may end with the next call of Next(); the layout copies it
// first. A change of look comes as a tag of its own, which the layout hands
// back to ApplyStyle before it asks for the words that follow.
class TMarkupFlow {
 public:
  virtual ~TMarkupFlow() = default;

  virtual TMarkupPiece Next() = 0;
  // Appends a word as it is shown.
  virtual void AppendWord(std::string& shown, std::string_view word) const = 0;
  // Applies a tag that changes the look; false for every other tag.
  virtual bool ApplyStyle(const TMarkupTag& tag) = 0;

  virtual const TMarkupStyle& Style() const = 0;
  virtual bool Hidden() const = 0;
  virtual bool Subscript() const = 0;
  virtual bool Superscript() const = 0;
  // The link the text is in (counted from 0), -1 outside any.
  virtual int Link() const = 0;
  virtual std::string_view LinkTarget() const = 0;
  // Whether a line with nothing on it is still a line of text high, as an
  // empty paragraph is. An empty mark-up line has no height.
  virtual bool EmptyLinesHaveHeight() const = 0;
};

// Mark-up as a flow: its words with their entities decoded, its style tags
// through the styler.
class TMarkupTextFlow : public TMarkupFlow {
 public:
  TMarkupTextFlow(std::string_view text, const TFont& entryFont, const TMarkupLinkColours& links)
      : scanner_(text), styler_(entryFont, links) {}

  TMarkupPiece Next() override { return scanner_.Next(); }
  void AppendWord(std::string& shown, std::string_view word) const override { AppendDecodedWord(shown, word); }
  bool ApplyStyle(const TMarkupTag& tag) override { return styler_.Apply(tag); }

  const TMarkupStyle& Style() const override { return styler_.Style(); }
  bool Hidden() const override { return styler_.Hidden(); }
  bool Subscript() const override { return styler_.Subscript(); }
  bool Superscript() const override { return styler_.Superscript(); }
  int Link() const override { return styler_.Link(); }
  std::string_view LinkTarget() const override { return styler_.LinkTarget(); }
  bool EmptyLinesHaveHeight() const override { return false; }

 private:
  TMarkupScanner scanner_;
  TMarkupStyler styler_;
};

}  // namespace kelvora
