#include "grid/textio/csv_field_reader.h"

#include <algorithm>
#include <cstring>

#include "toolkit/byte_text.h"

namespace kelvora {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

const char* Find(std::string_view bytes, std::size_t from, char c) {
  if (from >= bytes.size()) return nullptr;
  return static_cast<const char*>(std::memchr(bytes.data() + from, c, bytes.size() - from));
}

bool HasHighByte(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

}  // namespace

// A delimiter that is itself a quote leaves nothing to quote with.
TCsvFieldReader::TCsvFieldReader(const TCsvReadRules& rules, const TCsvReadLimits& limits, TCsvCellSink& sink)
    : rules_(rules),
      limits_(limits),
      quoting_(!rules.CaretTildeEncoding && rules.Delimiter != '"'),
      decodes_(rules.CaretTildeEncoding || rules.OemConvert),
      sink_(sink) {
  if (rules.Delimiter == '\n' || rules.Delimiter == '\r')
    throw TCsvFormatError(1, "a line break cannot be read as the delimiter");
}

// The byte-order mark may come a byte at a time: the first bytes wait until
// they are known to be, or not to be, the mark.
void TCsvFieldReader::Feed(std::string_view bytes) {
  if (started_) return FeedText(bytes);
  head_.append(bytes);
  if (head_.size() < kByteOrderMark.size() && kByteOrderMark.starts_with(head_)) return;
  StartText();
}

void TCsvFieldReader::StartText() {
  started_ = true;
  const std::string head = std::move(head_);
  std::string_view text = head;
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  FeedText(text);
}

// The bytes before a NUL are read first, so that an error they hold is the
// one told, and the NUL's line is known, however the text came in blocks.
void TCsvFieldReader::FeedText(std::string_view bytes) {
  const char* nul = Find(bytes, 0, '\0');
  if (nul) bytes = bytes.substr(0, static_cast<std::size_t>(nul - bytes.data()));
  std::size_t pos = 0;
  while (pos < bytes.size()) pos = state_ == TState::FieldStart && col_ == 0 ? ReadLines(bytes, pos) : ReadBytes(bytes, pos);
  if (nul) Fail(line_, "it holds a NUL byte, so it is no text file");
}

void TCsvFieldReader::Finish() {
  if (!started_) StartText();
  switch (state_) {
    case TState::FieldStart:
      if (col_ == 0) return;  // the text ended with its line end, or was empty
      break;
    case TState::Quoted: Fail(quoteLine_, "a quote opened here is never closed");
    case TState::UnquotedCr: field_ += '\r'; break;
    default: break;
  }
  EndField();
  EndRecord();
}

// The usual record: a whole line in the block without a quote in it, split
// where the delimiters are. Anything else goes byte by byte.
std::size_t TCsvFieldReader::ReadLines(std::string_view bytes, std::size_t pos) {
  while (const char* end = Find(bytes, pos, '\n')) {
    const std::string_view line = bytes.substr(pos, static_cast<std::size_t>(end - bytes.data()) - pos);
    if (quoting_ && std::memchr(line.data(), '"', line.size())) return ReadBytes(bytes, pos);
    ReadLine(line);
    ++line_;
    pos += line.size() + 1;
  }
  return pos < bytes.size() ? ReadBytes(bytes, pos) : pos;
}

// Fields are a few bytes each, fewer than a library search takes to start:
// a plain scan finds the delimiters.
void TCsvFieldReader::ReadLine(std::string_view line) {
  if (line.ends_with('\r')) line.remove_suffix(1);
  const char delimiter = rules_.Delimiter;
  const char* from = line.data();
  const char* const end = from + line.size();
  for (const char* at = from; at != end; ++at) {
    if (*at != delimiter) continue;
    Emit({from, at});
    from = at + 1;
  }
  // A line that ends in a delimiter has one more, empty field.
  Emit({from, end});
  EndRecord();
}

// Byte by byte until the record ends, or the block does.
std::size_t TCsvFieldReader::ReadBytes(std::string_view bytes, std::size_t pos) {
  while (pos < bytes.size()) {
    const char c = bytes[pos++];
    Step(c);
    if (c == '\n') ++line_;
    if (state_ == TState::FieldStart && col_ == 0) break;
  }
  return pos;
}

void TCsvFieldReader::Step(char c) {
  switch (state_) {
    case TState::FieldStart:
      if (quoting_ && c == '"') {
        state_ = TState::Quoted;
        quoteLine_ = line_;
        return;
      }
      state_ = TState::Unquoted;
      [[fallthrough]];
    case TState::Unquoted:
      if (c == rules_.Delimiter) return EndField();
      if (c == '\n') return EndField(), EndRecord();
      if (c == '\r') state_ = TState::UnquotedCr;
      else Append(c);
      return;
    case TState::UnquotedCr:
      if (c == '\n') return EndField(), EndRecord();
      Append('\r');
      state_ = TState::Unquoted;
      return Step(c);
    case TState::Quoted: return StepQuoted(c);
    case TState::QuotedQuote:
    case TState::QuotedQuoteCr: return StepAfterQuote(c);
  }
}

void TCsvFieldReader::StepQuoted(char c) {
  if (c == '"') state_ = TState::QuotedQuote;
  else if (c == '\n') AppendLineFeedInQuotes();
  else Append(c);
}

// What follows a quote inside quotes decides what the quote was.
void TCsvFieldReader::StepAfterQuote(char c) {
  if (state_ == TState::QuotedQuoteCr) {
    if (c == '\n') return EndField(), EndRecord();
    Append('"');
    Append('\r');
    state_ = TState::Quoted;
    return StepQuoted(c);
  }
  if (c == '"') {
    Append('"');
    state_ = TState::Quoted;
  } else if (c == rules_.Delimiter) {
    EndField();
  } else if (c == '\n') {
    EndField(), EndRecord();
  } else if (c == '\r') {
    state_ = TState::QuotedQuoteCr;
  } else {
    Append('"');
    state_ = TState::Quoted;
    StepQuoted(c);
  }
}

void TCsvFieldReader::Append(char c) {
  if (field_.size() >= limits_.MaxFieldBytes)
    Fail(line_, "a cell is longer than " + std::to_string(limits_.MaxFieldBytes >> 20) + " MiB");
  field_ += c;
}

void TCsvFieldReader::AppendLineFeedInQuotes() {
  if (!field_.ends_with('\r')) Append('\r');
  Append('\n');
}

void TCsvFieldReader::EndField() {
  Emit(field_);
  field_.clear();
  state_ = TState::FieldStart;
}

void TCsvFieldReader::EndRecord() {
  widest_ = std::max(widest_, col_);
  sink_.RowEnded(row_, col_);
  ++row_;
  col_ = 0;
  state_ = TState::FieldStart;
}

void TCsvFieldReader::Emit(std::string_view field) {
  if (row_ >= limits_.MaxRows) Fail(line_, "the file has more rows than the grid can hold");
  if (col_ >= limits_.MaxCols)
    Fail(line_, "a row has more than " + std::to_string(limits_.MaxCols) + " cells");
  if (field.size() > limits_.MaxFieldBytes)
    Fail(line_, "a cell is longer than " + std::to_string(limits_.MaxFieldBytes >> 20) + " MiB");
  const std::string_view text = decodes_ ? Decoded(field) : field;
  if (!text.empty()) sink_.Cell(col_, row_, text);
  ++col_;
}

// The caret-tilde markers and the OEM code page, undone.
std::string_view TCsvFieldReader::Decoded(std::string_view field) {
  if (rules_.CaretTildeEncoding) {
    if (field == "^") return {};
    if (rules_.Multilinecells && field.find('~') != std::string_view::npos) {
      lineBreaks_.clear();
      for (char c : field) c == '~' ? lineBreaks_.append("\r\n") : lineBreaks_.append(1, c);
      field = lineBreaks_;
    }
  }
  if (!rules_.OemConvert || !HasHighByte(field)) return field;
  decoded_.clear();
  for (char c : field) AppendUtf8(decoded_, CodePageCharacter(850, static_cast<unsigned char>(c)));
  return decoded_;
}

void TCsvFieldReader::Fail(std::int64_t line, const std::string& what) const { throw TCsvFormatError(line, what); }

}  // namespace kelvora
