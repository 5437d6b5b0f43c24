#include "grid/render/rich_text_reader.h"

#include <algorithm>
#include <utility>

#include "toolkit/byte_text.h"

namespace kelvora {
namespace {

// Nesting deeper than this is no real document; such groups share one state
// instead of costing memory per brace.
constexpr std::size_t kMaxSavedGroups = 4096;
constexpr long long kParameterLimit = 1LL << 31;
constexpr int kMaxFallbackCount = 64;
constexpr std::size_t kMostTableEntries = 4096;
// What a cell's document usually needs at most: groups open at once, pieces
// handed out by one token, entries of a table.
constexpr std::size_t kUsualDepth = 8;
constexpr std::size_t kUsualReady = 4;
constexpr std::size_t kUsualTableEntries = 8;
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

// Room for what a cell's document usually needs is taken at once, rather
// than grown step by step in every cell of a column.
TRichTextReader::TRichTextReader(std::string_view document) : doc_(document) {
  saved_.reserve(kUsualDepth);
  ready_.reserve(kUsualReady);
}

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
  const auto found = std::ranges::lower_bound(fonts_, number, {}, &TFontEntry::first);
  return found == fonts_.end() || found->first != number ? std::string_view() : std::string_view(found->second);
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

// Plain characters go out as one piece; one at a time while a fallback is
// being skipped. In a table a semicolon ends an entry, so it goes alone.
void TRichTextReader::EmitPlainRun() {
  const std::size_t start = pos_ - 1;
  const bool table = state_.Destination == dFontTable || state_.Destination == dColourTable;
  const auto joins = [&](char c) { return IsPlainByte(c) && !(table && c == ';'); };
  if (pendingFallback_ == 0 && highSurrogate_ == 0 && joins(doc_[start])) {
    while (pos_ < doc_.size() && joins(doc_[pos_])) ++pos_;
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

// Each word is looked up once; what it does may depend on the destination.
void TRichTextReader::ApplyControlWord(const TControlWord& word) {
  const TRichWord* known = FindRichWord(word.Name);
  if (!known) return;  // a word that formats in a way a cell does not show
  switch (known->Kind) {
    case rwBinary: return SkipBinary(word);
    case rwUnicode: return ReadUnicode(word);
    case rwFallbackCount:
      state_.FallbackCount = static_cast<int>(std::clamp<long long>(word.Parameter, 0, kMaxFallbackCount));
      return;
    default: break;
  }
  if (state_.Destination == dBody ? ApplyFormatting(known->Kind, word) : ApplyTableWord(known->Kind, word)) return;
  if (ApplyDocumentWord(known->Kind, word) || state_.Destination != dBody) return;
  if (known->Kind == rwBreak) return EmitBreak();
  if (known->Kind == rwCharacter) Emit(known->Text);
}

// Words about the document as a whole and the groups that are no body text.
bool TRichTextReader::ApplyDocumentWord(TRichWordKind kind, const TControlWord& word) {
  switch (kind) {
    case rwCodePage: codePage_ = ClampedInt(word.Parameter); return true;
    case rwCodePage850: codePage_ = 850; return true;
    case rwAnsi: codePage_ = 1252; return true;
    case rwDefaultFont:
      defaultFont_ = ClampedInt(word.Parameter);
      if (state_.Format.Font < 0) state_.Format.Font = defaultFont_;
      return true;
    case rwFontTable:
    case rwColourTable:
      if (state_.Destination != dSkipped) state_.Destination = kind == rwFontTable ? dFontTable : dColourTable;
      fontNumber_ = red_ = green_ = blue_ = -1;
      fontName_.clear();
      return true;
    case rwSkippedDestination: state_.Destination = dSkipped; return true;
    default: return false;
  }
}

bool TRichTextReader::ApplyTableWord(TRichWordKind kind, const TControlWord& word) {
  const int value = ClampedInt(word.Parameter);
  const bool colours = state_.Destination == dColourTable;
  if (state_.Destination == dFontTable && kind == rwFont) {
    fontNumber_ = value;
    fontName_.clear();
  } else if (colours && kind == rwRed) {
    red_ = std::min(value, 255);
  } else if (colours && kind == rwGreen) {
    green_ = std::min(value, 255);
  } else if (colours && kind == rwBlue) {
    blue_ = std::min(value, 255);
  } else {
    return false;
  }
  return true;
}

// A toggle without a number, or with one other than 0, turns on.
bool TRichTextReader::ApplyFormatting(TRichWordKind kind, const TControlWord& word) {
  const bool on = !word.HasParameter || word.Parameter != 0;
  TRichCharFormat& format = state_.Format;
  switch (kind) {
    case rwBold: format.Bold = on; return true;
    case rwItalic: format.Italic = on; return true;
    case rwStrikeOut: format.StrikeOut = on; return true;
    case rwUnderline: format.Underline = on; return true;
    case rwUnderlineNone: format.Underline = false; return true;
    case rwFontSize: format.HalfPoints = word.Parameter > 0 ? ClampedInt(word.Parameter) : 0; return true;
    case rwColour: format.Colour = ClampedInt(word.Parameter); return true;
    case rwFont: format.Font = ClampedInt(word.Parameter); return true;
    case rwPlain: ResetCharFormat(); return true;
    case rwHidden: state_.Hidden = on; return true;
    case rwAlignLeft: state_.Align = raLeft; return true;
    case rwAlignRight: state_.Align = raRight; return true;
    case rwAlignCenter: state_.Align = raCenter; return true;
    default: return false;
  }
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
// A name stops growing at its bound: a run of plain characters is cut there,
// a character of several bytes is never cut.
void TRichTextReader::TakeTableText(std::string_view utf8) {
  if (utf8 == ";") return EndTableEntry();
  if (state_.Destination != dFontTable || fontName_.size() >= kLongestFontName) return;
  const bool plain = utf8.empty() || static_cast<unsigned char>(utf8.front()) < 0x80;
  fontName_.append(plain ? utf8.substr(0, kLongestFontName - fontName_.size()) : utf8);
}

void TRichTextReader::EndTableEntry() {
  if (state_.Destination == dColourTable) {
    const bool automatic = red_ < 0 && green_ < 0 && blue_ < 0;
    if (colours_.empty()) colours_.reserve(kUsualTableEntries);
    if (colours_.size() < kMostTableEntries)
      colours_.push_back(automatic ? std::nullopt
                                   : std::optional<TColor>(RGB(std::max(red_, 0), std::max(green_, 0),
                                                               std::max(blue_, 0))));
    red_ = green_ = blue_ = -1;
    return;
  }
  if (fontNumber_ >= 0) NameFont(fontNumber_, Trimmed(fontName_));
  fontNumber_ = -1;
  fontName_.clear();
}

// Fonts are kept in the order of their numbers; a document's table
// usually lists them in that order already.
void TRichTextReader::NameFont(int number, std::string_view name) {
  if (fonts_.empty()) fonts_.reserve(kUsualTableEntries);
  const auto found = std::ranges::lower_bound(fonts_, number, {}, &TFontEntry::first);
  if (found != fonts_.end() && found->first == number) {
    found->second = name;
  } else if (fonts_.size() < kMostTableEntries) {
    fonts_.emplace(found, number, std::string(name));
  }
}

}  // namespace kelvora
