#include "grid/textio/html_export.h"

#include <algorithm>

#include "grid/cell_grid_error.h"
#include "toolkit/exceptions.h"
#include "toolkit/html_text.h"
#include "toolkit/text_file.h"

namespace kelvora {
namespace {

constexpr std::size_t kBlockBytes = std::size_t{256} << 10;

std::string DocumentStart(const THtmlTable& table) {
  return "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\"/>\n<title>Grid</title>\n<style>\n"
         "td{background-color:" + HtmlColor(table.CellBackground) + ";color:" + HtmlColor(table.CellColor) +
         "}\nth{background-color:" + HtmlColor(table.HeaderBackground) + ";color:" + HtmlColor(table.HeaderColor) +
         ";font-weight:normal;text-align:left}\n</style>\n</head>\n<body>\n<table style=\"width:" +
         std::to_string(std::clamp(table.WidthPercent, 0, 100)) + "%;border-collapse:collapse\" border=\"1\">\n";
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

void AppendCell(std::string& out, const THtmlCell& cell) {
  const char* element = cell.Header ? "th" : "td";
  out += '<';
  out += element;
  const std::string style = CellStyle(cell);
  if (!style.empty()) out += " style=\"" + style + "\"";
  out += '>';
  out += cell.Body;
  out += "</";
  out += element;
  out += '>';
}

// Rows go out through `flush` whenever the text grows past a block.
template <typename Flush>
void AppendRows(std::string& out, THtmlCellSource& source, const THtmlTable& block, Flush flush) {
  THtmlCell cell;
  for (int row = block.FirstRow; row <= block.LastRow; ++row) {
    out += "<tr>";
    for (int col = block.FirstCol; col <= block.LastCol; ++col) {
      cell = THtmlCell();
      source.Cell(col, row, cell);
      AppendCell(out, cell);
    }
    out += "</tr>\n";
    if (out.size() >= kBlockBytes) flush(out);
  }
}

}  // namespace

std::string HtmlDocument(THtmlCellSource& source, const THtmlTable& table) {
  std::string out = DocumentStart(table);
  AppendRows(out, source, table, [](std::string&) {});
  out += kDocumentEnd;
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
  std::string out = DocumentStart(table);
  out.reserve(kBlockBytes + 4096);
  AppendRows(out, source, table, [&](std::string& text) {
    file.Write(text);
    text.clear();
  });
  out += kDocumentEnd;
  file.Write(out);
  file.Close();
}

}  // namespace kelvora
