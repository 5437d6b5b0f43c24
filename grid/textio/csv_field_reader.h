#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kelvora {

// How delimited text is read back: the writer's own settings, so that a
// file comes back as the grid that wrote it.
struct TCsvReadRules {
  char Delimiter = ',';
  // "^" is an empty cell and quotes are plain characters; with
  // Multilinecells a "~" is a line break.
  bool CaretTildeEncoding = false;
  bool Multilinecells = false;
  // The file's bytes are code page 850 and become UTF-8.
  bool OemConvert = false;
};

// What a file may hold before the read stops: a text that is no table the
// grid can hold (a device of endless bytes, one giant line) ends in an error
// instead of in all the machine's memory.
struct TCsvReadLimits {
  std::int64_t MaxRows = std::int64_t{1} << 31;
  std::int64_t MaxCols = 65536;
  std::size_t MaxFieldBytes = std::size_t{16} << 20;
};

// A text that cannot be read as a table; Line counts from 1.
class TCsvFormatError : public std::runtime_error {
 public:
  TCsvFormatError(std::int64_t line, const std::string& what) : std::runtime_error(what), line_(line) {}
  std::int64_t Line() const { return line_; }

 private:
  std::int64_t line_;
};

// Where the cells go, in file order. An empty cell is not handed on.
class TCsvCellSink {
 public:
  virtual ~TCsvCellSink() = default;
  virtual void Cell(std::int64_t col, std::int64_t row, std::string_view text) = 0;
  // The record of `row` is complete and held `cols` fields.
  virtual void RowEnded(std::int64_t row, std::int64_t cols) = 0;
};

// Reads delimited text as it comes, a block at a time; a record may span
// blocks, so nothing but the field being read is ever held.
//
// Records end at LF or CR LF; a lone CR is text. A UTF-8 byte-order mark at
// the start is dropped (so a first cell that itself began with those bytes
// loses them: the writer writes no mark). A field that begins with a double quote is quoted:
// inside it, two quotes are one quote (as spreadsheets write them), a quote
// followed by the delimiter or a line end closes it, and any other quote is
// kept as it stands (as the grid's own writer writes them, undoubled). A
// line feed inside quotes that has no carriage return before it becomes CR
// LF, the grid's own line break. With caret-tilde encoding nothing is quoted.
// A NUL byte is no text and an error, as is a quote left open at the end.
class TCsvFieldReader {
 public:
  TCsvFieldReader(const TCsvReadRules& rules, const TCsvReadLimits& limits, TCsvCellSink& sink);

  void Feed(std::string_view bytes);
  // The end of the text: a last record without a line end counts in full.
  void Finish();

  std::int64_t Rows() const { return row_; }
  std::int64_t Cols() const { return widest_; }
  // The line being read, from 1.
  std::int64_t Line() const { return line_; }

 private:
  enum class TState { FieldStart, Unquoted, UnquotedCr, Quoted, QuotedQuote, QuotedQuoteCr };

  void StartText();
  void FeedText(std::string_view bytes);
  std::size_t ReadLines(std::string_view bytes, std::size_t pos);
  void ReadLine(std::string_view line);
  std::size_t ReadBytes(std::string_view bytes, std::size_t pos);
  void Step(char c);
  void StepQuoted(char c);
  void StepAfterQuote(char c);
  void Append(char c);
  void AppendLineFeedInQuotes();
  void EndField();
  void EndRecord();
  void Emit(std::string_view field);
  std::string_view Decoded(std::string_view field);
  [[noreturn]] void Fail(std::int64_t line, const std::string& what) const;

  const TCsvReadRules rules_;
  const TCsvReadLimits limits_;
  const bool quoting_;
  const bool decodes_;  // a field may differ from its bytes
  TCsvCellSink& sink_;
  TState state_ = TState::FieldStart;
  std::string field_;
  std::string lineBreaks_;  // a caret-tilde field with its line breaks back
  std::string decoded_;     // a field out of code page 850
  std::int64_t row_ = 0;
  std::int64_t col_ = 0;
  std::int64_t widest_ = 0;
  std::int64_t line_ = 1;
  std::int64_t quoteLine_ = 0;
  bool started_ = false;
  std::string head_;  // the first bytes, until the byte-order mark is settled
};

}  // namespace kelvora
