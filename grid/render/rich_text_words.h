#pragma once

#include <string_view>

namespace kelvora {

// The control words of rich text that the reader acts on, by what they do.
// Every other word formats in a way that a cell does not show.
enum TRichWordKind {
  rwBinary,       // \binN: N bytes of data follow
  rwUnicode,      // \uN
  rwFallbackCount,  // \ucN
  // Character formatting and alignment, in the body.
  rwBold,
  rwItalic,
  rwStrikeOut,
  rwUnderline,
  rwUnderlineNone,
  rwFontSize,
  rwColour,
  rwFont,  // in the font table, the number of the entry that follows
  rwPlain,
  rwHidden,
  rwAlignLeft,
  rwAlignRight,
  rwAlignCenter,
  // The colour table's components.
  rwRed,
  rwGreen,
  rwBlue,
  // The document as a whole.
  rwCodePage,
  rwCodePage850,
  rwAnsi,
  rwDefaultFont,
  rwFontTable,
  rwColourTable,
  rwSkippedDestination,  // a group whose text is not part of the body
  // What the body shows.
  rwBreak,
  rwCharacter,  // stands for one character, its Text
};

struct TRichWord {
  std::string_view Name;
  TRichWordKind Kind;
  std::string_view Text = {};  // rwCharacter: the character as UTF-8
};

// The word of that name, or null for one the reader does not act on. Names
// are case-sensitive, as rich text's are.
const TRichWord* FindRichWord(std::string_view name);

}  // namespace kelvora
