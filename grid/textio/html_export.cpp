#include "grid/textio/html_export.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "grid/cell_grid_error.h"
#include "grid/store/packed_text.h"
#include "grid/textio/byte_block.h"
#include "grid/textio/word_bytes.h"
#include "toolkit/exceptions.h"
#include "toolkit/html_text.h"
#include "toolkit/text_file.h"

namespace kelvora {
namespace {

std::string DocumentStart(const THtmlTable& table) {
  return "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\"/>\n<title>Grid</title>\n<style>\n"
         "td{background-color:" + HtmlColor(table.CellBackground) + ";color:" + HtmlColor(table.CellColor) +
         "}\nth{background-color:" + HtmlColor(table.HeaderBackground) + ";color:" + HtmlColor(table.HeaderColor) +
         ";font-weight:normal;text-align:left}\ntd,th{border:1px solid #a0a0a0}\n</style>\n</head>\n<body>\n"
         "<table style=\"width:" + std::to_string(std::clamp(table.WidthPercent, 0, 100)) +
         "%;border-collapse:collapse\">\n";
}

constexpr std::string_view kDocumentEnd = "</table>\n</body>\n</html>\n";

std::string CellStyle(const THtmlCell& cell) {
  std::string style;
  if (cell.Background != clNone && cell.Background != clDefault)
    style += "background-color:" + HtmlColor(cell.Background) + ";";
  if (cell.FontColor != clNone && cell.FontColor != clDefault) style += "color:" + HtmlColor(cell.FontColor) + ";";
  if (cell.Style.contains(fsBold)) style += "font-weight:bold;";
  if (cell.Style.contains(fsItalic)) style += "font-style:italic;";
  if (cell.Style.contains(fsUnderline) || cell.Style.contains(fsStrikeOut)) {
    style += "text-decoration:";
    if (cell.Style.contains(fsUnderline)) style += " underline";
    if (cell.Style.contains(fsStrikeOut)) style += " line-through";
    style += ";";
  }
  if (cell.Align == haRight) style += "text-align:right;";
  if (cell.Align == haCenter) style += "text-align:center;";
  return style;
}

void AppendCell(std::string& out, const THtmlCell& cell, bool endTag) {
  const char* element = cell.Header ? "th" : "td";
  out += '<';
  out += element;
  const std::string style = CellStyle(cell);
  if (!style.empty()) out += " style=\"" + style + "\"";
  out += '>';
  out += cell.Body;
  if (!endTag) return;
  out += "</";
  out += element;
  out += '>';
}

// Whether a short text (its n bytes in a word) goes out as it is: ASCII
// without a control character or a byte that HTML escapes. The bytes past
// the text become spaces, which pass. Each term marks the high bit of some
// byte when a byte of its kind is there, and of none otherwise, except that
// carries and borrows, which start only at a byte that is marked anyway, may
// mark others too: so only whether any byte is marked is exact.
bool IsPlainHtmlWord(std::uint64_t text, std::size_t n) {
  const std::uint64_t pastText = ~((std::uint64_t{1} << (8 * n)) - 1);
  const std::uint64_t word = text | (pastText & Repeated(' '));
  const std::uint64_t marked = word                                          // 0x80 and above
                               | (word + kLowBits)                            // DEL
                               | ((word - Repeated(' ')) & ~word)             // controls
                               | ZeroBytes(word ^ Repeated('"'))              // a double quote
                               | ZeroBytes((word | kLowBits) ^ Repeated('\''))  // & and '
                               | ZeroBytes((word & ~Repeated('\x02')) ^ Repeated('<'));  // < and >
  return (marked & kHighBits) == 0;
}

// The rows of a table as HTML, a block at a time. A run of plain cells is
// written straight from the packed texts; any other cell is asked for whole.
class THtmlRows {
 public:
  THtmlRows(THtmlCellSource& source, const THtmlTable& table) : source_(source), table_(table) {}

  void AddRow(int row) {
    block_.Append("<tr>");
    for (int from = table_.FirstCol; from <= table_.LastCol; from += kChunk) {
      const int to = from + std::min(table_.LastCol - from, kChunk - 1);
      if (PlainTexts(row, from, to)) {
        AddPlainCells(row, from, to - from + 1);
        continue;
      }
      for (int col = from; col <= to; ++col) AddCell(col, row);
    }
    block_.Append("</tr>\n");
  }

  // Every row of the table and the document's end, handed to `write` a
  // block at a time.
  template <typename Write>
  void AddAll(Write write) {
    for (int row = table_.FirstRow; row <= table_.LastRow; ++row) {
      AddRow(row);
      if (block_.Size() < kBlockBytes) continue;
      write(block_.View());
      block_.Clear();
    }
    block_.Append(kDocumentEnd);
    write(block_.View());
  }

 private:
  static constexpr std::size_t kBlockBytes = std::size_t{256} << 10;
  static constexpr int kChunk = THtmlCellSource::kRowChunk;
  // "<td>", at most 7 bytes of text (stored as a word of 8) and "</td>".
  static constexpr std::size_t kPlainCellRoom = 4 + 8 + 5;

  bool PlainTexts(int row, int from, int to) {
    if constexpr (std::endian::native != std::endian::little) return false;
    return source_.RowPlainTexts(row, from, to, packed_);
  }

  // The end of the block is kept in a local between cells: through the
  // block's own size every cell would wait on the one before.
  void AddPlainCells(int row, int firstCol, int count) {
    block_.Reserve(kPlainCellRoom * static_cast<std::size_t>(count));
    char* end = block_.End();
    for (int i = 0; i < count; ++i) {
      const std::size_t n = TPackedText::Length(packed_[i]);
      const std::uint64_t text = TPackedText::Bytes(packed_[i]);
      if (!IsPlainHtmlWord(text, n)) {
        block_.MoveEnd(end);
        AddCell(firstCol + i, row);
        block_.Reserve(kPlainCellRoom * static_cast<std::size_t>(count - i));
        end = block_.End();
        continue;
      }
      std::memcpy(end, "<td>", 4);
      std::memcpy(end + 4, &text, sizeof text);
      end += 4 + n;
      if (table_.EndTags) {
        std::memcpy(end, "</td>", 5);
        end += 5;
      }
    }
    block_.MoveEnd(end);
  }

  void AddCell(int col, int row) {
    cell_ = THtmlCell();
    source_.Cell(col, row, cell_);
    text_.clear();
    AppendCell(text_, cell_, table_.EndTags);
    block_.Append(text_);
  }

  THtmlCellSource& source_;
  const THtmlTable& table_;
  TByteBlock block_{kBlockBytes + 4096};
  std::uint64_t packed_[kChunk];
  THtmlCell cell_;
  std::string text_;
};

}  // namespace

bool THtmlCellSource::RowPlainTexts(int, int, int, std::uint64_t*) { return false; }

std::string HtmlDocument(THtmlCellSource& source, const THtmlTable& table) {
  std::string out = DocumentStart(table);
  THtmlRows(source, table).AddAll([&](std::string_view text) { out += text; });
  return out;
}

void WriteHtmlFile(THtmlCellSource& source, const THtmlTable& table, const std::string& fileName) {
  TTextWriter file;
  try {
    file.AssignFile(fileName);
    file.RewriteReplacing();
  } catch (const EInOutError&) {
    throw ECellGridError("Cannot create file " + fileName);
  }
  file.Write(DocumentStart(table));
  THtmlRows(source, table).AddAll([&](std::string_view text) { file.Write(text); });
  file.Close();
}

}  // namespace kelvora
