#include <QMimeData>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextTable>
#include <QXmlStreamReader>

#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "cell_grid_test_support.h"

namespace kelvora {
namespace {

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every element and attribute name in a page's tags, which are all that
// "<" can start there since texts are escaped.
struct TPageNames {
  std::set<QString> elements;
  std::set<QString> attributes;
  std::vector<QString> hrefs;
};

TPageNames NamesOf(const std::string& page) {
  TPageNames names;
  static const QRegularExpression tag("<([A-Za-z][A-Za-z0-9]*)([^>]*)>");
  static const QRegularExpression attribute("([A-Za-z-]+)=\"([^\"]*)\"");
  for (const auto& found : tag.globalMatch(QString::fromStdString(page))) {
    names.elements.insert(found.captured(1));
    for (const auto& pair : attribute.globalMatch(found.captured(2))) {
      names.attributes.insert(pair.captured(1));
      if (pair.captured(1) == "href") names.hrefs.push_back(pair.captured(2));
    }
  }
  return names;
}

bool IsWellFormedXml(const QString& page) {
  QXmlStreamReader xml(page);
  while (!xml.atEnd()) xml.readNext();
  return !xml.hasError();
}

// The cells of the page's table as a browser-like reader finds them.
std::vector<QStringList> TableCells(const std::string& page) {
  QTextDocument document;
  document.setHtml(QString::fromStdString(page));
  std::vector<QStringList> rows;
  for (QTextFrame* frame : document.rootFrame()->childFrames()) {
    const auto* table = qobject_cast<QTextTable*>(frame);
    if (!table) continue;
    for (int row = 0; row < table->rows(); ++row) {
      QStringList cells;
      for (int col = 0; col < table->columns(); ++col) {
        const QTextTableCell cell = table->cellAt(row, col);
        QTextCursor cursor = cell.firstCursorPosition();
        cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
        cells << cursor.selectedText();
      }
      rows.push_back(cells);
    }
  }
  return rows;
}

class CellGridHtml : public ::testing::Test {
 protected:
  std::string Exported() {
    const std::string path = dir_.filePath("grid.html").toStdString();
    grid.WriteHtmlFile(path);
    return ReadBytes(path);
  }

