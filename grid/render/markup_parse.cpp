#include "grid/render/markup_parse.h"

#include <algorithm>
#include <array>
#include <climits>

#include "toolkit/ascii_case.h"

namespace kelvora {
namespace {

constexpr std::size_t kKeptAfterEntity = 255;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsNameByte(char c) {
  const char u = AsciiUpper(c);
  return (u >= 'A' && u <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

// The tag's name: up to the first blank, without the "/" of "<BR/>".
std::string_view TagName(std::string_view text) {
  std::size_t end = 0;
  while (end < text.size() && !IsBlank(text[end])) ++end;
  std::string_view name = text.substr(0, end);
  if (name.size() > 1 && name.back() == '/') name.remove_suffix(1);
  return name;
}

struct TNamedTag {
  std::string_view name;
  TMarkupTagKind kind;
};

// Under B, I, S and U only the full names count: "<BX>" is no tag at all.
constexpr std::array kFullNames{
    TNamedTag{"B", mtBold},        TNamedTag{"BR", mtBreak},       TNamedTag{"BODY", mtBody},
    TNamedTag{"BLINK", mtBlink},   TNamedTag{"I", mtItalic},       TNamedTag{"IMG", mtImage},
    TNamedTag{"IND", mtIndent},    TNamedTag{"S", mtStrikeOut},    TNamedTag{"SUB", mtSubscript},
    TNamedTag{"SUP", mtSuperscript}, TNamedTag{"SHAD", mtShadow},  TNamedTag{"U", mtUnderline},
    TNamedTag{"UL", mtList},
};

TMarkupTagKind ByFullName(std::string_view name) {
  for (const TNamedTag& tag : kFullNames)
    if (EqualsIgnoringAsciiCase(name, tag.name)) return tag.kind;
  return mtUnknown;
}

// Every other opening tag goes by its first letter alone, so "<FOO>" is a
// font tag and "<HEAD>" a rule.
TMarkupTagKind ByFirstLetter(char first) {
  switch (first) {
    case 'A': return mtLink;
    case 'F': return mtFont;
    case 'H': return mtRule;
    case 'L': return mtListItem;
    case 'P': return mtParagraph;
    case 'R': return mtRotate;
    case 'Z': return mtHidden;
    default: return mtUnknown;
  }
}

TMarkupTagKind OpeningKind(std::string_view name) {
  const char first = AsciiUpper(name.front());
  if (first == 'B' || first == 'I' || first == 'S' || first == 'U') return ByFullName(name);
  return ByFirstLetter(first);
}

// Closing tags go by their first letters: "</S" ends the scripts when a U
// follows, shadow when an H does and strikeout otherwise; "</BL" ends
// blinking and every other "</B" bold (so "</BODY>" ends bold); "</UL>"
// ends a list level and every other "</U" underline.
TMarkupTagKind ClosingKind(std::string_view name) {
  const char first = AsciiUpper(name.front());
  const char second = name.size() > 1 ? AsciiUpper(name[1]) : '\0';
  switch (first) {
    case 'S': return second == 'U' ? mtScripts : second == 'H' ? mtShadow : mtStrikeOut;
    case 'B': return second == 'L' ? mtBlink : mtBold;
    case 'U': return EqualsIgnoringAsciiCase(name, "UL") ? mtList : mtUnderline;
    case 'I': return mtItalic;
    default: {
      const TMarkupTagKind kind = ByFirstLetter(first);
      return (kind == mtListItem || kind == mtRule) ? mtUnknown : kind;
    }
  }
}

struct TEntity {
  std::string_view text;
  char decoded;
};

constexpr std::array kEntities{TEntity{"&lt;", '<'}, TEntity{"&gt;", '>'}, TEntity{"&amp;", '&'},
                               TEntity{"&quot;", '"'}};

const TEntity* EntityAt(std::string_view text) {
  for (const TEntity& entity : kEntities)
    if (StartsWithIgnoringAsciiCase(text, entity.text)) return &entity;
  return nullptr;
}

// Where an attribute's name stands as a name of its own: after a blank (or
// the closing quote of the value before), outside quoted values, and not as
// the front of a longer name. Matching any occurrence would read "color"
// out of "bgcolor" and paint a text in its own background colour.
std::size_t FindAttributeName(std::string_view text, std::string_view name) {
  std::size_t i = std::max<std::size_t>(TagName(text).size(), 1);
  while (i < text.size()) {
    if (text[i] == '"') {
      const std::size_t close = text.find('"', i + 1);
      if (close == std::string_view::npos) return std::string_view::npos;
      i = close + 1;
      continue;
    }
    const bool separated = IsBlank(text[i - 1]) || text[i - 1] == '"';
    if (separated && StartsWithIgnoringAsciiCase(text.substr(i), name) &&
        (i + name.size() == text.size() || !IsNameByte(text[i + name.size()])))
      return i;
    ++i;
  }
  return std::string_view::npos;
}

std::size_t SkipBlanks(std::string_view text, std::size_t i) {
  while (i < text.size() && IsBlank(text[i])) ++i;
  return i;
}

}  // namespace

TMarkupPiece TMarkupScanner::Next() {
  TMarkupPiece piece;
  if (pos_ >= text_.size()) return piece;
  if (text_[pos_] == '<') {
    const std::size_t close = text_.find('>', pos_ + 1);
    if (close == std::string_view::npos) {
      pos_ = text_.size();
      return piece;
    }
    piece.Kind = mpTag;
    piece.Tag = RecogniseTag(text_.substr(pos_ + 1, close - pos_ - 1));
    pos_ = close + 1;
    return piece;
  }
  std::size_t end = pos_;
  while (end < text_.size() && text_[end] != '<' && text_[end] != ' ') ++end;
  if (end < text_.size() && text_[end] == ' ') ++end;
  piece.Kind = mpWord;
  piece.Word = text_.substr(pos_, end - pos_);
  pos_ = end;
  return piece;
}

std::vector<TMarkupPiece> ParseMarkup(std::string_view text) {
  std::vector<TMarkupPiece> pieces;
  TMarkupScanner scanner(text);
  for (TMarkupPiece piece = scanner.Next(); piece.Kind != mpEnd; piece = scanner.Next()) pieces.push_back(piece);
  return pieces;
}

TMarkupTag RecogniseTag(std::string_view text) {
  TMarkupTag tag;
  tag.Text = text;
  const bool closing = !text.empty() && text.front() == '/';
  const std::string_view name = TagName(closing ? text.substr(1) : text);
  if (name.empty()) return tag;
  tag.Closing = closing;
  tag.Kind = closing ? ClosingKind(name) : OpeningKind(name);
  return tag;
}

std::string_view AttributeValue(const TMarkupTag& tag, std::string_view name) {
  const std::string_view text = tag.Text;
  const std::size_t at = name.empty() ? std::string_view::npos : FindAttributeName(text, name);
  if (at == std::string_view::npos) return {};
  std::size_t i = SkipBlanks(text, at + name.size());
  if (i >= text.size() || text[i] != '=') return {};
  i = SkipBlanks(text, i + 1);
  if (i >= text.size() || text[i] != '"') return {};
  const std::size_t close = text.find('"', i + 1);
  if (close == std::string_view::npos) return {};
  return text.substr(i + 1, close - i - 1);
}

int MarkupNumber(std::string_view value) {
  std::size_t i = SkipBlanks(value, 0);
  std::size_t end = value.size();
  while (end > i && IsBlank(value[end - 1])) --end;
  const bool negative = i < end && value[i] == '-';
  if (i < end && (value[i] == '-' || value[i] == '+')) ++i;
  if (i == end) return 0;
  long long number = 0;
  for (; i < end; ++i) {
    if (value[i] < '0' || value[i] > '9') return 0;
    if (number <= INT_MAX) number = number * 10 + (value[i] - '0');
  }
  if (negative) return number > INT_MAX ? INT_MIN : static_cast<int>(-number);
  return number > INT_MAX ? INT_MAX : static_cast<int>(number);
}

void AppendDecodedWord(std::string& out, std::string_view word) {
  std::size_t i = 0;
  while (i < word.size()) {
    const std::size_t amp = word.find('&', i);
    if (amp == std::string_view::npos) break;
    out.append(word.substr(i, amp - i));
    const TEntity* entity = EntityAt(word.substr(amp));
    if (!entity) {
      i = amp;
      break;
    }
    out += entity->decoded;
    i = amp + entity->text.size();
    word = word.substr(0, std::min(word.size(), i + kKeptAfterEntity));
  }
  if (i < word.size()) out.append(word.substr(i));
}

}  // namespace kelvora
