#include "grid/render/rich_text.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <utility>
#include <vector>

namespace kelvora {
namespace {

// Destination groups whose text is not part of the document's body. A group
// is left out as soon as one of these appears in it, wherever in the group.
constexpr std::string_view kSkippedDestinations[] = {
    "aftncn",     "aftnsep",  "aftnsepc",  "annotation",        "atnauthor",
    "atnid",      "author",   "bkmkend",   "bkmkstart",         "colorschememapping",
    "colortbl",   "comment",  "company",   "datastore",         "doccomm",
    "filetbl",    "fldinst",  "fonttbl",   "footer",            "footerf",
    "footerl",    "footerr",  "footnote",  "ftncn",             "ftnsep",
    "ftnsepc",    "generator", "header",   "headerf",           "headerl",
    "headerr",    "info",     "keywords",  "latentstyles",      "listoverridetable",
    "listtable",  "listtext", "nonshppict", "object",           "objdata",
    "operator",   "pgdsctbl", "pict",      "pntext",            "revtbl",
    "rsidtbl",    "stylesheet", "subject", "template",          "themedata",
    "title",      "userprops", "xmlnstbl",
};

// Control words that stand for one character. The quotes and dashes are the
// bytes code page 1252 gives them, the code page the rest of the text is in.
struct TCharacterWord {
  std::string_view name;
  std::string_view text;
};
constexpr TCharacterWord kCharacterWords[] = {
    {"bullet", "\x95"},   {"cell", "\t"},       {"emdash", "\x97"},   {"emspace", " "},
    {"endash", "\x96"},   {"enspace", " "},     {"ldblquote", "\x93"}, {"line", "\r\n"},
    {"lquote", "\x91"},   {"page", "\r\n"},     {"par", "\r\n"},      {"qmspace", " "},
    {"rdblquote", "\x94"}, {"row", "\r\n"},     {"rquote", "\x92"},   {"sect", "\r\n"},
    {"tab", "\t"},
};

// Nesting deeper than this is no real document; such groups share one state
// instead of costing memory per brace.
constexpr std::size_t kMaxSavedGroups = 4096;
constexpr long long kParameterLimit = 1LL << 31;
constexpr int kMaxFallbackCount = 64;
constexpr long long kReplacement = 0xFFFD;

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void AppendUtf8(std::string& out, std::uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

bool IsHighSurrogate(long long code) { return code >= 0xD800 && code <= 0xDBFF; }
bool IsLowSurrogate(long long code) { return code >= 0xDC00 && code <= 0xDFFF; }

struct TGroupState {
  bool skipped = false;   // inside a destination that is left out
  int fallbackCount = 1;  // \ucN: characters that follow each \uN for old readers
};

struct TControlWord {
  std::string_view name;
  long long parameter = 0;
};

class TRichTextReader {
 public:
  explicit TRichTextReader(std::string_view document) : doc_(document) {}

  std::string Read() {
    while (pos_ < doc_.size()) ReadToken();
    FlushHighSurrogate();
    if (out_.ends_with("\r\n")) out_.resize(out_.size() - 2);
    return std::move(out_);
  }

 private:
  void ReadToken() {
    const char c = doc_[pos_++];
    switch (c) {
      case '{': OpenGroup(); break;
      case '}': CloseGroup(); break;
      case '\\': ReadControl(); break;
      case '\r':
      case '\n': break;  // line ends in the source only wrap it
      default: Emit(std::string_view(&doc_[pos_ - 1], 1));
    }
  }

  void OpenGroup() {
    pendingFallback_ = 0;
    if (saved_.size() < kMaxSavedGroups) {
      saved_.push_back(state_);
    } else {
      ++unsavedDepth_;
    }
  }

  // A closing brace without an opening one is ignored.
  void CloseGroup() {
    pendingFallback_ = 0;
    if (unsavedDepth_ > 0) {
      --unsavedDepth_;
    } else if (!saved_.empty()) {
      state_ = saved_.back();
      saved_.pop_back();
    }
  }

  void ReadControl() {
    if (pos_ >= doc_.size()) return;
    if (IsLetter(doc_[pos_])) {
      ApplyControlWord(ReadControlWord());
    } else {
      ApplyControlSymbol(doc_[pos_++]);
    }
  }

  TControlWord ReadControlWord() {
    TControlWord word;
    const std::size_t start = pos_;
    while (pos_ < doc_.size() && IsLetter(doc_[pos_])) ++pos_;
    word.name = doc_.substr(start, pos_ - start);
    ReadParameter(word);
    if (pos_ < doc_.size() && doc_[pos_] == ' ') ++pos_;
    return word;
  }

  // An optional signed number; digits past the limit are read but clamp.
  // Without one the parameter is 0.
  void ReadParameter(TControlWord& word) {
    bool negative = false;
    if (pos_ + 1 < doc_.size() && doc_[pos_] == '-' && IsDigit(doc_[pos_ + 1])) {
      negative = true;
      ++pos_;
    }
    while (pos_ < doc_.size() && IsDigit(doc_[pos_])) {
      word.parameter = std::min(word.parameter * 10 + (doc_[pos_++] - '0'), kParameterLimit);
    }
    if (negative) word.parameter = -word.parameter;
  }

  void ApplyControlWord(const TControlWord& word) {
    if (word.name == "bin") return SkipBinary(word);
    if (word.name == "u") return ReadUnicode(word);
    if (word.name == "uc") {
      const long long count = std::clamp<long long>(word.parameter, 0, kMaxFallbackCount);
      state_.fallbackCount = static_cast<int>(count);
      return;
    }
    if (std::ranges::find(kSkippedDestinations, word.name) != std::end(kSkippedDestinations)) {
      state_.skipped = true;
      return;
    }
    const auto character = std::ranges::find(kCharacterWords, word.name, &TCharacterWord::name);
    if (character != std::end(kCharacterWords)) Emit(character->text);
    // Every other word only formats, and formatting is what we leave out.
  }

  void ApplyControlSymbol(char symbol) {
    switch (symbol) {
      case '\\':
      case '{':
      case '}': Emit(std::string_view(&doc_[pos_ - 1], 1)); break;
      case '\'': ReadHexByte(); break;
      case '~': Emit("\xA0"); break;  // non-breaking space
      case '_': Emit("-"); break;     // non-breaking hyphen
      case '*': state_.skipped = true; break;
      case '\r':
      case '\n': Emit("\r\n"); break;  // a backslash before a line end is \par
      default: break;                  // optional hyphens and unknown symbols
    }
  }

  void ReadHexByte() {
    int value = 0;
    int digits = 0;
    while (digits < 2 && pos_ < doc_.size() && HexValue(doc_[pos_]) >= 0) {
      value = value * 16 + HexValue(doc_[pos_++]);
      ++digits;
    }
    if (digits == 2) {
      const char byte = static_cast<char>(value);
      Emit(std::string_view(&byte, 1));
    }
  }

  // Binary data is never text, and may hold braces and backslashes of its own.
  void SkipBinary(const TControlWord& word) {
    const auto length = static_cast<std::size_t>(std::max<long long>(word.parameter, 0));
    pos_ += std::min(length, doc_.size() - pos_);
  }

  // The fallback is already in the document's code page, so keeping it keeps
  // the text in one encoding. An ASCII character is the same in every code
  // page and is written itself, its fallback skipped; with no fallback there
  // is nothing else to show than the character as UTF-8.
  void ReadUnicode(const TControlWord& word) {
    long long code = word.parameter;
    if (code < 0) code += 65536;
    if (code < 0 || code > 0xFFFF) return;
    pendingFallback_ = 0;
    if (state_.fallbackCount == 0) return EmitUtf8(code);
    FlushHighSurrogate();
    if (code < 0x80) {
      Emit(std::string(1, static_cast<char>(code)));
      pendingFallback_ = state_.fallbackCount;
    }
  }

  // A character beyond the first 65536 comes as two \u words, its surrogates.
  void EmitUtf8(long long code) {
    if (highSurrogate_ != 0 && IsLowSurrogate(code)) {
      const long long high = std::exchange(highSurrogate_, 0);
      return EmitCode(0x10000 + ((high - 0xD800) << 10) + (code - 0xDC00));
    }
    FlushHighSurrogate();
    if (IsHighSurrogate(code)) {
      highSurrogate_ = code;
    } else {
      EmitCode(IsLowSurrogate(code) ? kReplacement : code);
    }
  }

  // A high half that no low half followed stands for a lost character.
  void FlushHighSurrogate() {
    if (std::exchange(highSurrogate_, 0) != 0) EmitCode(kReplacement);
  }

  void EmitCode(long long code) {
    std::string utf8;
    AppendUtf8(utf8, static_cast<std::uint32_t>(code));
    Emit(utf8);
  }

  void Emit(std::string_view text) {
    FlushHighSurrogate();
    if (pendingFallback_ > 0) {
      --pendingFallback_;
      return;
    }
    if (!state_.skipped) out_.append(text);
  }

  std::string_view doc_;
  std::size_t pos_ = 0;
  std::string out_;
  TGroupState state_;
  std::vector<TGroupState> saved_;
  std::size_t unsavedDepth_ = 0;
  int pendingFallback_ = 0;
  long long highSurrogate_ = 0;  // waiting for its low half
};

}  // namespace

std::string RichTextToPlainText(std::string_view document) {
  return TRichTextReader(document).Read();
}

}  // namespace kelvora