  TCellGrid grid;
  QTemporaryDir dir_;
};

// The page parses back as the same table: a fixed row of header cells, the
// text escaped, a line break kept, the width from HTMLSettings. The file
// leaves out the end tags that HTML lets a table leave out.
TEST_F(CellGridHtml, ExportsTheGridAsATable) {
  grid.SetColCount(2);
  grid.SetRowCount(3);
  grid.SetFixedCols(0);
  grid.SetCells(0, 0, "Day");
  grid.SetCells(1, 0, "Note");
  grid.SetCells(0, 1, "Mon");
  grid.SetCells(1, 1, "a < b & \"c\"");
  grid.SetCells(0, 2, "one\r\ntwo");
  grid.SetCells(1, 2, "caf\xE9");
  grid.HTMLSettings().Width = 80;
  const std::string page = Exported();
  EXPECT_TRUE(page.starts_with("<!DOCTYPE html>"));
  EXPECT_NE(page.find("width:80%"), std::string::npos);
  EXPECT_NE(page.find("<tr><th>Day<th>Note</tr>\n<tr><td>Mon<td>a &lt; b"), std::string::npos) << page;
  EXPECT_EQ(TableCells(page), (std::vector<QStringList>{{"Day", "Note"},
                                                        {"Mon", "a < b & \"c\""},
                                                        {QString("one\u2028two"), "caf\u00E9"}}));
}

// Cells that nothing gives a look of their own are written from the stored
// texts without asking for each cell; hooks that change nothing make the
// export ask, and the page must not change by it.
TEST_F(CellGridHtml, PlainCellsComeOutAsAskedForCellsDo) {
  const char* texts[] = {"Mon", "", "a<b", "x&y", "\"q\"", "it's", "\x7F", "tab\there", "caf\xC3\xA9",
                         "1234567", "12345678", "<B>b</B>", "=1+2", "one\ntwo", "a>b", "x\x01y"};
  grid.SetColCount(5);
  grid.SetRowCount(4);
  grid.SetFixedCols(0);
  grid.SetFixedRows(0);
  for (int i = 0; i < static_cast<int>(std::size(texts)); ++i) grid.SetCells(i % 5, i / 5, texts[i]);
  grid.SetCellColor(2, 3, clRed);
  const std::string plain = Exported();
  grid.OnGetAlignment = [](TObject*, int, int, TAlignment&) {};
  EXPECT_EQ(plain, Exported());
  EXPECT_EQ(plain.find('\x7F'), std::string::npos) << "a control character HTML forbids";
  EXPECT_NE(plain.find("<tr><td>Mon<td><td>a&lt;b<td>x&amp;y<td>&quot;q&quot;</tr>"), std::string::npos) << plain;
}

// Each of these gives some cell a look of its own, which the page keeps.
TEST_F(CellGridHtml, CellsWithALookOfTheirOwnKeepIt) {
  const struct {
    const char* name;
    std::function<void(TCellGrid&)> set;
    const char* expected;
  } cases[] = {
      {"own colour", [](TCellGrid& g) { g.SetCellColor(1, 1, clRed); }, "<td style=\"background-color:#ff0000;\">d<td>8"},
      {"bands", [](TCellGrid& g) {
         g.Bands().SetPrimaryColor(clLime);
         g.Bands().SetActive(true);
       }, "<td style=\"background-color:#00ff00;\">a"},
      {"numbers", [](TCellGrid& g) { g.SetAutoNumAlign(true); }, "<td style=\"text-align:right;\">7"},
      {"bold font", [](TCellGrid& g) {
         TFont font = g.Font();
         font.Style.insert(fsBold);
         g.SetFont(font);
       }, "<td style=\"font-weight:bold;\">a"},
      {"fixed row", [](TCellGrid& g) { g.SetFixedRows(1); }, "<tr><th>a<th>b<th>7</tr>"},
      {"fixed column", [](TCellGrid& g) { g.SetFixedCols(1); }, "<tr><th>a<td>b<td>7</tr>"},
      {"footer", [](TCellGrid& g) { g.SetFixedFooters(1); }, "<tr><th>c<th>d<th>8</tr>"},
      {"right fixed", [](TCellGrid& g) { g.SetFixedRightCols(1); }, "<tr><td>a<td>b<th>7</tr>"},
      {"hidden column", [](TCellGrid& g) { g.HideColumn(1); }, "<tr><td>a<td>7</tr>"},
  };
  for (const auto& c : cases) {
    TCellGrid g;
    g.SetColCount(3);
    g.SetRowCount(2);
    g.SetFixedCols(0);
    g.SetFixedRows(0);
    for (int col = 0; col < 3; ++col) {
      g.SetCells(col, 0, std::string(1, "ab7"[col]));
      g.SetCells(col, 1, std::string(1, "cd8"[col]));
    }
    c.set(g);
    const std::string path = dir_.filePath("look.html").toStdString();
    g.WriteHtmlFile(path);
    EXPECT_NE(ReadBytes(path).find(c.expected), std::string::npos) << c.name << "\n" << ReadBytes(path);
  }
}

// Colours and font style from the cell-colour hook, alignment from its own
// hook; cells without a colour of their own carry none.
TEST_F(CellGridHtml, CellsCarryTheirHooksColoursStyleAndAlignment) {
  grid.SetColCount(2);
  grid.SetRowCount(2);
  grid.SetFixedCols(0);
  grid.SetFixedRows(0);
  grid.SetCells(1, 1, "x");
  grid.OnGetCellColor = [](TObject*, int row, int col, TGridDrawState, TBrush& brush, TFont& font) {
    if (row != 1 || col != 1) return;
    brush.Color = clRed;
    font.Color = clBlue;
    font.Style.insert(fsBold);
  };
  grid.OnGetAlignment = [](TObject*, int row, int col, TAlignment& alignment) {
    if (row == 1 && col == 1) alignment = taCenter;
  };
  const std::string page = Exported();
  EXPECT_NE(page.find("<td style=\"background-color:#ff0000;color:#0000ff;font-weight:bold;text-align:center;\">x</tr>"),
            std::string::npos)
      << page;
  EXPECT_NE(page.find("<tr><td><td></tr>"), std::string::npos);
}

// Hostile mark-up comes out as the mark-up's own tags only: no element but
// the formatting ones, no attribute but a safe link and a rebuilt style.
TEST_F(CellGridHtml, MarkupIsSanitised) {
  const char* hostile[] = {
      "<B>bold</B><script>alert(1)</script>",
      "<A href=\"javascript:alert(1)\">x</A>",
      "<A href=\"JaVaScRiPt:alert(1)\">x</A><A href=\"http://ok.example/\">ok</A>",
      "<A href=\"https://e.example/\" onclick=\"alert(1)\">y</A>",
      "<FONT color=\"clRed\" face=\"x';background:url(evil)\" onload=\"x\">f</FONT>",
      "<FONT color=\"#00ff00\" size=\"999999\">f</FONT><I>open",
      "<IMG src=\"file:///etc/passwd\"><B><I>crossed</B></I>",
      "<P><UL><LI>item</UL></P><iframe src=\"http://x\"></iframe>",
      "<A href=\"mailto:a@b.example\">&lt;script&gt;</A><Z>hidden</Z><BR><HR>",
  };
  grid.SetColCount(1);
  grid.SetRowCount(static_cast<int>(std::size(hostile)));
  grid.SetFixedCols(0);
  grid.SetFixedRows(0);
  for (int row = 0; row < static_cast<int>(std::size(hostile)); ++row) grid.SetCells(0, row, hostile[row]);
  const std::string page = Exported();
  const TPageNames names = NamesOf(page);
  const std::set<QString> allowedElements = {"html", "head", "meta", "title", "style", "body", "table", "tr",
                                             "td",   "b",    "i",    "u",     "s",     "sub",  "sup",   "p",
                                             "ul",   "li",   "span", "a",     "br",    "hr"};
  for (const QString& element : names.elements) EXPECT_TRUE(allowedElements.count(element)) << element.toStdString();
  const std::set<QString> allowedAttributes = {"charset", "style", "href"};
  for (const QString& attribute : names.attributes)
    EXPECT_TRUE(allowedAttributes.count(attribute)) << attribute.toStdString();
  EXPECT_EQ(names.hrefs, (std::vector<QString>{"http://ok.example/", "https://e.example/", "mailto:a@b.example"}));
  EXPECT_EQ(page.find("url("), std::string::npos);
  EXPECT_EQ(page.find("hidden"), std::string::npos);
  EXPECT_NE(page.find("color:#ff0000;"), std::string::npos);
  EXPECT_NE(page.find("font-size:72pt;"), std::string::npos);
  EXPECT_NE(page.find("&lt;script&gt;"), std::string::npos);
}

TEST_F(CellGridHtml, AFileThatCannotBeMadeIsAnErrorAndLeavesNothing) {
  const std::string path = dir_.filePath("missing/grid.html").toStdString();
  EXPECT_THROW(grid.WriteHtmlFile(path), ECellGridError);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
}

// A copy offers the table as HTML beside the tab-separated text; the
// mark-up keeps its tags there only with CopyHTMLTagsToClipboard.
TEST_F(CellGridHtml, ACopyOffersHtmlBesideTheText) {
  grid.SetColCount(2);
  grid.SetRowCount(2);
  grid.SetFixedCols(0);
  grid.SetFixedRows(0);
  grid.SetCells(0, 0, "<B>big</B>");
  grid.SetCells(1, 0, "plain");
  grid.SetSelection({0, 0, 1, 0});
  for (const bool tags : {true, false}) {
    grid.Navigation().CopyHTMLTagsToClipboard = tags;
    grid.CopySelectionToClipboard();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(data->hasHtml() && data->hasText());
    EXPECT_TRUE(IsWellFormedXml(data->html()));
    EXPECT_EQ(data->text(), tags ? "<B>big</B>\tplain" : "big\tplain");
    EXPECT_EQ(data->html().contains("<td><b>big</b></td><td>plain</td>"), tags);
    EXPECT_EQ(data->html().contains("<td>big</td><td>plain</td>"), !tags);
  }
  QGuiApplication::clipboard()->clear();
}

}  // namespace
}  // namespace kelvora
