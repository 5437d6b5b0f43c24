#pragma once

#include <string_view>
#include <vector>

#include "grid/render/markup_parse.h"
#include "toolkit/color.h"
#include "toolkit/font.h"

namespace kelvora {

// How a piece of mark-up text looks.
struct TMarkupStyle {
  TFont Font;
  TColor Background = clNone;  // the text's own background; clNone lets the cell's show
  bool Shadow = false;
  bool Blink = false;
  bool operator==(const TMarkupStyle&) const = default;
};

// The colours a link takes.
struct TMarkupLinkColours {
  TColor Text = clBlue;
  TColor HoverText = clNone;
  TColor HoverBackground = clNone;
  int HoverLink = -1;
};

// Point sizes that <FONT size> may set. The largest gives the tallest face
// the drawing surface renders (4096 pixels); anything beyond would only
// cost time, and 0 or less would have no height at all.
inline constexpr int kMarkupMinPoints = 1;
inline constexpr int kMarkupMaxPoints = 3072;

// The style state while a text is laid out: the tags that change the look of
// the text (bold to blink, fonts, links, rotation) and the flags of the text
// in force (scripts, hidden). It starts from the surface's font.
class TMarkupStyler {
 public:
  TMarkupStyler(const TFont& entryFont, const TMarkupLinkColours& links);

  // Applies a tag that is about style; answers false for every other tag.
  bool Apply(const TMarkupTag& tag);

  const TMarkupStyle& Style() const { return style_; }
  bool Hidden() const { return hidden_; }
  bool Subscript() const { return subscript_; }
  bool Superscript() const { return superscript_; }
  // The link the text is in (counted from 0), -1 outside any.
  int Link() const { return inLink_ ? linkCount_ - 1 : -1; }
  std::string_view LinkTarget() const { return linkTarget_; }

 private:
  struct TSavedFont {
    std::string_view Name;  // into the text; empty: the entry font's name
    int Height;
    TColor Color;
    TColor Background;
  };

  void SetStyle(TFontStyle style, bool on);
  void StartLink(const TMarkupTag& tag);
  void EndLink();
  void StartFont(const TMarkupTag& tag);
  void EndFont();
  void Rotate(const TMarkupTag& tag);
  void Restore(const TSavedFont& saved);

  TFont entryFont_;
  TMarkupLinkColours links_;
  TMarkupStyle style_;
  bool hidden_ = false;
  bool subscript_ = false;
  bool superscript_ = false;

  bool inLink_ = false;
  int linkCount_ = 0;
  std::string_view linkTarget_;
  TColor colourBeforeLink_ = clBlack;
  TColor backgroundBeforeLink_ = clNone;

  // Each <FONT> remembers what it changed so that its </FONT> goes back to
  // it, however deeply fonts nest. Past the bound a <FONT> still applies but
  // its </FONT> goes back to the deepest one kept.
  std::vector<TSavedFont> fonts_;
  std::string_view faceName_;  // the face a <FONT> set, into the text
  int unsavedFonts_ = 0;
};

}  // namespace kelvora
