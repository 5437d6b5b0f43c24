#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kelvora {

// The first stage of the mark-up renderer: cutting a cell's text into words
// and tags. It knows nothing of fonts or positions.

enum TMarkupTagKind {
  mtUnknown,  // dropped
  mtLink,     // <A href>
  mtBold,
  mtItalic,
  mtUnderline,
  mtStrikeOut,
  mtSubscript,
  mtSuperscript,
  mtScripts,  // a closing "</SU...": subscript and superscript both end
  mtShadow,
  mtHidden,  // <Z>
  mtBreak,   // <BR>
  mtRule,    // <HR>
  mtFont,
  mtParagraph,
  mtBody,
  mtBlink,
  mtList,      // <UL>
  mtListItem,  // <LI>
  mtIndent,    // <IND x>
  mtImage,
  mtRotate,  // <R a>
};

struct TMarkupTag {
  TMarkupTagKind Kind = mtUnknown;
  bool Closing = false;
  std::string_view Text;  // everything between "<" and ">"
};

enum TMarkupPieceKind { mpEnd, mpWord, mpTag };

struct TMarkupPiece {
  TMarkupPieceKind Kind = mpEnd;
  std::string_view Word;  // as written: entities undecoded, a trailing space kept
  TMarkupTag Tag;
};

// Hands out the pieces of a text one by one, so that a renderer that stops
// after the first lines never looks at the rest. A word runs up to the next
// "<" or up to and including the next space; a tag from "<" to the next
// ">". A "<" that no ">" follows ends the text.
class TMarkupScanner {
 public:
  explicit TMarkupScanner(std::string_view text) : text_(text) {}
  TMarkupPiece Next();

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

// Every piece of a text, for tests and the fuzzer.
std::vector<TMarkupPiece> ParseMarkup(std::string_view text);

// Tells what a tag is from the text between "<" and ">": by its first letter,
// and under B, I, S and U by its full name (see the cpp for the odd corners).
TMarkupTag RecogniseTag(std::string_view text);

// The value of an attribute: the text between the double quotes that follow
// its name (matched without regard to case) and an "=". A value without
// quotes, or whose quotes never close, is empty, and so is a missing one.
std::string_view AttributeValue(const TMarkupTag& tag, std::string_view name);

// An attribute's number: optional blanks, an optional sign and digits, and
// nothing else. Anything unreadable counts as 0; a number beyond the range
// of an int stops at its end.
int MarkupNumber(std::string_view value);

// Appends the word with the entities "&lt;", "&gt;", "&amp;" and "&quot;"
// (in any letter case) decoded. An "&" that starts none of them ends the
// decoding: the rest stays as written. After each decoded entity at most
// 255 further bytes of the word are kept.
void AppendDecodedWord(std::string& out, std::string_view word);

}  // namespace kelvora
