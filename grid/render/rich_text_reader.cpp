#include "grid/render/rich_text_reader.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "toolkit/byte_text.h"

namespace kelvora {
namespace {

// Destination groups whose text is not part of the document's body. A group
// is left out as soon as one of these appears in it, wherever in the group.
// Sorted, for a binary search.
constexpr std::string_view kSkippedDestinations[] = {
    "aftncn",     "aftnsep",  "aftnsepc",  "annotation",        "atnauthor",
    "atnid",      "author",   "bkmkend",   "bkmkstart",         "colorschememapping",
    "comment",    "company",  "datastore", "doccomm",           "filetbl",
    "fldinst",    "footer",   "footerf",   "footerl",           "footerr",
    "footnote",   "ftncn",    "ftnsep",    "ftnsepc",           "generator",
    "header",     "headerf",  "headerl",   "headerr",           "info",
    "keywords",   "latentstyles", "listoverridetable", "listtable", "listtext",
    "nonshppict", "objdata",  "object",    "operator",          "pgdsctbl",
    "pict",       "pntext",   "revtbl",    "rsidtbl",           "stylesheet",
    "subject",    "template", "themedata", "title",             "userprops",
    "xmlnstbl",
};

// Control words that stand for one character, written as UTF-8.
struct TCharacterWord {
  std::string_view name;
  std::string_view text;
};
constexpr TCharacterWord kCharacterWords[] = {
    {"bullet", "\xE2\x80\xA2"},    {"cell", "\t"},
    {"emdash", "\xE2\x80\x94"},    {"emspace", " "},
    {"endash", "\xE2\x80\x93"},    {"enspace", " "},
    {"ldblquote", "\xE2\x80\x9C"}, {"lquote", "\xE2\x80\x98"},
    {"qmspace", " "},              {"rdblquote", "\xE2\x80\x9D"},
    {"rquote", "\xE2\x80\x99"},    {"tab", "\t"},
};
constexpr std::string_view kBreakWords[] = {"line", "page", "par", "row", "sect"};
constexpr std::string_view kUnderlineWords[] = {"ul",     "uld",  "uldash", "uldashd", "uldashdd", "uldb",
                                                "ulhair", "ulth", "ulthd",  "ulw",     "ulwave"};

// Nesting deeper than this is no real document; such groups share one state
// instead of costing memory per brace.
constexpr std::size_t kMaxSavedGroups = 4096;
constexpr long long kParameterLimit = 1LL << 31;
constexpr int kMaxFallbackCount = 64;
constexpr std::size_t kMostTableEntries = 4096;
constexpr std::size_t kLongestFontName = 256;
// A long text of one format is handed out in pieces that end after a space,
// so that a reader of the first lines never waits for the rest.
constexpr std::size_t kTextPiece = 4096;
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
constexpr std::string_view kNoBreakSpace = "\xC2\xA0";

bool IsPlainByte(char c) {
  return static_cast<unsigned char>(c) < 0x80 && c != '{' && c != '}' && c != '\\' && c != '\r' && c != '\n';
}
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHighSurrogate(long long code) { return code >= 0xD800 && code <= 0xDBFF; }
bool IsLowSurrogate(long long code) { return code >= 0xDC00 && code <= 0xDFFF; }

template <std::size_t N>
bool OneOf(const std::string_view (&names)[N], std::string_view name) {
  return std::ranges::find(names, name) != std::end(names);
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The bytes of the UTF-8 sequence a byte may start; 0 for a continuation byte.
std::size_t Utf8Length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 0;
}

int ClampedInt(long long value) { return static_cast<int>(std::clamp<long long>(value, 0, kParameterLimit - 1)); }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

TRichTextReader::TRichTextReader(std::string_view document) : doc_(document) {}

bool TRichTextReader::Next(TRichEvent& event) {
  while (nextReady_ >= ready_.size()) {
    ready_.clear();
    nextReady_ = 0;
    if (pos_ >= doc_.size()) {
      FlushHighSurrogate();
      FlushText();
      if (ready_.empty()) return false;
      break;
    }
    ReadToken();
    if (text_.size() >= kTextPiece && text_.back() == ' ') FlushText();
  }
  event = std::move(ready_[nextReady_++]);
  return true;
}

std::optional<TColor> TRichTextReader::Colour(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= colours_.size()) return std::nullopt;
  return colours_[static_cast<std::size_t>(index)];
}

std::string_view TRichTextReader::FontName(int number) const {
  const auto found = fonts_.find(number);
  return found == fonts_.end() ? std::string_view() : std::string_view(found->second);
}

// --- Tokens -----------------------------------------------------------------

void TRichTextReader::ReadToken() {
  const char c = doc_[pos_++];
  switch (c) {
    case '{': OpenGroup(); break;
    case '}': CloseGroup(); break;
    case '\\': ReadControl(); break;
    case '\r':
    case '\n': break;  // line ends in the source only wrap it
    default: ReadBareByte(c);
  }
}

// A bare byte that starts a well-formed UTF-8 character is that character,
// as it is in a cell typed in; any other is read in the code page.
void TRichTextReader::ReadBareByte(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (byte < 0x80) return EmitPlainRun();
  const std::size_t length = Utf8Length(byte);
  const std::string_view sequence = doc_.substr(pos_ - 1, length);
  if (length < 2 || sequence.size() < length || !IsValidUtf8(sequence)) return EmitCodePageByte(byte);
  Emit(sequence);
  pos_ += length - 1;
}

// Plain characters of the body go out as one piece; one at a time while a
// fallback is being skipped, or in a table, where a semicolon ends an entry.
void TRichTextReader::EmitPlainRun() {
  const std::size_t start = pos_ - 1;
  if (pendingFallback_ == 0 && highSurrogate_ == 0 && state_.Destination == dBody) {
    while (pos_ < doc_.size() && IsPlainByte(doc_[pos_])) ++pos_;
  }
  Emit(doc_.substr(start, pos_ - start));
}

void TRichTextReader::OpenGroup() {
  pendingFallback_ = 0;
  if (saved_.size() < kMaxSavedGroups) {
    saved_.push_back(state_);
  } else {
    ++unsavedDepth_;
  }
}

// A closing brace without an opening one is ignored.
void TRichTextReader::CloseGroup() {
  pendingFallback_ = 0;
  if (unsavedDepth_ > 0) {
    --unsavedDepth_;
  } else if (!saved_.empty()) {
    state_ = saved_.back();
    saved_.pop_back();
  }
}

void TRichTextReader::ReadControl() {
  if (pos_ >= doc_.size()) return;
  if (IsLetter(doc_[pos_])) {
    ApplyControlWord(ReadControlWord());
  } else {
    ApplyControlSymbol(doc_[pos_++]);
  }
}

TRichTextReader::TControlWord TRichTextReader::ReadControlWord() {
  TControlWord word;
  const std::size_t start = pos_;
  while (pos_ < doc_.size() && IsLetter(doc_[pos_])) ++pos_;
  word.Name = doc_.substr(start, pos_ - start);
  ReadParameter(word);
  if (pos_ < doc_.size() && doc_[pos_] == ' ') ++pos_;
  return word;
}

// An optional signed number; digits past the limit are read but clamp.
void TRichTextReader::ReadParameter(TControlWord& word) {
  bool negative = false;
  if (pos_ + 1 < doc_.size() && doc_[pos_] == '-' && IsDigit(doc_[pos_ + 1])) {
    negative = true;
    ++pos_;
  }
  while (pos_ < doc_.size() && IsDigit(doc_[pos_])) {
    word.Parameter = std::min(word.Parameter * 10 + (doc_[pos_++] - '0'), kParameterLimit);
    word.HasParameter = true;
  }
  if (negative) word.Parameter = -word.Parameter;
}

// --- Control words ------------------------------------------------------------

// The words of the body come first: they are most of a document's words.
void TRichTextReader::ApplyControlWord(const TControlWord& word) {
  if (word.Name == "bin") return SkipBinary(word);
  if (word.Name == "u") return ReadUnicode(word);
  if (word.Name == "uc") {
    state_.FallbackCount = static_cast<int>(std::clamp<long long>(word.Parameter, 0, kMaxFallbackCount));
    return;
  }
  if (state_.Destination == dBody && ApplyFormatting(word)) return;
  if (state_.Destination != dBody && ApplyTableWord(word)) return;
  if (ApplyDocumentWord(word) || state_.Destination != dBody) return;
  if (OneOf(kBreakWords, word.Name)) return EmitBreak();
  const auto character = std::ranges::find(kCharacterWords, word.Name, &TCharacterWord::name);
  if (character != std::end(kCharacterWords)) Emit(character->text);
  // Every other word formats in a way that a cell does not show.
}

// Words about the document as a whole and the groups that are no body text.
bool TRichTextReader::ApplyDocumentWord(const TControlWord& word) {
  if (word.Name == "ansicpg") {
    codePage_ = ClampedInt(word.Parameter);
  } else if (word.Name == "pca") {
    codePage_ = 850;
  } else if (word.Name == "ansi") {
    codePage_ = 1252;
  } else if (word.Name == "deff") {
    defaultFont_ = ClampedInt(word.Parameter);
    if (state_.Format.Font < 0) state_.Format.Font = defaultFont_;
  } else if (word.Name == "fonttbl" || word.Name == "colortbl") {
    if (state_.Destination != dSkipped) state_.Destination = word.Name == "fonttbl" ? dFontTable : dColourTable;
    fontNumber_ = red_ = green_ = blue_ = -1;
    fontName_.clear();
  } else if (std::ranges::binary_search(kSkippedDestinations, word.Name)) {
    state_.Destination = dSkipped;
  } else {
    return false;
  }
  return true;
}

bool TRichTextReader::ApplyTableWord(const TControlWord& word) {
  const int value = ClampedInt(word.Parameter);
  if (state_.Destination == dFontTable && word.Name == "f") {
    fontNumber_ = value;
    fontName_.clear();
  } else if (state_.Destination == dColourTable && word.Name == "red") {
    red_ = std::min(value, 255);
  } else if (state_.Destination == dColourTable && word.Name == "green") {
    green_ = std::min(value, 255);
  } else if (state_.Destination == dColourTable && word.Name == "blue") {
    blue_ = std::min(value, 255);
  } else {
    return false;
  }
  return true;
}

// A toggle without a number, or with one other than 0, turns on.
bool TRichTextReader::ApplyFormatting(const TControlWord& word) {
  const bool on = !word.HasParameter || word.Parameter != 0;
  TRichCharFormat& format = state_.Format;
  if (word.Name == "b") format.Bold = on;
  else if (word.Name == "i") format.Italic = on;
  else if (word.Name == "strike" || word.Name == "striked") format.StrikeOut = on;
  else if (OneOf(kUnderlineWords, word.Name)) format.Underline = on;
  else if (word.Name == "ulnone") format.Underline = false;
  else if (word.Name == "fs") format.HalfPoints = word.Parameter > 0 ? ClampedInt(word.Parameter) : 0;
  else if (word.Name == "cf") format.Colour = ClampedInt(word.Parameter);
  else if (word.Name == "f") format.Font = ClampedInt(word.Parameter);
  else if (word.Name == "plain") ResetCharFormat();
  else if (word.Name == "v") state_.Hidden = on;
  else if (word.Name == "pard" || word.Name == "ql" || word.Name == "qj") state_.Align = raLeft;
  else if (word.Name == "qr") state_.Align = raRight;
  else if (word.Name == "qc") state_.Align = raCenter;
  else return false;
  return true;
}

void TRichTextReader::ResetCharFormat() {
  state_.Format = TRichCharFormat{};
  state_.Format.Font = defaultFont_;
  state_.Hidden = false;
}

void TRichTextReader::ApplyControlSymbol(char symbol) {
  switch (symbol) {
    case '\\':
    case '{':
    case '}': Emit(doc_.substr(pos_ - 1, 1)); break;
    case '\'': ReadHexByte(); break;
    case '~': Emit(kNoBreakSpace); break;
    case '_': Emit("-"); break;  // a non-breaking hyphen
    case '*': state_.Destination = dSkipped; break;
    case '\r':
    case '\n': EmitBreak(); break;  // a backslash before a line end is \par
    default: break;                 // optional hyphens and unknown symbols
  }
}

void TRichTextReader::ReadHexByte() {
  int value = 0;
  int digits = 0;
  while (digits < 2 && pos_ < doc_.size() && HexValue(doc_[pos_]) >= 0) {
    value = value * 16 + HexValue(doc_[pos_++]);
    ++digits;
  }
  if (digits == 2) EmitCodePageByte(static_cast<unsigned char>(value));
}

// Binary data is never text, and may hold braces and backslashes of its own.
void TRichTextReader::SkipBinary(const TControlWord& word) {
  const auto length = static_cast<std::size_t>(std::max<long long>(word.Parameter, 0));
  pos_ += std::min(length, doc_.size() - pos_);
}

// The character is shown itself; the fallback after it, written for
// readers without Unicode, is skipped. Negative numbers are the writer's
// way of putting values past 32767 into a signed 16-bit number.
void TRichTextReader::ReadUnicode(const TControlWord& word) {
  long long code = word.Parameter;
  if (code < 0) code += 65536;
  pendingFallback_ = 0;
  if (code < 0 || code > 0xFFFF) return;
  EmitUnicode(code);
  pendingFallback_ = state_.FallbackCount;
}

// A character beyond the first 65536 comes as two \u words, its surrogates.
void TRichTextReader::EmitUnicode(long long code) {
  if (IsHighSurrogate(code)) {
    FlushHighSurrogate();
    highSurrogate_ = code;
    return;
  }
  std::string utf8;
  const long long high = std::exchange(highSurrogate_, 0);
  if (high != 0 && IsLowSurrogate(code)) {
    AppendUtf8(utf8, static_cast<char32_t>(0x10000 + ((high - 0xD800) << 10) + (code - 0xDC00)));
  } else {
    if (high != 0) utf8 = kReplacement;  // a high half that no low half followed
    AppendUtf8(utf8, static_cast<char32_t>(code));  // a low half alone becomes U+FFFD too
  }
  Emit(utf8);
}

// A high half that no low half followed stands for a lost character.
void TRichTextReader::FlushHighSurrogate() {
  if (std::exchange(highSurrogate_, 0) == 0) return;
  const int fallback = std::exchange(pendingFallback_, 0);
  Emit(kReplacement);
  pendingFallback_ = fallback;
}

void TRichTextReader::EmitCodePageByte(unsigned char byte) {
  std::string utf8;
  AppendUtf8(utf8, CodePageCharacter(codePage_, byte));
  Emit(utf8);
}

// --- What comes out ---------------------------------------------------------

void TRichTextReader::Emit(std::string_view utf8) {
  if (pendingFallback_ > 0) {
    --pendingFallback_;
    return;
  }
  FlushHighSurrogate();
  switch (state_.Destination) {
    case dSkipped: return;
    case dFontTable:
    case dColourTable: return TakeTableText(utf8);
    case dBody: break;
  }
  if (state_.Hidden) return;
  NoteAlign();
  if (!text_.empty() && !(textFormat_ == state_.Format)) FlushText();
  if (text_.empty()) textFormat_ = state_.Format;
  text_.append(utf8);
}

void TRichTextReader::EmitBreak() {
  if (pendingFallback_ > 0) {
    --pendingFallback_;
    return;
  }
  FlushHighSurrogate();
  if (state_.Destination != dBody || state_.Hidden) return;
  NoteAlign();
  FlushText();
  ready_.push_back({reBreak, {}, {}, raLeft});
}

void TRichTextReader::NoteAlign() {
  if (state_.Align == announcedAlign_) return;
  FlushText();
  announcedAlign_ = state_.Align;
  ready_.push_back({reAlign, {}, {}, announcedAlign_});
}

void TRichTextReader::FlushText() {
  if (text_.empty()) return;
  ready_.push_back({reText, std::move(text_), textFormat_, raLeft});
  text_.clear();
}

// Table entries end with a semicolon: a font's name, or a colour made of the
// components given since the last one (none given: the automatic colour).
void TRichTextReader::TakeTableText(std::string_view utf8) {
  if (utf8 == ";") return EndTableEntry();
  if (state_.Destination == dFontTable && fontName_.size() < kLongestFontName) fontName_.append(utf8);
}

void TRichTextReader::EndTableEntry() {
  if (state_.Destination == dColourTable) {
    const bool automatic = red_ < 0 && green_ < 0 && blue_ < 0;
    if (colours_.size() < kMostTableEntries)
      colours_.push_back(automatic ? std::nullopt
                                   : std::optional<TColor>(RGB(std::max(red_, 0), std::max(green_, 0),
                                                               std::max(blue_, 0))));
    red_ = green_ = blue_ = -1;
    return;
  }
  if (fontNumber_ >= 0 && (fonts_.size() < kMostTableEntries || fonts_.contains(fontNumber_)))
    fonts_[fontNumber_] = std::string(Trimmed(fontName_));
  fontNumber_ = -1;
  fontName_.clear();
}

}  // namespace kelvora
