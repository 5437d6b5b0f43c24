#include "grid/textio/tab_separated.h"

#include <algorithm>

namespace kelvora {
namespace {

bool NeedsQuotes(std::string_view cell) { return cell.find_first_of("\t\r\n\"") != std::string_view::npos; }

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

// The position after the line break at `at`.
std::size_t SkipLineBreak(std::string_view text, std::size_t at) {
  if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') return at + 2;
  return at + 1;
}

}  // namespace

void AppendTabField(std::string& out, std::string_view cell) {
  if (!NeedsQuotes(cell)) {
    out.append(cell);
    return;
  }
  out.push_back('"');
  for (char c : cell) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  out.push_back('"');
}

bool TTabReader::Next(TTabField& field) {
  if (!fieldAhead_) return false;
  const std::size_t start = pos_;
  if (start >= text_.size() || text_[start] != '"' || !ReadQuoted(start)) ReadPlain(start);
  field.Row = row_;
  field.Col = col_;
  field.Text = current_;
  EndField();
  return true;
}

void TTabReader::ReadPlain(std::size_t start) {
  std::size_t end = start;
  while (end < text_.size() && text_[end] != '\t' && !IsLineBreak(text_[end])) ++end;
  current_ = text_.substr(start, end - start);
  pos_ = end;
}

// Doubled quotes stand for one. Answers false, reading nothing, when no
// quote closes the cell. Only the first such quote can scan to the end: in
// what follows it, every quote stands in a run of doubled ones, and a cell
// that opens inside such a run closes at its end.
bool TTabReader::ReadQuoted(std::size_t start) {
  buffer_.clear();
  std::size_t at = start + 1;
  while (true) {
    const std::size_t quote = text_.find('"', at);
    if (quote == std::string_view::npos) return false;
    buffer_.append(text_.substr(at, quote - at));
    if (quote + 1 < text_.size() && text_[quote + 1] == '"') {
      buffer_.push_back('"');
      at = quote + 2;
      continue;
    }
    at = quote + 1;
    break;
  }
  std::size_t end = at;
  while (end < text_.size() && text_[end] != '\t' && !IsLineBreak(text_[end])) ++end;
  buffer_.append(text_.substr(at, end - at));
  current_ = buffer_;
  pos_ = end;
  return true;
}

// A tab starts the next cell of the row, even an empty one at the very end;
// a line break starts the next row unless it ends the text.
void TTabReader::EndField() {
  if (pos_ >= text_.size()) {
    fieldAhead_ = false;
    return;
  }
  if (text_[pos_] == '\t') {
    ++pos_;
    ++col_;
    return;
  }
  pos_ = SkipLineBreak(text_, pos_);
  ++row_;
  col_ = 0;
  fieldAhead_ = pos_ < text_.size();
}

TTabShape MeasureTabText(std::string_view text) {
  TTabShape shape;
  TTabReader reader(text);
  TTabField field;
  while (reader.Next(field)) {
    shape.Rows = std::max(shape.Rows, field.Row + 1);
    shape.Cols = std::max(shape.Cols, field.Col + 1);
  }
  return shape;
}

}  // namespace kelvora
